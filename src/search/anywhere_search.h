#pragma once

#include "search/index_builder.h"
#include "search/symbol_index.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <memory>

namespace vantor {

// What the search of every library needs of the main window.
class AnywhereFrame {
public:
    virtual ~AnywhereFrame() = default;
    virtual void status(const QString& text) = 0;
    virtual void restartStatusTimer() = 0;
    virtual void message(const QString& text) = 0;
    // Popup item "Show Hidden": hidden and restricted entries are listed only while it is on.
    virtual bool showHidden() const = 0;
    // Puts a library path into the path box and loads that library; false when none loaded.
    virtual bool loadLibrary(const QString& path) = 0;
    // Select a row of the type-info or member list by name as a click and a visit.
    virtual bool selectTypeInfo(const QString& name) = 0;
    virtual bool selectMember(const QString& name) = 0;
    virtual void setClipboardText(const QString& text) = 0;
};

// The search window's list in the "Anywhere" mode: one row per hit, and the kind check boxes.
class SymbolResultsView {
public:
    virtual ~SymbolResultsView() = default;
    // Replaces the rows (opening the window when there are any) and selects the first.
    virtual void showSymbols(const QList<SymbolHit>& hits) = 0;
    // The selected row; -1 when none is.
    virtual int selectedSymbol() const = 0;
    // The kinds checked (kinds:: values).
    virtual int kindFilter() const = 0;
};

// The "Anywhere" search: keeps the symbol index of the machine's libraries up to date in the
// background after every catalog load, answers searches from what is indexed so far, and goes
// to or copies a hit.
class AnywhereSearch {
public:
    // `databasePath`: the machine's index file; `hostPath` maps a Windows path to a host path and
    // is called on the builder's thread. `context` receives the builder's events.
    AnywhereSearch(AnywhereFrame& frame, SymbolResultsView& view, QString databasePath,
                   std::function<QString(const QString&)> hostPath, QObject* context);
    ~AnywhereSearch();

    // The catalogs have loaded: the index catches up with their type library records.
    void catalogLoaded(const QStringList& records);
    bool building() const { return builder_ && builder_->building(); }
    // The last update's counts; all zero before one has finished.
    const IndexUpdate& lastUpdate() const { return lastUpdate_; }

    // Lists the entries matching `text`; returns how many match in all.
    qint64 search(const QString& text);
    // The kind check boxes changed: the last search runs again.
    void kindsChanged();
    const SymbolResults& results() const { return results_; }

    // The search window's buttons: go to the selected hit, copy "Library.Type.Member".
    bool GoTo();
    void Copy();

private:
    SymbolIndex* index();
    void showProgress(int done, int total);

    AnywhereFrame& frame_;
    SymbolResultsView& view_;
    QString path_;
    std::function<QString(const QString&)> hostPath_;
    QObject* context_;
    std::unique_ptr<SymbolIndex> index_;
    std::unique_ptr<IndexBuilder> builder_;
    IndexUpdate lastUpdate_;
    QString lastText_;
    SymbolResults results_;
    QElapsedTimer sinceSearch_;
};

} // namespace vantor
