#include "export/doc_files.h"

#include <QDir>

namespace vantor {

namespace {

// By DocOutput: the folder and the file name ending.
struct Place {
    const char* folder;
    const char* extension;
};
constexpr Place kPlaces[] = {
    {"LibDocs/Include/AutoComplete", ".txt"},
    {"LibDocs/Include/VBScript", ".Inc"},
    {"LibDocs/Include/JScript", ".Inc"},
    {"LibDocs/RichText", ".rtf"},
    {"LibDocs/HTML", ".html"},
    {"LibDocs/XML", ".xml"},
};

} // namespace

QString docFolder(DocOutput output) {
    return QString::fromLatin1(kPlaces[int(output)].folder);
}

QString docExtension(DocOutput output) {
    return QString::fromLatin1(kPlaces[int(output)].extension);
}

QString safeFileName(const QString& libraryName) {
    if (libraryName.isEmpty() || libraryName == QStringLiteral(".") ||
        libraryName == QStringLiteral(".."))
        return QStringLiteral("_");
    QString name = libraryName;
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'_';
    return name;
}

bool createLibDocsFolders(const QString& programFolder) {
    bool ok = true;
    for (const Place& place : kPlaces)
        ok = QDir(programFolder).mkpath(QString::fromLatin1(place.folder)) && ok;
    return ok;
}

} // namespace vantor
