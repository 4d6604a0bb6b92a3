#include "export/snippets.h"

#include "browser/library_reference.h"
#include "browser/proto_member_rules.h"

#include <QLocale>

namespace vantor::snippets {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kSuccess = QStringLiteral("Success ...");

Snippet copied(const QString& text) {
    return {text, QStringLiteral("Copied ") + text + QStringLiteral(" to Clipboard")};
}

} // namespace

Snippet creation(CreationForm form, const QString& progId) {
    switch (form) {
    case CreationForm::String:
        return copied(progId);
    case CreationForm::JScript:
        return copied(QStringLiteral("var oObj = new ActiveXObject('") + progId +
                      QStringLiteral("');"));
    case CreationForm::VBScript:
        return copied(QStringLiteral("set oObj = WScript.CreateObject(\"") + progId +
                      QStringLiteral("\", \"oObj_\")"));
    case CreationForm::Perl:
        return copied(QStringLiteral("use Win32::OLE;") + kCrLf +
                      QStringLiteral("my $Obj = Win32::OLE->new('") + progId +
                      QStringLiteral("',  \\&OleQuit) || die(\"could not create Obj\\n\");"));
    case CreationForm::Python:
        return copied(QStringLiteral("import win32com.client") + kCrLf +
                      QStringLiteral("om = win32com.client.Dispatch(\"") + progId +
                      QStringLiteral("\")"));
    }
    return {};
}

QString creatableClassId(const QString& rowCaption, const QString& typeGuid) {
    if (rowCaption == QLatin1String("IGenScriptletTLib"))
        return QStringLiteral("{06290BD5-48AA-11D2-8432-006008C3FBFC}");
    if (rowCaption == QLatin1String("DIBehaviorHandlerOM"))
        return QStringLiteral("{5AAF51B2-B1F0-11d1-B6AB-00A0C90833E9}");
    return typeGuid;
}

Snippet vbReference(const TypeLibRecord& record, quint32 lcid, const QString& path) {
    QString help = record.helpString;
    // A help string written with quotes (it holds a comma) is referenced without them; a lone
    // quote leaves nothing.
    if (help.startsWith(u'"'))
        help = help.size() >= 2 ? help.mid(1, help.size() - 2) : QString();
    return {QStringLiteral("Reference=*\\G") + record.guid + u'#' + record.version + u'#' +
                QString::number(lcid) + u'#' + path + u'#' + help,
            kSuccess};
}

Snippet wshReference(const TypeLibRecord& record) {
    return {QStringLiteral("<reference guid=\"") + record.guid + QStringLiteral("\" version=\"") +
                record.version + QStringLiteral("\" />"),
            kSuccess};
}

Snippet memberLine(const QString& line) {
    return copied(line);
}

Snippet allMembers(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + kCrLf;
    return {text, QStringLiteral("Copied %1 items").arg(lines.size())};
}

Snippet constantsAsCode(const QList<tli::Constant>& members, qsizetype listLines) {
    QString text;
    for (const tli::Constant& c : members) {
        text += QStringLiteral("const ") + c.name + QStringLiteral(" = ");
        const tli::Value& v = c.value;
        if (v.state == tli::Value::State::Present) {
            if (v.vt == tli::vt::I2 || v.vt == tli::vt::I4 || v.vt == tli::vt::Int) {
                text += QString::number(v.integer);
                if (const QString hex = proto::integerHex(v); !hex.isEmpty())
                    text += u' ' + hex;
            } else if (v.vt == tli::vt::Bstr) {
                text += u'"' + v.text + u'"';
            }
        }
        text += kCrLf;
    }
    return {text, QStringLiteral("Copied %1 items as code").arg(listLines)};
}

Snippet objectTag(const QString& typeGuid) {
    return {QStringLiteral("<object id=oCntrl  classid=\"clsid:") + typeGuid.mid(1, 36) +
                QStringLiteral("\" width = 280 height = 30 ></object>"),
            QStringLiteral("Copied Object tag")};
}

Snippet typeInfo(TypeInfoForm form, const QString& typeGuid, const QString& libraryGuid, int major,
                 int minor, const QString& rowCaption) {
    const QString url =
        QStringLiteral("progid4:") +
        formatLibraryReference(
            {libraryGuid, QStringLiteral("%1.%2").arg(major).arg(minor), rowCaption});
    switch (form) {
    case TypeInfoForm::Guid:
        return {typeGuid, QStringLiteral("Copied TypeInfo GUID")};
    case TypeInfoForm::Anchor:
        return {QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + rowCaption +
                    QStringLiteral("</a>"),
                QStringLiteral("Copied TypeInfo as Anchor")};
    case TypeInfoForm::Url:
        return {url, QStringLiteral("Copied TypeInfo as progid4:")};
    }
    return {};
}

QString definitionDetails(qsizetype progIdSize, qsizetype typeLibSize,
                          const QDateTime& progIdCatalogWritten) {
    return QStringLiteral(" Definition Details: %1 ProgID Defs, %2 TypeLib Defs")
               .arg(progIdSize)
               .arg(typeLibSize) +
           kCrLf + QStringLiteral("          Last Refreshed on ") +
           QLocale::system().toString(progIdCatalogWritten, QLocale::ShortFormat);
}

} // namespace vantor::snippets
