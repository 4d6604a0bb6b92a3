#pragma once

#include <QString>
#include <QStringView>

namespace vantor {

// A registry version key (hexadecimal parts) in the catalog's form: a part above 9 becomes its
// decimal value, others stay as written (1.0 stays 1.0, 1.a becomes 1.10, 2.10 becomes 2.16).
QString HexVer(QStringView versionKey);

} // namespace vantor
