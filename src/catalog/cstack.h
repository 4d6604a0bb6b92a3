#pragma once

#include <QList>

namespace vantor {

// Growable stack of 32-bit integers: the pending ranges of the iterative quicksorts. Capacity
// moves in steps of 10 and never drops below 10.
class CStack {
public:
    void Push(qint32 value);
    // 0 on an empty stack, which stays unchanged.
    qint32 Pop();
    qint32 Count() const { return count_; }
    qint32 Capacity() const { return qint32(items_.size()); }

private:
    QList<qint32> items_ = QList<qint32>(kStep);
    qint32 count_ = 0;
    static constexpr qint32 kStep = 10;
};

} // namespace vantor
