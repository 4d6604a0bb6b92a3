#pragma once

#include "app/ini_file.h"
#include "catalog/catalogs.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "tli/tli_application.h"

#include <QProcessEnvironment>
#include <memory>
#include <optional>

namespace vantor::cli {

// The machine a command reads and the program folder's files for it, as vantor opens them: the
// machine options, else the settings file, $WINEPREFIX, ~/.wine; the overlay of the program
// folder; the catalogs.
class CliMachine {
public:
    // `machineArgs`: the machine options of the command line. Throws Error when the machine's
    // registry cannot be read.
    CliMachine(const QStringList& machineArgs, QString programFolder,
               const QProcessEnvironment& env);
    ~CliMachine();

    registry::Store& store() { return *store_; }
    const winpath::PrefixPaths* paths() const { return paths_.get(); }
    const tli::TLIApplication& application() const { return *app_; }
    IniFile& ini() { return ini_; }
    const QString& programFolder() const { return programFolder_; }

    // The folder of this machine's catalogs: the program folder when its catalogs are this
    // machine's ([Platform] LastMachine), else a cache folder of the machine's own, so that the
    // window's catalogs stay as they are.
    QString catalogFolder() const;
    // The symbol index of this machine, beside its catalogs: the window's own file only when
    // the catalogs are the program folder's.
    QString indexFile() const;
    // The catalogs, loaded on first use: read, or built (with progress lines on stderr) when
    // missing. Throws Error when none could be read or built.
    const Catalogs& catalogs();

    // The host file of a path as the machine names it (a Windows path, or a host path).
    QString hostPath(const QString& path) const;

private:
    QString programFolder_;
    IniFile ini_;
    registry::Machine machine_;
    std::optional<registry::Store> store_;
    std::unique_ptr<winpath::PrefixPaths> paths_;
    std::unique_ptr<tli::TLIApplication> app_;
    std::unique_ptr<TliLibraryServices> services_;
    std::unique_ptr<RegistryCatalogBuilders> builders_;
    std::unique_ptr<CatalogFrame> frame_;
    std::unique_ptr<Catalogs> catalogs_;
};

} // namespace vantor::cli
