#pragma once

#include <QString>

namespace vantor::registry {
class Store;
}

namespace vantor {

// A ProgID for a class: library + "." + class when that key exists with subkeys, else the
// ProgID the CLSID's registration names, else "".
QString GetPID(const registry::Store& store, const QString& lib, const QString& cls,
               const QString& clsid);

} // namespace vantor
