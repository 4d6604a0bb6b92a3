#include "catalog/catalog_lines.h"

#include "text/win1252.h"

#include <cstring>

namespace vantor {

CatalogLines splitCatalogLines(QByteArrayView bytes, CatalogKind kind,
                               const std::function<void(qint64)>& progress) {
    CatalogLines out;
    out.records.clear();
    const QString placeholder = QString::fromLatin1(
        kind == CatalogKind::TypeLib ? kTypeLibPlaceholder : kProgIdPlaceholder);
    const char* data = bytes.data();
    const char* end = data + bytes.size();
    // Records are rarely shorter than 40 bytes; reserving avoids most regrowth.
    out.records.reserve(bytes.size() / 40 + 1);
    qsizetype b = 0;
    qint32 n = 1;
    // An empty file may have no data pointer at all, which memchr must not be given.
    for (const char* cr = data;
         cr && cr < end && (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))); ++cr) {
        const qsizetype i = cr - data;
        if (n > 1)
            out.records.append(i - b > 2 ? win1252::decode(bytes.sliced(b, i - b)) : placeholder);
        ++n;
        b = i + 2;
        if (progress)
            progress(i);
    }
    out.records.append(QString());
    out.count = n - 1;
    return out;
}

} // namespace vantor
