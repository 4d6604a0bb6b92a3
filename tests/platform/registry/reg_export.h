#pragma once

#include "platform/registry/hive.h"

#include <QByteArray>
#include <QString>

namespace vantor::registry::test {

// A version-5 .reg export of every key below `base` under the root `rootName`, as regedit writes
// one. Links, which a .reg file cannot express, are left out with their subtrees and counted in
// `skipped`.
QByteArray exportReg(const Key* base, const QString& rootName, int& skipped);

} // namespace vantor::registry::test
