#include "search/anywhere_search.h"

#include "text/error.h"

namespace vantor {

namespace {

// The most rows a search lists; the status line gives the full count.
constexpr int kListed = 500;
// A search's status stays this long before the build's progress takes the line again.
constexpr qint64 kSearchStatusMs = 2000;

} // namespace

AnywhereSearch::AnywhereSearch(AnywhereFrame& frame, SymbolResultsView& view, QString databasePath,
                               std::function<QString(const QString&)> hostPath, QObject* context)
    : frame_(frame), view_(view), path_(std::move(databasePath)), hostPath_(std::move(hostPath)),
      context_(context) {}

AnywhereSearch::~AnywhereSearch() = default;

SymbolIndex* AnywhereSearch::index() {
    if (!index_) {
        auto index = std::make_unique<SymbolIndex>();
        index->open(path_);
        if (!index->putAside().isEmpty())
            frame_.status(QStringLiteral("The symbol index was damaged; it is rebuilt (the old "
                                         "file is ") +
                          index->putAside() + u')');
        index_ = std::move(index);
    }
    return index_.get();
}

void AnywhereSearch::catalogLoaded(const QStringList& records) {
    index(); // checked, and put aside when damaged, before the builder connects
    if (!builder_)
        builder_ = std::make_unique<IndexBuilder>(
            path_, hostPath_, context_,
            IndexBuilder::Events{
                [this](int done, int total) { showProgress(done, total); },
                [this](const IndexUpdate& u) {
                    lastUpdate_ = u;
                    if (u.rebuilt) {
                        index_.reset(); // it reads the damaged file; the next search reopens
                        frame_.status(QStringLiteral("The symbol index was damaged; it has been "
                                                     "built anew"));
                    }
                    frame_.restartStatusTimer();
                },
                [this](const QString& problem) {
                    frame_.status(QStringLiteral("The symbol index cannot be built: ") + problem);
                    frame_.restartStatusTimer();
                }});
    builder_->start(records);
}

void AnywhereSearch::showProgress(int done, int total) {
    if (sinceSearch_.isValid() && sinceSearch_.elapsed() < kSearchStatusMs)
        return;
    frame_.status(QStringLiteral("Indexing ") + QString::number(done) + QStringLiteral(" of ") +
                  QString::number(total) + QStringLiteral(" libraries ..."));
    frame_.restartStatusTimer();
}

qint64 AnywhereSearch::search(const QString& text) {
    lastText_ = text;
    results_ = index()->query(text, match::All, view_.kindFilter(), frame_.showHidden(), kListed);
    view_.showSymbols(results_.hits);
    QString status = QString::number(results_.total) + QStringLiteral(" Symbols Found");
    if (results_.total > results_.hits.size())
        status += QStringLiteral(", the first ") + QString::number(results_.hits.size()) +
                  QStringLiteral(" listed");
    if (building())
        status += QStringLiteral(" (indexing goes on: %1 of %2 libraries so far)")
                      .arg(builder_->done())
                      .arg(builder_->total());
    frame_.status(status);
    sinceSearch_.start();
    return results_.total;
}

void AnywhereSearch::kindsChanged() {
    if (!lastText_.isEmpty())
        search(lastText_);
}

bool AnywhereSearch::GoTo() {
    const int row = view_.selectedSymbol();
    if (row < 0 || row >= results_.hits.size()) {
        frame_.message(QStringLiteral("make a selection"));
        return false;
    }
    const SymbolHit hit = results_.hits[row];
    if (!frame_.loadLibrary(hit.path) || !frame_.selectTypeInfo(hit.entry.typeName))
        return false;
    return hit.entry.kind == SymbolKind::Type || frame_.selectMember(hit.entry.name);
}

void AnywhereSearch::Copy() {
    const int row = view_.selectedSymbol();
    if (row < 0 || row >= results_.hits.size())
        return;
    const SymbolHit& hit = results_.hits[row];
    QString text = hit.library + u'.' + hit.entry.typeName;
    if (hit.entry.kind != SymbolKind::Type)
        text += u'.' + hit.entry.name;
    frame_.setClipboardText(text);
}

} // namespace vantor
