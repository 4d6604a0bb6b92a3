#include "app/help_viewer.h"

#include "help/chm_link.h"
#include "help/help_request.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace vantor {

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kPageRole = Qt::UserRole + 1;

QUrl pageUrl(const QString& path, const QString& anchor = QString()) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

} // namespace

// The page: every resource it asks for comes from inside the help file.
class HelpPage : public QTextBrowser {
public:
    HelpPage(HelpViewer& viewer, QWidget* parent) : QTextBrowser(parent), viewer_(viewer) {
        setOpenLinks(false);
        setOpenExternalLinks(false);
    }
    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() != kScheme)
            return {};
        const QString path = help::normalisePagePath(name.path());
        const std::optional<QByteArray> bytes = viewer_.book().object(path);
        if (!bytes)
            return {};
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return viewer_.book().text(*bytes);
        return *bytes;
    }

private:
    HelpViewer& viewer_;
};

HelpViewer::HelpViewer(std::unique_ptr<help::HelpBook> book,
                       std::function<void(const QString&)> status)
    : book_(std::move(book)), status_(std::move(status)) {
    setAttribute(Qt::WA_DeleteOnClose);
    const QString title = book_->text(book_->system().title);
    setWindowTitle(title.isEmpty() ? QFileInfo(book_->file()).fileName() : title);
    resize(900, 640);

    auto* split = new QSplitter(Qt::Horizontal, this);
    tabs_ = new QTabWidget(split);
    contents_ = new QTreeWidget(tabs_);
    contents_->setHeaderHidden(true);
    QList<QTreeWidgetItem*> parents;
    for (const help::SitemapEntry& e : book_->contents()) {
        const int depth = qMin<int>(e.depth, int(parents.size()));
        parents.resize(depth);
        auto* item = parents.isEmpty() ? new QTreeWidgetItem(contents_)
                                       : new QTreeWidgetItem(parents.last());
        item->setText(0, e.name);
        if (!e.locals.isEmpty())
            item->setData(0, kPageRole, e.locals.first());
        parents.append(item);
    }
    contents_->expandToDepth(0);
    tabs_->addTab(contents_, QStringLiteral("Contents"));

    auto* indexTab = new QWidget(tabs_);
    auto* col = new QVBoxLayout(indexTab);
    col->setContentsMargins(2, 2, 2, 2);
    col->addWidget(new QLabel(QStringLiteral("Type in the keyword to find:"), indexTab));
    filter_ = new QLineEdit(indexTab);
    col->addWidget(filter_);
    index_ = new QListWidget(indexTab);
    index_->setUniformItemSizes(true);
    for (int i = 0; i < book_->index().size(); ++i) {
        const help::SitemapEntry& e = book_->index()[i];
        auto* item = new QListWidgetItem(QString(e.depth * 4, u' ') + e.name, index_);
        item->setData(kPageRole, i);
    }
    col->addWidget(index_, 3);
    col->addWidget(new QLabel(QStringLiteral("Topics Found:"), indexTab));
    topics_ = new QListWidget(indexTab);
    col->addWidget(topics_, 1);
    tabs_->addTab(indexTab, QStringLiteral("Index"));

    auto* right = new QWidget(split);
    auto* pageCol = new QVBoxLayout(right);
    pageCol->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    back_ = new QToolButton(right);
    back_->setText(QStringLiteral("Back"));
    forward_ = new QToolButton(right);
    forward_->setText(QStringLiteral("Forward"));
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch(1);
    pageCol->addLayout(buttons);
    page_ = new HelpPage(*this, right);
    pageCol->addWidget(page_, 1);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    connect(back_, &QToolButton::clicked, this, &HelpViewer::back);
    connect(forward_, &QToolButton::clicked, this, &HelpViewer::forward);
    connect(page_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { followLink(url.toString()); });
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString local = item->data(0, kPageRole).toString();
        if (!local.isEmpty())
            openLocal(local);
    });
    connect(contents_, &QTreeWidget::itemClicked, contents_, &QTreeWidget::itemActivated);
    connect(filter_, &QLineEdit::textChanged, this, &HelpViewer::filterIndex);
    connect(index_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { offerTopics(item->data(kPageRole).toInt()); });
    connect(index_, &QListWidget::itemClicked, index_, &QListWidget::itemActivated);
    connect(topics_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { openLocal(item->data(kPageRole).toString()); });
    connect(topics_, &QListWidget::itemClicked, topics_, &QListWidget::itemActivated);
    updateButtons();
}

HelpViewer::~HelpViewer() = default;

QTextBrowser* HelpViewer::page() const {
    return page_;
}

bool HelpViewer::checkBroken() {
    if (!book_->broken())
        return false;
    if (!reported_ && status_)
        status_(QStringLiteral("cannot read the help file ") + book_->file());
    reported_ = true;
    return true;
}

void HelpViewer::display(const QString& path, const QString& anchor, bool record) {
    if (path.isEmpty() || checkBroken())
        return;
    if (path != current_ || !page_->source().isValid())
        page_->setSource(pageUrl(path), QTextDocument::HtmlResource);
    current_ = path;
    if (!anchor.isEmpty())
        page_->scrollToAnchor(anchor);
    if (record) {
        history_.resize(position_ + 1);
        history_.append(anchor.isEmpty() ? path : path + u'#' + anchor);
        position_ = int(history_.size()) - 1;
    }
    updateButtons();
    checkBroken();
}

void HelpViewer::showPage(const QString& path) {
    followLink(path.startsWith(u'/') ? path : u'/' + path);
}

void HelpViewer::openLocal(const QString& local) {
    // A sitemap names pages from the top of the file.
    followLink(local.contains(u':') || local.startsWith(u'/') ? local : u'/' + local);
}

void HelpViewer::followLink(const QString& href) {
    const help::LinkTarget target = help::resolveLink(href, current_, book_->file());
    switch (target.kind) {
    case help::LinkTarget::Kind::Page:
        display(target.path, target.anchor, true);
        break;
    case help::LinkTarget::Kind::External:
        QDesktopServices::openUrl(QUrl(target.url));
        break;
    default:
        break;
    }
}

void HelpViewer::showKeywords(const QString& keywords) {
    display(book_->defaultPage(), QString(), true);
    const std::optional<help::HelpBook::KeywordHit> hit = book_->findKeyword(keywords);
    if (!hit) {
        tabs_->setCurrentIndex(1);
        filter_->setText(keywords.section(u';', 0, 0).trimmed());
        return;
    }
    const help::SitemapEntry& entry = book_->index()[hit->entry];
    if (entry.locals.size() == 1) {
        openLocal(entry.locals.first());
        return;
    }
    tabs_->setCurrentIndex(1);
    filter_->setText(hit->keyword);
    offerTopics(hit->entry);
}

void HelpViewer::showContext(qint32 context) {
    const std::optional<QString> path = book_->contextPage(context);
    if (path) {
        display(*path, QString(), true);
        return;
    }
    display(book_->defaultPage(), QString(), true);
    if (!checkBroken() && status_)
        status_(QStringLiteral("no topic for help context %1 in ").arg(context) + book_->file());
}

void HelpViewer::back() {
    if (position_ <= 0)
        return;
    --position_;
    const QString& entry = history_[position_];
    display(entry.section(u'#', 0, 0), entry.section(u'#', 1), false);
}

void HelpViewer::forward() {
    if (position_ + 1 >= history_.size())
        return;
    ++position_;
    const QString& entry = history_[position_];
    display(entry.section(u'#', 0, 0), entry.section(u'#', 1), false);
}

void HelpViewer::updateButtons() {
    back_->setEnabled(position_ > 0);
    forward_->setEnabled(position_ + 1 < history_.size());
}

void HelpViewer::filterIndex(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool shown = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    if (first)
        index_->setCurrentItem(first);
}

void HelpViewer::offerTopics(int indexEntry) {
    topics_->clear();
    if (indexEntry < 0 || indexEntry >= book_->index().size())
        return;
    const help::SitemapEntry& entry = book_->index()[indexEntry];
    for (const QString& local : entry.locals) {
        auto* item = new QListWidgetItem(local, topics_);
        item->setData(kPageRole, local);
    }
    if (entry.locals.size() == 1)
        openLocal(entry.locals.first());
}

HelpViewers::HelpViewers(std::function<void(const QString&)> status, QString readerProgram)
    : status_(std::move(status)), readerProgram_(std::move(readerProgram)) {}

HelpViewers::~HelpViewers() {
    closeAll();
}

HelpViewer* HelpViewers::viewer(const QString& file) const {
    const QPointer<HelpViewer> v = viewers_.value(QFileInfo(file).absoluteFilePath());
    return v && !v->book().broken() ? v.data() : nullptr;
}

HelpViewer* HelpViewers::ShowHtmlHelp(const QString& file, qint32 context, const QString& topic) {
    const QString key = QFileInfo(file).absoluteFilePath();
    HelpViewer* v = viewer(key);
    if (!v) {
        if (HelpViewer* old = viewers_.take(key))
            old->close();
        auto book = std::make_unique<help::HelpBook>(key, readerProgram_);
        if (!book->open()) {
            if (status_)
                status_(QStringLiteral("cannot read the help file ") + file);
            return nullptr;
        }
        v = new HelpViewer(std::move(book), status_);
        viewers_.insert(key, v);
    }
    if (context == help::KeywordContext)
        v->showKeywords(topic);
    else if (context != help::PageContext)
        v->showContext(context);
    else
        v->showPage(topic);
    v->show();
    v->raise();
    v->activateWindow();
    return v;
}

void HelpViewers::closeAll() {
    for (const QPointer<HelpViewer>& v : std::as_const(viewers_))
        if (v)
            v->close();
    viewers_.clear();
}

} // namespace vantor
