#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vantor {

// "{" and "}" get a backslash each.
QString EscapeBraces(QStringView text);
// Plain text as RTF: backslashes doubled first, tabs as "\tab ", then braces escaped.
QString RtfEscape(QStringView text);

// The document header every pane text starts with; `colourList` is the ClrTbl setting.
QString paneRtfHeader(QStringView colourList);

// A clickable type name. The pane shows only `name`; the hidden "<file: ...>" around it is what
// a click reports: the type info's number for a type of the loaded library, the reference text
// (GUID:major.minor.TypeName) for a type of another library. The reference's braces are escaped:
// bare, they would open an RTF group and the click would report the GUID without them.
QString inLibraryLink(QStringView name, qint32 typeInfoNumber);
QString externalLink(QStringView visibleName, QStringView referenceText);

// All bytes of a file; throws Error FileNotFound when it cannot be read.
QByteArray readWholeFile(const QString& path);

} // namespace vantor
