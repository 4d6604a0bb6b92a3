#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vantor {

// What a click on a link of the prototype pane asks for.
struct PaneLink {
    enum class Kind { None, External, InLibrary };
    Kind kind = Kind::None;
    QString url;          // External: the "progid4:" URL for the clipboard
    qint32 typeInfo = -1; // InLibrary: the linked type info's number (0-based)
};

// Reads the text of a clicked link ("file: Name|12/" or "file: Lib.Name|{GUID}:1.0.Name").
PaneLink readPaneLink(const QString& linkText);

// A row of the type-info list, as far as links care.
struct TypeInfoRow {
    qint32 number = -1; // the type info's number + 1; -1 for "<globals>"
    bool coclass = false;
    qint32 defaultInterface = -1; // a coclass's default interface's number (0-based), or -1
};

// The row an in-library link selects: the first row, after "<globals>", that is the linked
// type info or a coclass whose default interface it is (a hidden interface is reached through
// its coclass).
std::optional<qint32> rowForTypeInfo(const QList<TypeInfoRow>& rows, qint32 typeInfo);

} // namespace vantor
