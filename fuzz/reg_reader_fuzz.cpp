// The .reg export reader on arbitrary bytes, in both encodings.
#include "platform/registry/reg_file_reader.h"
#include "text/error.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor::registry;
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    Hive hive;
    ParseIssues issues;
    try {
        readRegText(text, QStringLiteral("fuzz"), hive, issues);
    } catch (const vantor::Error&) {
    }
    return 0;
}
