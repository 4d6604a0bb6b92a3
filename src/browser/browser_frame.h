#pragma once

#include "tli/type_lib_info.h"

#include <QList>
#include <QString>

namespace vantor {

// The library list view as library loading sees it: rows by top-down index.
class LibraryListView {
public:
    enum Column { HelpString = 0, LibName = 1, TypeLib = 2, Version = 3 };
    virtual ~LibraryListView() = default;
    // The first row that shows a library of this GUID, or -1.
    virtual int findLibraryRow(const QString& guid) const = 0;
    virtual int currentLibraryRow() const = 0;
    virtual QString libraryRowText(int row, int column) const = 0;
    virtual void setLibraryRowText(int row, int column, const QString& text) = 0;
    // Inserts a row at the top (item data = the path box entry's index) and returns its index.
    virtual int insertLibraryRow(const QString& helpString, const QString& guid,
                                 const QString& version, qint32 pathBoxIndex,
                                 const QString& path) = 0;
    // Selects the row and scrolls it into view.
    virtual void showLibraryRow(int row) = 0;
};

// The toolbar's buttons by number (6 and 8 are separators).
enum ToolbarButton {
    BackButton = 1,
    ForwardButton = 2,
    CopyButton = 3,
    MinimizePaneButton = 4,
    HelpButton = 5,
    SearchButton = 7,
    NextInterfaceButton = 9,
    ToolbarButtonCount = 9
};

// What library browsing does to the window: the path box, the two lists and the member list's
// caption, the pane, the toolbar, the status line and the clipboard. Selecting a row here never
// runs a click: the browser runs its own click handling after selecting.
class BrowserFrame {
public:
    virtual ~BrowserFrame() = default;

    virtual QString pathText() const = 0;
    virtual void setPathText(const QString& text) = 0;
    // The path box entry shown as selected (-1: none).
    virtual void selectPathEntry(int index) = 0;
    virtual int selectedPathEntry() const = 0;

    // Type-info rows with the image of each row's category code.
    virtual void setTypeInfoRows(const QList<tli::ListRow>& rows,
                                 const QList<qint16>& categoryCodes) = 0;
    virtual void setMemberRows(const QList<tli::ListRow>& rows) = 0;
    virtual void selectTypeInfoRow(int row) = 0;
    virtual void selectMemberRow(int row) = 0;
    virtual int typeInfoRow() const = 0;
    virtual int memberRow() const = 0;
    virtual void setTypeInfoToolTip(const QString& text) = 0;
    // The member list's caption; `red` while "Next Interface" switches interfaces.
    virtual void setMemberCaption(const QString& text) = 0;
    virtual void setMemberCaptionRed(bool red) = 0;
    virtual void setMemberListEnabled(bool enabled) = 0;
    // true: the type-info list, false: the member list.
    virtual void focusList(bool typeInfoList) = 0;

    virtual void showPane(const QString& rtf) = 0;
    // `button`: a ToolbarButton.
    virtual void setButtonEnabled(int button, bool enabled) = 0;
    // A status message that the status timer later replaces with "Ready...  ".
    virtual void flashStatus(const QString& text) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual void beep() = 0;

    // Options the window keeps: "Show Hidden", "Group Docs by TypeKind", and the settings.
    virtual bool showHidden() const = 0;
    virtual bool groupDocsByTypeKind() const = 0;
    virtual QString typeKindOrderSetting() const = 0;
    virtual QString paneHeader() const = 0;
};

} // namespace vantor
