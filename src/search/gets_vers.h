#pragma once

#include <QString>

namespace vantor {

// The version hint of a ProgID: its short numeric parts (under 3 characters, below 500) joined;
// two digits give "d.d", anything else that text + ".0" (".0" alone: no hint). "X.Y.8" gives
// 8.0, "X.Y.12" gives 1.2.
QString GetsVers(const QString& progId);

// The hint that asks for no particular version.
inline const QString kNoVersionHint = QStringLiteral(".0");

} // namespace vantor
