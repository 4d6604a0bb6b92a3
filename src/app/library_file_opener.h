#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

class IniFile;
namespace registry {
class Store;
}
namespace tli {
class TLIApplication;
}

// What opening a library file asks of the window.
class LibraryFileFrame {
public:
    virtual ~LibraryFileFrame() = default;
    // A file with several libraries: the index of the one to open, or -1 to open none.
    virtual int chooseLibrary(const QString& file, const QStringList& choices) = 0;
    // A status message that returns to "Ready...  " later.
    virtual void flashStatus(const QString& text) = 0;
    // Rebuilds the catalogs from the registry and reloads them, as Refresh does: the path box,
    // the library list rows and the history start again.
    virtual void reloadCatalogs() = 0;
    // Loads the catalog's library of this key ("{GUID}, major.minor"); false when it is not
    // in the catalog.
    virtual bool openCatalogLibrary(const QString& catalogKey) = 0;
};

// "Open Library File...": any type library file, or a PE file's TYPELIB resource, is registered
// into the machine's overlay hive (the machine's own files are never written), the catalogs are
// rebuilt and the library is loaded as a catalog entry is. Libraries opened so are recorded in
// the settings file and can be unregistered again.
class LibraryFileOpener {
public:
    // `store` null: a machine without a registry, where nothing can be registered.
    LibraryFileOpener(LibraryFileFrame& frame, IniFile& ini, registry::Store* store,
                      const tli::TLIApplication& app);

    // `path`: a host path. Returns whether a library was registered and loaded; every outcome
    // is said on the status line.
    bool openLibraryFile(const QString& path);

    // Whether this command registered the library ("{GUID}", "major.minor" as the catalog
    // writes it).
    bool isOpenedFile(const QString& guid, const QString& version) const;
    // Removes the overlay keys this command wrote for the library and reloads the catalogs.
    bool unregisterLibraryFile(const QString& guid, const QString& version);

private:
    bool registerResource(const QString& file, const QString& hostPath);

    LibraryFileFrame& frame_;
    IniFile& ini_;
    registry::Store* store_;
    const tli::TLIApplication& app_;
};

} // namespace vantor
