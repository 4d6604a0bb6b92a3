// The objects of a compiled help file the window parses, as the reader process hands them over:
// the first byte picks the parser (/#SYSTEM, a contents or index sitemap, the context map, a
// page link), the rest is its input.
#include "help/chm_link.h"
#include "help/chm_objects.h"
#include "help/chm_text.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    using namespace vantor::help;
    switch (data[0] % 4) {
    case 0:
        parseSystem(input);
        break;
    case 1: {
        const std::optional<SystemInfo> info = parseSystem(input.left(40));
        parseSitemap(input, info ? info->lcid : 0x409, decodeHelpText);
        break;
    }
    case 2: {
        // The map's two objects, split where the first says its byte count ends.
        const qsizetype split = input.isEmpty() ? 0 : uchar(input[0]) % (input.size() + 1);
        parseContextMap(input.left(split), input.mid(split));
        break;
    }
    default: {
        const QString text = QString::fromUtf8(input);
        const qsizetype half = text.size() / 2;
        resolveLink(text.left(half), text.mid(half), QStringLiteral("/x/help.chm"));
        normalisePagePath(text);
        break;
    }
    }
    return 0;
}
