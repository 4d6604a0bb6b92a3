#include "catalog/catalog_lines.h"

#include "catalog/get_token.h"
#include "text/error.h"
#include "text/win1252.h"

namespace vantor {
namespace {

// A type library record must at least yield its path field; one that does not is stored as the
// placeholder, keeping its place and index.
QString readableTypeLibLine(QString line) {
    try {
        GetToken(4, line);
        return line;
    } catch (const Error&) {
        return QString::fromLatin1(kTypeLibPlaceholder);
    }
}

} // namespace

CatalogLines splitCatalogLines(QByteArrayView bytes, CatalogKind kind,
                               const std::function<void(qint64)>& progress) {
    CatalogLines out;
    out.records.clear();
    const QString placeholder = QString::fromLatin1(
        kind == CatalogKind::TypeLib ? kTypeLibPlaceholder : kProgIdPlaceholder);
    qsizetype b = 0;
    qint32 n = 1;
    const char* data = bytes.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (data[i] != '\r')
            continue;
        if (n > 1) {
            QString line = i - b > 2 ? win1252::decode(bytes.sliced(b, i - b)) : placeholder;
            if (kind == CatalogKind::TypeLib && i - b > 2)
                line = readableTypeLibLine(std::move(line));
            out.records.append(std::move(line));
        }
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
