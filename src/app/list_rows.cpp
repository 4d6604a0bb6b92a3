#include "app/list_rows.h"

#include "app/icon_set.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace vantor {

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    const QRect iconRect(option.rect.left() + 2,
                         option.rect.top() + (option.rect.height() - 16) / 2, 16, 16);
    listImage(imageIndex_(index)).paint(painter, iconRect);
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(22, 0, -2, 0);
    painter->drawText(
        textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(pal.mid().color());
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), std::max(18, option.fontMetrics.height() + 2)};
}

void ProgressStrip::setValue(qint64 value) {
    value_ = value;
    repaint();
}

void ProgressStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    if (value_ > 0 && max_ > 0) {
        const qint64 v = std::min(value_, max_);
        p.fillRect(QRect(0, 0, static_cast<int>(width() * v / max_), height()), QColor(0, 0, 192));
    }
}

} // namespace vantor
