// Until the main window exists, vantor opens the chosen machine's registry, loads (or builds)
// the catalogs of its program folder and reports what it found: the catalog summary's counts
// and the library start-up would open.
#include "app/console_frame.h"
#include "app/ini_file.h"
#include "app/program_folder.h"
#include "app/start_up_rules.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "catalog/registry_catalog_builders.h"
#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <memory>
#include <optional>

using namespace vantor;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString folder = ProgramFolder();
    IniFile ini(QDir(folder).filePath(QStringLiteral("vantor.ini")));
    if (refusesToStart(ini.ReadIni(settings::NormalOp))) {
        err << kRefusedStartMessage << Qt::endl;
        return 1;
    }
    out << "Program folder: " << folder << Qt::endl;

    registry::MachineChoice choice =
        registry::chooseMachine(app.arguments().mid(1), ini.ReadIni(settings::Registry),
                                QProcessEnvironment::systemEnvironment());
    std::optional<registry::Store> store;
    try {
        store.emplace(choice.machine, folder);
    } catch (const Error& e) {
        err << "The machine's registry cannot be read: " << e.description() << Qt::endl;
        choice.machine = registry::Machine{};
        store.emplace(choice.machine, folder);
    }
    const registry::Machine& machine = choice.machine;
    for (const registry::ParseIssue& issue : store->issues())
        err << issue.file << ":" << issue.line << ": " << issue.reason << Qt::endl;
    out << "Machine: "
        << (machine.kind == registry::Machine::Kind::None ? QStringLiteral("none (overlay only)")
                                                          : machine.canonicalPath())
        << Qt::endl;

    // The catalogs belong to the machine they were built from.
    const QString lastMachine = ini.ReadIni(settings::LastMachine);
    const bool machineChanged = !lastMachine.isEmpty() && lastMachine != machine.id();
    std::unique_ptr<winpath::PrefixPaths> paths;
    if (machine.kind == registry::Machine::Kind::Prefix)
        paths = std::make_unique<winpath::PrefixPaths>(machine.prefix, store->systemRoot());
    RegistryCatalogBuilders builders(*store, folder, nullptr, paths.get());
    ConsoleFrame frame;
    Catalogs catalogs(folder, frame, &builders);
    const qint32 failed = catalogs.LoadDefs(machineChanged ? 0 : 1);
    ini.WriteIni(QString::fromLatin1(settings::LastMachine.section),
                 QString::fromLatin1(settings::LastMachine.key), machine.id());
    out << "Definitions DB: " << catalogs.typeLibCount() << " TypeLibs, " << catalogs.progIdCount()
        << " ProgIDs loaded from CSV" << Qt::endl;
    if (failed != 0) {
        out << "No catalog could be read or built in " << folder << Qt::endl;
        return 0;
    }

    LibraryChoice last = splitLastLibrary(ini.ReadIni(settings::lt_Last));
    if (last.guid.isEmpty())
        last = firstFallbackLibrary();
    qint32 index = 0;
    if (BinSearch(catalogs.TLDefs(), catalogKey(last), index) == 1)
        out << "Remembered library: " << GetToken(4, catalogs.TLDefs()[index]) << " ("
            << last.typeInfo << ")" << Qt::endl;
    else
        out << "Remembered library " << catalogKey(last) << " is not in the catalog" << Qt::endl;
    return 0;
}
