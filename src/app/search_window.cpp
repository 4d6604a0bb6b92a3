#include "app/search_window.h"

#include "app/icon_set.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {

SearchWindow::SearchWindow(QWidget* owner, std::function<QRect()> panes,
                           std::function<void(const std::function<void()>&)> guard)
    : QWidget(owner, Qt::Tool), panes_(std::move(panes)), guard_(std::move(guard)) {
    setObjectName(QStringLiteral("frmHSFind"));
    auto* column = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    // One line per row: with rows of one height a scan of thousands of hits lays out in
    // constant time per row, instead of measuring every row at each event pass.
    list_->setUniformItemSizes(true);
    list_->installEventFilter(this);
    column->addWidget(list_, 1);
    buildSymbolList(column);
    frame_ = new QGroupBox(QStringLiteral("ProgID"), this);
    auto* frameRow = new QHBoxLayout(frame_);
    progId_ = new QLineEdit(frame_);
    frameRow->addWidget(progId_);
    column->addWidget(frame_);
    auto* buttonRow = new QHBoxLayout;
    const char* captions[] = {"GoTo", "Copy", "Close"};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        buttonRow->addWidget(buttons_[i]);
    }
    column->addLayout(buttonRow);
    buttons_[0]->setDefault(true);
    buttons_[0]->setEnabled(false);
    connect(buttons_[0], &QPushButton::clicked, this,
            [this] { run([](HelpStringSearch& s) { s.GoTo(); }); });
    connect(buttons_[1], &QPushButton::clicked, this,
            [this] { run([](HelpStringSearch& s) { s.Copy(); }); });
    connect(buttons_[2], &QPushButton::clicked, this,
            [this] { run([](HelpStringSearch& s) { s.Close(); }); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this] { run([](HelpStringSearch& s) { s.GoTo(); }); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!quiet_ && search_)
            guard_([&] { search_->RowClicked(row); });
    });
    resize(420, 300);
}

void SearchWindow::buildSymbolList(QBoxLayout* column) {
    symbols_ = new QTreeWidget(this);
    symbols_->setObjectName(QStringLiteral("symbols"));
    symbols_->setRootIsDecorated(false);
    symbols_->setUniformRowHeights(true);
    symbols_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                               QStringLiteral("Library"), QStringLiteral("Value")});
    symbols_->installEventFilter(this);
    symbols_->hide();
    column->addWidget(symbols_, 1);
    connect(symbols_, &QTreeWidget::itemDoubleClicked, this,
            [this] { run([](HelpStringSearch& s) { s.GoTo(); }); });
    connect(symbols_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { buttons_[0]->setEnabled(item != nullptr); });
    kindRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(kindRow_);
    row->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"Types", "Members", "Constants"};
    for (int i = 0; i < 3; ++i) {
        kinds_[i] = new QCheckBox(QString::fromLatin1(captions[i]), kindRow_);
        kinds_[i]->setChecked(true);
        row->addWidget(kinds_[i]);
        connect(kinds_[i], &QCheckBox::toggled, this, [this] {
            if (AnywhereSearch* anywhere = anywhere_)
                guard_([anywhere] { anywhere->kindsChanged(); });
        });
    }
    row->addStretch(1);
    kindRow_->hide();
    column->addWidget(kindRow_);
}

void SearchWindow::run(void (*action)(HelpStringSearch&)) {
    if (HelpStringSearch* search = search_)
        guard_([search, action] { action(*search); });
}

void SearchWindow::showWindow(const SearchModeLook& look) {
    setWindowTitle(look.windowCaption);
    // Without the ProgID frame the list takes its room.
    frame_->setVisible(look.progIdShown);
    list_->setVisible(!look.symbolList);
    symbols_->setVisible(look.symbolList);
    kindRow_->setVisible(look.symbolList);
    if (!isVisible() && panes_) {
        const QRect panes = panes_();
        QRect placed(QPoint(panes.right() + 1, panes.top()), frameSize());
        if (const QScreen* s = screen()) {
            const QRect room = s->availableGeometry();
            if (placed.right() > room.right())
                placed.moveRight(room.right());
            if (placed.left() < room.left())
                placed.moveLeft(room.left());
        }
        move(placed.topLeft());
    }
    show();
    raise();
}

void SearchWindow::closeWindow() {
    close();
}

void SearchWindow::clearRows() {
    const QScopedValueRollback quiet(quiet_, true);
    list_->clear();
}

void SearchWindow::addRow(const QString& text, qint32 itemData) {
    auto* row = new QListWidgetItem(text, list_);
    row->setData(Qt::UserRole, itemData);
}

int SearchWindow::rowCount() const {
    return list_->count();
}

int SearchWindow::selectedRow() const {
    const QListWidgetItem* row = list_->currentItem();
    return row && row->isSelected() ? list_->currentRow() : -1;
}

QString SearchWindow::rowText(int row) const {
    const QListWidgetItem* item = list_->item(row);
    return item ? item->text() : QString();
}

qint32 SearchWindow::rowData(int row) const {
    const QListWidgetItem* item = list_->item(row);
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void SearchWindow::selectRow(int row) {
    const QScopedValueRollback quiet(quiet_, true);
    list_->setCurrentRow(row);
    list_->setFocus();
}

QString SearchWindow::progIdText() const {
    return progId_->text();
}

void SearchWindow::setProgIdText(const QString& text) {
    progId_->setText(text);
}

void SearchWindow::setGoToEnabled(bool enabled) {
    buttons_[0]->setEnabled(enabled);
}

bool SearchWindow::goToEnabled() const {
    return buttons_[0]->isEnabled();
}

void SearchWindow::showSymbols(const QList<SymbolHit>& hits) {
    symbols_->clear();
    if (hits.isEmpty())
        return;
    showWindow(searchModeLook(SearchMode::Anywhere));
    QList<QTreeWidgetItem*> items;
    items.reserve(hits.size());
    for (const SymbolHit& hit : hits) {
        const SymbolEntry& e = hit.entry;
        const bool type = e.kind == SymbolKind::Type;
        auto* item = new QTreeWidgetItem(QStringList{
            e.name, type ? QString() : e.typeName,
            hit.library + QStringLiteral(" %1.%2").arg(hit.major).arg(hit.minor), e.value});
        item->setIcon(
            0, listImage(type ? e.category
                              : memberImageIndex(e.invokeKinds, e.kind == SymbolKind::Constant)));
        item->setToolTip(0, e.help);
        items.append(item);
    }
    symbols_->addTopLevelItems(items);
    symbols_->setCurrentItem(items.first());
    symbols_->setFocus();
}

int SearchWindow::selectedSymbol() const {
    QTreeWidgetItem* item = symbols_->currentItem();
    return item && item->isSelected() ? symbols_->indexOfTopLevelItem(item) : -1;
}

int SearchWindow::kindFilter() const {
    const int bits[] = {kinds::Types, kinds::Members, kinds::Constants};
    int filter = 0;
    for (int i = 0; i < 3; ++i)
        if (kinds_[i]->isChecked())
            filter |= bits[i];
    return filter;
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (search_)
        guard_([this] { search_->WindowClosed(); });
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == list_ || watched == symbols_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            run([](HelpStringSearch& s) { s.GoTo(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
