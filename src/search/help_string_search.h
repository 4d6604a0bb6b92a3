#pragma once

#include "search/progid_lookup.h"
#include "search/search_mode.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace vantor::tli {
class TLIApplication;
class TypeLibInfo;
} // namespace vantor::tli

namespace vantor {

class AnywhereSearch;
class Catalogs;

// What the search needs of the main window.
class SearchFrame {
public:
    virtual ~SearchFrame() = default;
    virtual void status(const QString& text) = 0;
    // Re-arms the status timer, which returns the status line to "Ready...  ".
    virtual void restartStatusTimer() = 0;
    virtual void processEvents() = 0;
    // A message box titled with the program's name.
    virtual void message(const QString& text) = 0;
    // The search box and the list of earlier search texts it keeps.
    virtual QString findText() const = 0;
    virtual void setFindText(const QString& text) = 0;
    virtual QStringList findHistory() const = 0;
    virtual void addFindHistory(const QString& text) = 0;
    virtual void focusFind() = 0;
    // The Search menu's check mark, the search box's look and the popup items of the mode.
    virtual void showMode(SearchMode mode, const SearchModeLook& look) = 0;
    // Popup items 9 "Allow ProgID/Object Instantiation" and 10 "Auto Browse to Class".
    virtual bool allowInstantiation() const = 0;
    virtual bool autoBrowseToClass() const = 0;
    // Puts a library path into the path box and loads that library.
    virtual void openLibrary(const QString& path) = 0;
    // The library in the lists; null when none is.
    virtual const tli::TypeLibInfo* loadedLibrary() const = 0;
    // Selects the first type-info row of that name (ignoring case), as a click and a visit.
    virtual bool selectTypeInfo(const QString& name) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual void focusTypeInfoList() = 0;
};

// The search window (frmHSFind) as the search drives it. Selecting a row here runs no click.
class SearchWindowView {
public:
    virtual ~SearchWindowView() = default;
    // Shows the window (modeless, above the main window) with the mode's caption and ProgID box.
    virtual void showWindow(const SearchModeLook& look) = 0;
    virtual void closeWindow() = 0;
    virtual void clearRows() = 0;
    virtual void addRow(const QString& text, qint32 itemData) = 0;
    virtual int rowCount() const = 0;
    virtual int selectedRow() const = 0;
    virtual QString rowText(int row) const = 0;
    virtual qint32 rowData(int row) const = 0;
    // Selects the row and gives the list the focus.
    virtual void selectRow(int row) = 0;
    virtual QString progIdText() const = 0;
    virtual void setProgIdText(const QString& text) = 0;
    virtual void setGoToEnabled(bool enabled) = 0;
    virtual bool goToEnabled() const = 0;
};

// The search of the catalogs' help strings and ProgIDs, and the going to a hit: the Search
// menu's mode, the search box's action, the search window's commands and the ProgID start.
class HelpStringSearch {
public:
    // `machine` gives the registry and drives the window's own application object; `joinFix`
    // reaches the settings file.
    HelpStringSearch(SearchFrame& frame, SearchWindowView& window,
                     const tli::TLIApplication& machine, JoinFixSettings joinFix);
    ~HelpStringSearch();

    void setCatalogs(const Catalogs* catalogs);
    // The search of every library the "Anywhere" mode runs; may be null (that mode finds
    // nothing).
    void setAnywhere(AnywhereSearch* anywhere) { anywhere_ = anywhere; }
    SearchMode mode() const { return mode_; }
    const QString& versionHint() const { return versionHint_; }

    // Checks Search menu item `index` and shows its mode.
    void mnuSrch_Click(int index);
    // Enter in the search box.
    void FindEnter();
    // Toolbar button 7; returns the hit count.
    qint32 ToolbarSearch();
    // Scans `defs` (TLDefs in mode 0, PIDDefs otherwise) for the search box's text.
    qint32 SrchArr(const QStringList& defs);
    // Goes to the selected hit: opens its library and, for a ProgID, selects its class.
    bool TL2Srch();
    // The ProgID start: searches `commandLine` by ProgID and goes to the hit.
    void Srch2Set(const QString& commandLine);
    // The class name of the selected row's CLSID in the loaded library.
    QString sCoClsFrmPID();

    // The search window's controls.
    void RowClicked(int row);
    void GoTo();
    void Copy();
    void Close();
    // The window has closed: its application object goes.
    void WindowClosed();

private:
    void openWindow();
    qint32 searchAnywhere();
    void ensureApplication();
    void addToFindHistory(const QString& text);
    qint32 scanHelpStrings(const QStringList& defs, const QString& text);
    qint32 lookUpProgId(const QStringList& defs, const QString& text);
    ProgIdLookup& lookup();

    SearchFrame& frame_;
    SearchWindowView& window_;
    const tli::TLIApplication& machine_;
    JoinFixSettings joinFix_;
    const Catalogs* catalogs_ = nullptr;
    AnywhereSearch* anywhere_ = nullptr;
    SearchMode mode_ = SearchMode::TypeLibHelpString;
    QString versionHint_ = QStringLiteral(".0");
    bool scanning_ = false;
    // The window's own application object and the lookup over it, while the window is open.
    std::unique_ptr<tli::TLIApplication> app_;
    std::unique_ptr<ProgIdLookup> lookup_;
};

} // namespace vantor
