#pragma once

#include "catalog/c_registry.h"
#include "catalog/catalog_frame.h"

#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace vantor {

namespace winpath {
class PrefixPaths;
}

// What the catalog builders need of the type information component.
class TypeLibraryServices {
public:
    virtual ~TypeLibraryServices() = default;
    // The name of the library registered under these; throws Error when it cannot be opened.
    virtual QString registeredLibraryName(const QString& guid, int major, int minor, int lcid) = 0;
    // Opens the type library of a file (a Windows path) and registers it; throws Error.
    virtual void registerLibraryFile(const QString& windowsPath) = 0;
};

// The catalog builders over a machine's registry: EnumTL writes dbTypes.dat, EnumPID
// dbPID.dat, RegScriptHost registers the script host's libraries when they are missing.
// Problems go to TLError.log in the program folder.
class RegistryCatalogBuilders : public CatalogBuilders {
public:
    // `services` and `paths` may be null: then library names stay "LibName", no library can be
    // registered, and no file of the machine is found.
    RegistryCatalogBuilders(registry::Store& store, QString programFolder,
                            TypeLibraryServices* services, const winpath::PrefixPaths* paths);

    // "Define Libname on Refresh": EnumTL writes each library's own name.
    void setDefineLibNameOnRefresh(bool on) { defineLibName_ = on; }
    // The pause after each registration message, so it can be read (500 ms).
    void setSleep(std::function<void(int ms)> sleep) { sleep_ = std::move(sleep); }

    void RegScriptHost(CatalogFrame& frame) override;
    void EnumTL(CatalogFrame& frame) override;
    void EnumPID(CatalogFrame& frame) override;

    // The machine's default locale number (1033 when it names none).
    qint32 systemLocale() const;

private:
    // Lets the window repaint during a walk, at most every 50 ms.
    void yieldToEvents(CatalogFrame& frame);
    QString logLineHead(const char* file, qsizetype keys) const;
    // Writes a finished catalog in one piece, replacing the old one only when complete.
    void writeCatalog(const QString& name, const QString& text, const QString& log);
    bool machineFileExists(const QString& windowsPath) const;

    registry::Store& store_;
    QString programFolder_;
    TypeLibraryServices* services_;
    const winpath::PrefixPaths* paths_;
    bool defineLibName_ = false;
    std::function<void(int)> sleep_;
    QElapsedTimer sinceEvents_;
};

} // namespace vantor
