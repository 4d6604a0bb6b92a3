#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace vantor {

// Prefix binary search over a catalog: 1 when an element starts with `key` (ignoring case),
// with `index` set to it; otherwise 0 with `index` set to the insertion position. A bare GUID
// finds some record of that GUID, not necessarily the first.
int BinSearch(const QStringList& array, QStringView key, qint32& index);

} // namespace vantor
