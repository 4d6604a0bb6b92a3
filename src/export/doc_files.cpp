#include "export/doc_files.h"

#include <QDir>

namespace vantor {

namespace {
constexpr DocOutput kOutputs[] = {DocOutput::MemberNames, DocOutput::VBScript, DocOutput::JScript,
                                  DocOutput::RichText,    DocOutput::Html,     DocOutput::Xml};
}

QString docFolder(DocOutput output) {
    switch (output) {
    case DocOutput::MemberNames:
        return QStringLiteral("LibDocs/Include/AutoComplete");
    case DocOutput::VBScript:
        return QStringLiteral("LibDocs/Include/VBScript");
    case DocOutput::JScript:
        return QStringLiteral("LibDocs/Include/JScript");
    case DocOutput::RichText:
        return QStringLiteral("LibDocs/RichText");
    case DocOutput::Html:
        return QStringLiteral("LibDocs/HTML");
    case DocOutput::Xml:
        return QStringLiteral("LibDocs/XML");
    }
    return QString();
}

QString docExtension(DocOutput output) {
    switch (output) {
    case DocOutput::MemberNames:
        return QStringLiteral(".txt");
    case DocOutput::VBScript:
    case DocOutput::JScript:
        return QStringLiteral(".Inc");
    case DocOutput::RichText:
        return QStringLiteral(".rtf");
    case DocOutput::Html:
        return QStringLiteral(".html");
    case DocOutput::Xml:
        return QStringLiteral(".xml");
    }
    return QString();
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
    for (const DocOutput output : kOutputs)
        ok = QDir(programFolder).mkpath(docFolder(output)) && ok;
    return ok;
}

} // namespace vantor
