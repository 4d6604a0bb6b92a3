// fuzz-tli: the type library reader over arbitrary bytes (an MSFT library or a PE file), with
// stdole2 at hand so that dual interfaces inherit through an imported library.

#include "text/error.h"
#include "tli/library_set.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"

#include <cstddef>
#include <cstdint>

using namespace vantor;
using namespace vantor::tli;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LibrarySet* libraries = new LibrarySet(
        {QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb")}, QString());
    try {
        const TypeLib lib =
            readTypeLib(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                        std::nullopt, libraries, QStringLiteral("input"));
        dumpTypeLib(lib);
    } catch (const Error&) {
    }
    return 0;
}
