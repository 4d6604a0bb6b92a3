#pragma once

#include <QStyledItemDelegate>
#include <functional>

namespace vantor {

// Draws a row of the type-info or member list: the image of the row's image index, then the
// text centred on one line, in the highlight colours when selected.
class ListRowDelegate : public QStyledItemDelegate {
public:
    // Item data role holding a List1 row's category code or a List2 row's invoke kinds.
    static constexpr int kRowDataRole = Qt::UserRole + 1;

    explicit ListRowDelegate(std::function<int(const QModelIndex&)> imageIndex,
                             QObject* parent = nullptr)
        : QStyledItemDelegate(parent), imageIndex_(std::move(imageIndex)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::function<int(const QModelIndex&)> imageIndex_;
};

// The progress bar of the status row: button face, the done part in dark blue.
class ProgressStrip : public QWidget {
public:
    using QWidget::QWidget;
    void setMaximum(qint64 max) { max_ = max; }
    void setValue(qint64 value);
    qint64 value() const { return value_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    qint64 max_ = 0;
    qint64 value_ = 0;
};

} // namespace vantor
