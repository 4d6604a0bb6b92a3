#include "browser/library_reference.h"

namespace vantor {

LibraryReference parseLibraryReference(const QString& text) {
    LibraryReference reference;
    const qsizetype dot = text.lastIndexOf(u'.');
    if (dot < 0)
        return reference;
    reference.typeInfo = text.mid(dot + 1);
    const QString head = text.left(dot);
    const qsizetype colon = head.indexOf(u':');
    if (colon >= 0) {
        reference.guid = head.left(colon);
        reference.version = head.mid(colon + 1);
    }
    return reference;
}

QString formatLibraryReference(const LibraryReference& reference) {
    return reference.guid + u':' + reference.version + u'.' + reference.typeInfo;
}

QString catalogKey(const LibraryReference& reference) {
    return reference.guid + QStringLiteral(", ") + reference.version;
}

} // namespace vantor
