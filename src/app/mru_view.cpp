#include "app/mru_view.h"

#include "app/icon_set.h"
#include "app/mru_slots.h"
#include "app/settings_keys.h"
#include "catalog/bin_search.h"
#include "catalog/get_token.h"
#include "text/error.h"
#include "text/text_order.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace vantor {

namespace {
const QString kMru = QString::fromLatin1(settings::MruSection);

// A catalog path without its trailing resource number ("\3").
QString withoutResourceNumber(QString path) {
    if (path.size() >= 2 && path.at(path.size() - 2) == u'\\')
        path.chop(2);
    return path;
}
} // namespace

MruView::MruView(IniFile& ini, std::function<QIcon(const QString&)> fileIcon, QWidget* parent)
    : QTreeWidget(parent), ini_(ini), fileIcon_(std::move(fileIcon)) {
    setColumnCount(4);
    setHeaderLabels({QStringLiteral("HelpString"), QStringLiteral("LibName"),
                     QStringLiteral("TypeLib"), QStringLiteral("Version")});
    const int widths[] = {110, 90, 130, 70};
    for (int c = 0; c < 4; ++c)
        setColumnWidth(c, widths[c]);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setAllColumnsShowFocus(true);
    header()->setSectionsMovable(true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header(), &QHeaderView::sectionClicked, this, &MruView::sortByHeader);
    connect(this, &QWidget::customContextMenuRequested, this, &MruView::showContextMenu);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this] { emit browseRequested(); });
}

qint32 MruView::itemData(const QTreeWidgetItem* row) {
    return row ? row->data(0, kItemData).toInt() : 0;
}

qint32 MruView::LVLoadMRU(const QStringList& tlDefs) {
    clear();
    count_ = ini_.ReadIni(settings::MruCount).toInt();
    for (qint32 n = 1; n <= count_; ++n) {
        const QStringList fields = ini_.ReadIni(kMru, mruKey(n), QString()).split(u'#');
        if (fields.size() < 4)
            continue; // a damaged slot shows no row, but keeps its number
        QIcon icon = listImage(22);
        qint32 index = 0;
        if (BinSearch(tlDefs, fields[0], index) == 1) {
            try {
                const QString path = withoutResourceNumber(GetToken(4, tlDefs[index]));
                const QIcon own = fileIcon_ ? fileIcon_(path) : QIcon();
                icon = own.isNull() ? listImage(libraryFileImageIndex(path)) : own;
            } catch (const Error&) {
                // A record without a path field keeps the generic image.
            }
        }
        auto* row = new QTreeWidgetItem(this, {fields[2], fields[3], fields[0], fields[1]});
        row->setIcon(0, icon);
        row->setData(0, kItemData, -n);
    }
    sortRows(LibName, 1);
    return count_;
}

int MruView::findLibraryRow(const QString& guid) const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (equalsText(topLevelItem(i)->text(TypeLib), guid))
            return i;
    return -1;
}

int MruView::currentLibraryRow() const {
    return currentItem() ? indexOfTopLevelItem(currentItem()) : -1;
}

QString MruView::libraryRowText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

void MruView::setLibraryRowText(int row, int column, const QString& text) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setText(column, text);
}

int MruView::insertLibraryRow(const QString& helpString, const QString& guid,
                              const QString& version, qint32 pathBoxIndex, const QString& path) {
    auto* row = new QTreeWidgetItem({helpString, QString(), guid, version});
    const QIcon own = fileIcon_ ? fileIcon_(withoutResourceNumber(path)) : QIcon();
    row->setIcon(0, own.isNull() ? listImage(libraryFileImageIndex(path)) : own);
    row->setData(0, kItemData, pathBoxIndex);
    insertTopLevelItem(0, row);
    return 0;
}

void MruView::showLibraryRow(int row) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        setCurrentItem(item);
        scrollToItem(item);
    }
}

QString MruView::addToMru(QTreeWidgetItem* row, const QList<PathBoxEntry>& pathBox) {
    const qint32 data = itemData(row);
    if (!row || data < 0)
        return QStringLiteral("null: already there in MRU");
    if (data >= pathBox.size())
        return QStringLiteral("null: no such library in the path box");
    const qint32 slot = count_ + 1;
    const QString entry = QStringList{row->text(TypeLib), row->text(Version), row->text(HelpString),
                                      row->text(LibName), pathBox[data].text.right(3).toLower()}
                              .join(u'#');
    if (!ini_.WriteIni(kMru, QStringLiteral("count"), slot) ||
        !ini_.WriteIni(kMru, mruKey(slot), entry))
        return QStringLiteral("failure: vantor.ini cannot be written");
    count_ = slot;
    row->setData(0, kItemData, -slot);
    return QStringLiteral("success: Added MRU ") + QString::number(count_);
}

QString MruView::removeFromMru(QTreeWidgetItem* row) {
    const qint32 data = itemData(row);
    if (!row || data >= 0)
        return QStringLiteral("null: no entry in MRU");
    const qint32 n = -data;
    const qint32 last = count_;
    count_ = RemoveMruSlot(ini_, kMru, mruKey(n), last);
    // The entry of the last slot now lives in slot n: its row follows it.
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* other = topLevelItem(i);
        if (other != row && itemData(other) == -last)
            other->setData(0, kItemData, -n);
    }
    delete row;
    return QStringLiteral("success: removed MRU ") + QString::number(count_);
}

void MruView::sortByHeader(int column) {
    if (column < 0 || column > 3)
        return;
    sortRows(column, modes_[column] == 0 ? 1 : 0);
}

void MruView::sortRows(int column, int mode) {
    QList<QTreeWidgetItem*> rows;
    while (topLevelItemCount() > 0)
        rows.append(takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const int c = compareText(a->text(column), b->text(column));
        return mode == 0 ? c < 0 : c > 0;
    });
    addTopLevelItems(rows);
    modes_[column] = mode;
    if (sortedColumn_ >= 0 && sortedColumn_ != column)
        headerItem()->setIcon(sortedColumn_, QIcon());
    headerItem()->setIcon(column, listImage(mode == 1 ? 18 : 19));
    sortedColumn_ = column;
}

void MruView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit browseRequested();
        return;
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Q:
    case Qt::Key_N:
        return;
    default:
        QTreeWidget::keyPressEvent(event);
    }
}

void MruView::showContextMenu(const QPoint& pos) {
    QTreeWidgetItem* row = itemAt(pos);
    if (!row)
        return;
    QMenu menu(this);
    QAction* vbRef = menu.addAction(QStringLiteral("Copy VB TypeLib Reference"));
    menu.addSeparator();
    QAction* wshRef = menu.addAction(QStringLiteral("Copy WSH TypeLib Reference"));
    menu.addSeparator();
    QAction* browse = menu.addAction(QStringLiteral("Browse Typelib      Enter"));
    menu.setDefaultAction(browse);
    menu.addSeparator();
    QAction* add = menu.addAction(QStringLiteral("Add Lib to MRU"));
    menu.addSeparator();
    QAction* remove = menu.addAction(QStringLiteral("Remove Lib from MRU"));
    const QString guid = row->text(TypeLib), version = row->text(Version);
    QAction* unregister = nullptr;
    if (unregisterOffered_ && unregisterOffered_(guid, version)) {
        menu.addSeparator();
        unregister = menu.addAction(QStringLiteral("Unregister Library File"));
    }
    QAction* chosen = menu.exec(viewport()->mapToGlobal(pos));
    if (chosen == vbRef || chosen == wshRef) {
        emit referenceRequested(chosen == vbRef, itemData(row), guid, version);
    } else if (chosen == browse) {
        setCurrentItem(row);
        emit browseRequested();
    } else if (chosen == add) {
        emit statusMessage(addToMru(row, pathBox_ ? *pathBox_ : QList<PathBoxEntry>()));
    } else if (chosen == remove) {
        emit statusMessage(removeFromMru(row));
    } else if (chosen && chosen == unregister) {
        unregister_(guid, version);
    }
}

} // namespace vantor
