#pragma once

#include <QString>
#include <QStringList>

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

// The registry's key of a library version: major and minor in hexadecimal ("1.0", "5.a").
QString typeLibVersionKey(quint16 major, quint16 minor);

// Points every other location registered for the library version (other locales and
// platforms) at `windowsPath` in the overlay, so that this file wins over a registration of
// another one. Returns the paths it replaced. Throws vantor::Error when a write fails.
QStringList claimTypeLibLocations(registry::Store& store, const QString& guid,
                                  const QString& versionKey, const QString& windowsPath);

// Removes the overlay's keys of a library version: its TypeLib version key and the Interface
// keys that name the library. The machine's own keys show again. False when the overlay held
// none of them.
bool unregisterTypeLib(registry::Store& store, const QString& guid, const QString& versionKey);

} // namespace vantor::tli
