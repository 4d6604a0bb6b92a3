#pragma once

#include "platform/registry/hive.h"

#include <QByteArray>
#include <QString>

namespace vantor::registry::test {

enum class RegForm { Regedit4, Version5 };

// Whether a key's own name and values can be written in a REGEDIT4 (Windows-1252) file.
bool regedit4CanHold(const Key* key);

// A .reg export of every key below `base` under the root `rootName`, as regedit writes one.
// Keys it cannot express (links; in REGEDIT4, keys regedit4CanHold refuses) are left out with
// their subtrees and counted in `skipped`.
QByteArray exportReg(const Key* base, const QString& rootName, RegForm form, int& skipped);

} // namespace vantor::registry::test
