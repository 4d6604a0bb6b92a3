#pragma once

#include "app/ini_file.h"

#include <QString>

namespace vantor {

// The key of MRU slot n: "mru" and n with at least two digits (mru03, mru100).
QString mruKey(qint32 n);

// Moves the value of slot n (the last) into `key`, deletes slot n, stores n - 1 as the count and
// returns n - 1. The value moves whole, however long it is.
qint32 RemoveMruSlot(IniFile& ini, QStringView section, QStringView key, qint32 n);

} // namespace vantor
