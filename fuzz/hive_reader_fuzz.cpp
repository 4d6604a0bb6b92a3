// The Wine hive reader on arbitrary bytes; whatever it accepts must also survive the writer and
// read back without a complaint.
#include "platform/registry/wine_hive_reader.h"
#include "platform/registry/wine_hive_writer.h"
#include "text/error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantor::registry;
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));
    Hive hive;
    ParseIssues issues;
    try {
        readWineHive(text, QStringLiteral("fuzz"), hive, hive.root(), issues);
    } catch (const vantor::Error&) {
        return 0;
    }
    const QByteArray written = writeWineHive(hive.root(), QStringLiteral("REGISTRY\\Machine"));
    Hive again;
    ParseIssues more;
    readWineHive(written, QStringLiteral("written"), again, again.root(), more);
    if (!more.empty())
        std::abort();
    return 0;
}
