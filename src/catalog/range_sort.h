#pragma once

#include "catalog/cstack.h"

#include <utility>

namespace vantor {

// The iterative quicksort of the catalogs and the type-info grouping: positions lo..hi are
// sorted range by range, the pending ranges waiting on a CStack. `partition(lo, hi)` arranges a
// range (at least two positions) around a pivot and returns the first and last position of the
// pivot's block: everything before it sorts lower, everything after it higher.
template <class Partition> void quickSortRanges(qint32 lo, qint32 hi, Partition partition) {
    CStack pending;
    for (;;) {
        while (lo < hi) {
            const std::pair<qint32, qint32> block = partition(lo, hi);
            // The larger part waits on the stack, so the stack stays shallow.
            if (block.first - lo >= hi - block.second) {
                pending.Push(lo);
                pending.Push(block.first - 1);
                lo = block.second + 1;
            } else {
                pending.Push(block.second + 1);
                pending.Push(hi);
                hi = block.first - 1;
            }
        }
        if (pending.Count() == 0)
            return;
        hi = pending.Pop();
        lo = pending.Pop();
    }
}

} // namespace vantor
