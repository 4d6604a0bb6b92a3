#include "search/help_string_search.h"

#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "catalog/type_lib_record.h"
#include "search/anywhere_search.h"
#include "search/class_names.h"
#include "search/gets_vers.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/session.h"
#include "tli/tli_application.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <limits>

namespace vantor {

namespace {

// The catalog columns the search reads (GetToken numbers).
constexpr int kHelpColumn = 3;
constexpr int kProgIdColumn = 1;
constexpr int kLibraryColumn = 5;
constexpr int kClassColumn = 2;
// Events may run every this many records of a scan; they do when this many milliseconds have
// passed since they last ran. A pass costs about a millisecond (the window repaints), so
// running one every 20 records would make a scan of a full machine's catalog many times
// slower, while one every few milliseconds keeps the window as responsive.
constexpr qsizetype kEventPace = 20;
constexpr qint64 kEventIntervalMs = 8;

// A field of a record, or "" for an index outside the catalog or a damaged line.
QString fieldOf(const QStringList& defs, qint32 index, int column) {
    if (index < 0 || index >= defs.size())
        return QString();
    return GetTokenOrEmpty(column, defs[index]);
}

const QStringList& noRecords() {
    static const QStringList empty{QString()};
    return empty;
}

} // namespace

HelpStringSearch::HelpStringSearch(SearchFrame& frame, SearchWindowView& window,
                                   const tli::TLIApplication& machine, JoinFixSettings joinFix)
    : frame_(frame), window_(window), machine_(machine), joinFix_(std::move(joinFix)) {}

HelpStringSearch::~HelpStringSearch() = default;

void HelpStringSearch::mnuSrch_Click(int index) {
    if (index < 0 || index >= kSearchModeCount)
        return;
    mode_ = SearchMode(index);
    frame_.showMode(mode_, searchModeLook(mode_));
}

void HelpStringSearch::FindEnter() {
    if (frame_.findText().isEmpty())
        frame_.message(QStringLiteral("enter your search string"));
    else
        ToolbarSearch();
}

qint32 HelpStringSearch::ToolbarSearch() {
    // A search started while a scan lets events run would clear the list under it.
    if (scanning_)
        return 0;
    if (mode_ == SearchMode::Anywhere)
        return searchAnywhere();
    qint32 count = 0;
    if (!frame_.findText().isEmpty() && catalogs_) {
        if (mode_ == SearchMode::TypeLibHelpString) {
            frame_.status(QStringLiteral("Searching TypeLib HelpStrings ..."));
            count = SrchArr(catalogs_->TLDefs());
        } else {
            frame_.status(QStringLiteral("Searching by ProgID ..."));
            count = SrchArr(catalogs_->PIDDefs());
        }
    }
    frame_.status(QString::number(count) + QStringLiteral(" HelpStrings Found"));
    frame_.processEvents();
    frame_.restartStatusTimer();
    if (count > 0 && window_.rowCount() > 0) {
        window_.selectRow(0);
        RowClicked(0);
    } else {
        frame_.focusFind();
    }
    return count;
}

qint32 HelpStringSearch::searchAnywhere() {
    const QString text = frame_.findText();
    qint64 count = 0;
    if (!text.isEmpty() && anywhere_) {
        frame_.status(QStringLiteral("Searching every library ..."));
        count = anywhere_->search(text);
        if (count > 0)
            addToFindHistory(text);
    }
    frame_.processEvents();
    frame_.restartStatusTimer();
    if (count == 0)
        frame_.focusFind();
    return qint32(qMin<qint64>(count, std::numeric_limits<qint32>::max()));
}

qint32 HelpStringSearch::SrchArr(const QStringList& defs) {
    const QScopedValueRollback busy(scanning_, true);
    const QString text = frame_.findText();
    if (mode_ == SearchMode::ProgId)
        return lookUpProgId(defs, text);
    return scanHelpStrings(defs, text);
}

qint32 HelpStringSearch::scanHelpStrings(const QStringList& defs, const QString& text) {
    qint32 count = 0;
    qint32 errors = 0;
    QString firstError;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    // The last element is the catalog's empty end marker.
    for (qsizetype i = 0; i + 1 < defs.size(); ++i) {
        try {
            const QStringView help = GetTokenView(kHelpColumn, defs[i]);
            if (help.contains(text, Qt::CaseInsensitive)) {
                if (count == 0) {
                    openWindow();
                    addToFindHistory(text);
                }
                window_.addRow(help.toString(), qint32(i));
                ++count;
            }
        } catch (const Error& e) {
            // One box per search: a damaged catalog would otherwise show one per record.
            if (errors++ == 0)
                firstError = QStringLiteral("err=") + e.description() + QStringLiteral("  nJ=") +
                             QString::number(i);
        }
        if (i % kEventPace == 0 && sinceEvents.elapsed() >= kEventIntervalMs) {
            frame_.processEvents();
            sinceEvents.restart();
        }
    }
    if (errors > 1)
        firstError += QStringLiteral("\r\n(%1 more records of this search failed the same way)")
                          .arg(errors - 1);
    if (errors > 0)
        frame_.message(firstError);
    return count;
}

qint32 HelpStringSearch::lookUpProgId(const QStringList& defs, const QString& text) {
    versionHint_ = GetsVers(text);
    qint32 index = 0;
    BinSearch(defs, text, index);
    QString row = text;
    const QString help = fieldOf(defs, index, kHelpColumn);
    if (const int back = backReference(help); back && versionHint_ != kNoVersionHint)
        row = fieldOf(defs, index + back, kProgIdColumn);
    openWindow();
    addToFindHistory(text);
    window_.addRow(row, index);
    return 1;
}

void HelpStringSearch::setCatalogs(const Catalogs* catalogs) {
    catalogs_ = catalogs;
    lookup_.reset();
}

void HelpStringSearch::openWindow() {
    ensureApplication();
    window_.showWindow(searchModeLook(mode_));
    window_.clearRows();
    window_.setGoToEnabled(false);
}

void HelpStringSearch::ensureApplication() {
    if (app_)
        return;
    const std::shared_ptr<tli::Session>& machine = machine_.session();
    app_ = std::make_unique<tli::TLIApplication>(machine->store(), machine->paths());
}

ProgIdLookup& HelpStringSearch::lookup() {
    ensureApplication();
    if (!lookup_)
        lookup_ = std::make_unique<ProgIdLookup>(catalogs_ ? catalogs_->TLDefs() : noRecords(),
                                                 catalogs_ ? catalogs_->PIDDefs() : noRecords(),
                                                 *app_, joinFix_);
    lookup_->onMessage([this](const QString& text) { frame_.message(text); });
    ProgIdLookup::Context& c = lookup_->context();
    c.versionHint = versionHint_;
    c.progIdBox = window_.progIdText();
    c.allowInstantiation = frame_.allowInstantiation();
    return *lookup_;
}

void HelpStringSearch::addToFindHistory(const QString& text) {
    for (const QString& earlier : frame_.findHistory())
        if (startsWithText(earlier, text))
            return;
    frame_.addFindHistory(text);
}

bool HelpStringSearch::TL2Srch() {
    const int row = window_.selectedRow();
    if (row < 0 || !catalogs_)
        return false;
    try {
        const qint32 k = window_.rowData(row);
        QString path;
        if (mode_ == SearchMode::TypeLibHelpString) {
            if (k >= 0 && k < catalogs_->TLDefs().size())
                path = TypeLibRecord::parse(catalogs_->TLDefs()[k]).path;
        } else {
            path = lookup().GetCsvCol(k, kLibraryColumn);
            frame_.restartStatusTimer();
        }
        // No library found opens nothing (an empty path box would open its first entry).
        if (path.isEmpty())
            return false;
        frame_.openLibrary(path);
        if (mode_ != SearchMode::TypeLibHelpString && frame_.autoBrowseToClass()) {
            frame_.processEvents();
            const QString name = sCoClsFrmPID();
            if (!name.isEmpty())
                frame_.selectTypeInfo(name);
        }
    } catch (const Error&) {
        return false;
    }
    return true;
}

QString HelpStringSearch::sCoClsFrmPID() {
    const int row = window_.selectedRow();
    const tli::TypeLibInfo* library = frame_.loadedLibrary();
    if (row < 0 || !library)
        return QString();
    const QString clsid = lookup().GetCsvColzz(window_.rowData(row), kClassColumn).toUpper();
    return classNameOf(*library, clsid);
}

void HelpStringSearch::Srch2Set(const QString& commandLine) {
    mnuSrch_Click(int(SearchMode::ProgId));
    frame_.setFindText(commandLine);
    ToolbarSearch();
    GoTo();
}

void HelpStringSearch::RowClicked(int row) {
    if (row < 0 || row >= window_.rowCount())
        return;
    if (mode_ != SearchMode::TypeLibHelpString && catalogs_)
        window_.setProgIdText(fieldOf(catalogs_->PIDDefs(), window_.rowData(row), kProgIdColumn));
    window_.setGoToEnabled(true);
}

void HelpStringSearch::GoTo() {
    if (mode_ == SearchMode::Anywhere) {
        if (anywhere_)
            anywhere_->GoTo();
        return;
    }
    if (window_.selectedRow() < 0) {
        frame_.message(QStringLiteral("make a selection"));
        return;
    }
    if (!window_.goToEnabled())
        return;
    versionHint_ = GetsVers(window_.progIdText());
    TL2Srch();
}

void HelpStringSearch::Copy() {
    if (mode_ == SearchMode::Anywhere) {
        if (anywhere_)
            anywhere_->Copy();
        return;
    }
    const int row = window_.selectedRow();
    if (row >= 0)
        frame_.setClipboardText(window_.rowText(row));
}

void HelpStringSearch::Close() {
    window_.closeWindow();
    WindowClosed();
}

void HelpStringSearch::WindowClosed() {
    if (!app_)
        return;
    lookup_.reset();
    app_.reset();
    frame_.focusTypeInfoList();
}

} // namespace vantor
