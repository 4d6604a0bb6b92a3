#include "catalog/sort_strings.h"

#include "catalog/cstack.h"
#include "text/text_order.h"

#include <random>

namespace vantor {

void SortStrings(QStringList& array) {
    SortStrings(array, 0, qint32(array.size()) - 1);
}

void SortStrings(QStringList& array, qint32 lo, qint32 hi) {
    lo = std::max(lo, 0);
    hi = std::min(hi, qint32(array.size()) - 1);
    // A fixed seed keeps every sort reproducible.
    std::minstd_rand random(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto greater = [](const QString& a, const QString& b) { return compareText(a, b) > 0; };
    CStack pending;
    for (;;) {
        while (lo < hi) {
            if (hi - lo == 1) {
                if (greater(array[lo], array[hi]))
                    array.swapItemsAt(lo, hi);
                break;
            }
            const auto p = qint32(unit(random) * (hi - lo + 1) + lo);
            array.swapItemsAt(std::min(p, hi), hi);
            const QString pivot = array[hi];
            qint32 i = lo;
            qint32 j = hi;
            do {
                while (!greater(array[i], pivot) && i < j)
                    ++i;
                while (!greater(pivot, array[j]) && j > i)
                    --j;
                if (i < j)
                    array.swapItemsAt(i, j);
            } while (i < j);
            array.swapItemsAt(i, hi);
            // Keep the larger part for later, so the stack stays shallow.
            if (i - lo >= hi - i) {
                pending.Push(lo);
                pending.Push(i - 1);
                lo = i + 1;
            } else {
                pending.Push(i + 1);
                pending.Push(hi);
                hi = i - 1;
            }
        }
        if (pending.Count() == 0)
            return;
        hi = pending.Pop();
        lo = pending.Pop();
    }
}

} // namespace vantor
