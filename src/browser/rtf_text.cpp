#include "browser/rtf_text.h"

#include "text/error.h"

#include <QFile>

namespace vantor {

QString EscapeBraces(QStringView text) {
    QString out = text.toString();
    out.replace(u'{', QStringLiteral("\\{"));
    out.replace(u'}', QStringLiteral("\\}"));
    return out;
}

QString RtfEscape(QStringView text) {
    QString out = text.toString();
    out.replace(u'\\', QStringLiteral("\\\\"));
    out.replace(u'\t', QStringLiteral("\\tab "));
    return EscapeBraces(out);
}

QString paneRtfHeader(QStringView colourList) {
    return QStringLiteral(
               "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0"
               "\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil"
               "\\fcharset0 Times New Roman;}{\\f3\\fswiss\\fprq2 Arial;}{\\f4\\froman\\fprq2 "
               "Times New Roman;}{\\f5\\fnil\\fcharset0 MS Sans Serif;}}\r\n{\\colortbl ;") +
           colourList.trimmed().toString() +
           QStringLiteral("}\r\n\\viewkind4\\uc1\\pard\\nowidctlpar\\fi-5\\li84\\ri55\\lang2057"
                          "\\f0\\fs18 {\r\n");
}

QString inLibraryLink(QStringView name, qint32 typeInfoNumber) {
    return QStringLiteral("\\v <file: \\v0 ") + name.toString() + QStringLiteral("\\v |") +
           QString::number(typeInfoNumber) + QStringLiteral("/>\\v0");
}

QString externalLink(QStringView visibleName, QStringView referenceText) {
    return QStringLiteral("\\v <file: \\v0 ") + visibleName.toString() + QStringLiteral("\\v |") +
           EscapeBraces(referenceText) + QStringLiteral("> \\v0");
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileNotFound, QStringLiteral("readWholeFile"),
                    QStringLiteral("File not found: ") + path);
    return file.readAll();
}

} // namespace vantor
