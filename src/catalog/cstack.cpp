#include "catalog/cstack.h"

namespace vantor {

void CStack::Push(qint32 value) {
    ++count_;
    if (count_ > Capacity())
        items_.resize(Capacity() + kStep);
    items_[count_ - 1] = value;
}

qint32 CStack::Pop() {
    if (count_ < 1)
        return 0;
    const qint32 value = items_[count_ - 1];
    --count_;
    if (Capacity() > kStep && count_ + 2 < Capacity() - kStep)
        items_.resize(Capacity() - kStep);
    return value;
}

} // namespace vantor
