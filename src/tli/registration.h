#pragma once

#include <QString>

namespace vantor::registry {
class Store;
}

namespace vantor::tli {

class TypeLib;

// Writes what the system's registration of a library writes, into the store's overlay:
// TypeLib\{guid}\{major.minor in hex} with the help string, its locale key with the platform
// key (win64 for a PE32+ file or a 64-bit library, else win32) holding `windowsPath`, FLAGS and
// HELPDIR; an Interface key for every dual, dispatch or oleautomation interface. `hostPath` is
// the file as this machine reads it. Throws vantor::Error when a write fails.
void registerTypeLib(registry::Store& store, const TypeLib& lib, const QString& windowsPath,
                     const QString& hostPath);

} // namespace vantor::tli
