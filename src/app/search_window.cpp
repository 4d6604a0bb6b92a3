#include "app/search_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
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

void SearchWindow::run(void (*action)(HelpStringSearch&)) {
    if (HelpStringSearch* search = search_)
        guard_([search, action] { action(*search); });
}

void SearchWindow::showWindow(const SearchModeLook& look) {
    setWindowTitle(look.windowCaption);
    // Without the ProgID frame the list takes its room.
    frame_->setVisible(look.progIdShown);
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

void SearchWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (search_)
        guard_([this] { search_->WindowClosed(); });
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            run([](HelpStringSearch& s) { s.GoTo(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
