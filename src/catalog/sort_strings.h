#pragma once

#include <QStringList>

namespace vantor {

// Sorts array[lo..hi] in place, ascending in the text order; the whole array when the bounds
// are left out. Iterative quicksort with a random pivot; equal strings keep no particular order.
void SortStrings(QStringList& array);
void SortStrings(QStringList& array, qint32 lo, qint32 hi);

} // namespace vantor
