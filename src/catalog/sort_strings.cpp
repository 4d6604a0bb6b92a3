#include "catalog/sort_strings.h"

#include "catalog/range_sort.h"
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
    quickSortRanges(lo, hi, [&](qint32 first, qint32 last) -> std::pair<qint32, qint32> {
        if (last - first == 1) {
            if (greater(array[first], array[last]))
                array.swapItemsAt(first, last);
            return {first, last};
        }
        const auto p = qint32(unit(random) * (last - first + 1) + first);
        array.swapItemsAt(std::min(p, last), last);
        const QString pivot = array[last];
        qint32 i = first;
        qint32 j = last;
        do {
            while (!greater(array[i], pivot) && i < j)
                ++i;
            while (!greater(pivot, array[j]) && j > i)
                --j;
            if (i < j)
                array.swapItemsAt(i, j);
        } while (i < j);
        array.swapItemsAt(i, last);
        return {i, i};
    });
}

} // namespace vantor
