// fuzz-sltg: the SLTG reader over arbitrary bytes, with stdole32 at hand for the imports of
// stdole 1.0 that SLTG libraries make; every model is dumped.

#include "text/error.h"
#include "tli/library_set.h"
#include "tli/sltg_reader.h"
#include "tli/tlb_dump.h"

#include <cstddef>
#include <cstdint>

using namespace vantor;
using namespace vantor::tli;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LibrarySet* libraries = new LibrarySet(
        {QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole32.tlb")}, QString());
    try {
        dumpTypeLib(readSltg(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)),
                             libraries));
    } catch (const Error&) {
    }
    return 0;
}
