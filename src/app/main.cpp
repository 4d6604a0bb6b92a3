// Until the main window exists, vantor opens the chosen machine's registry, loads the catalogs of
// its program folder and reports what it found: the catalog summary's counts and the library
// start-up would open.
#include "app/console_frame.h"
#include "app/ini_file.h"
#include "app/program_folder.h"
#include "app/start_up_rules.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "text/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace vantor;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString folder = ProgramFolder();
    const IniFile ini(QDir(folder).filePath(QStringLiteral("vantor.ini")));
    if (refusesToStart(ini.ReadIni(settings::NormalOp))) {
        QTextStream(stderr) << kRefusedStartMessage << Qt::endl;
        return 1;
    }
    out << "Program folder: " << folder << Qt::endl;

    const registry::MachineChoice choice =
        registry::chooseMachine(app.arguments().mid(1), ini.ReadIni(settings::Registry),
                                QProcessEnvironment::systemEnvironment());
    const registry::Machine& machine = choice.machine;
    out << "Machine: "
        << (machine.kind == registry::Machine::Kind::None ? QStringLiteral("none (overlay only)")
                                                          : machine.canonicalPath())
        << Qt::endl;
    try {
        const registry::Store store(machine, folder);
        for (const registry::ParseIssue& issue : store.issues())
            QTextStream(stderr) << issue.file << ":" << issue.line << ": " << issue.reason
                                << Qt::endl;
        out << "Registry: " << store.subkeyNames(registry::Root::ClassesRoot, u"TypeLib").size()
            << " type library GUIDs, " << store.subkeyNames(registry::Root::ClassesRoot, u"").size()
            << " keys under HKEY_CLASSES_ROOT" << Qt::endl;
    } catch (const Error& e) {
        out << "The machine's registry cannot be read: " << e.description() << Qt::endl;
    }
    IniFile(ini.path())
        .WriteIni(QString::fromLatin1(settings::LastMachine.section),
                  QString::fromLatin1(settings::LastMachine.key), machine.id());

    ConsoleFrame frame;
    Catalogs catalogs(folder, frame);
    const qint32 failed = catalogs.LoadDefs(1);
    out << "Definitions DB: " << catalogs.typeLibCount() << " TypeLibs, " << catalogs.progIdCount()
        << " ProgIDs loaded from CSV" << Qt::endl;
    if (failed != 0) {
        out << "No catalog could be read from " << folder
            << " (dbTypes.dat, dbPID.dat); building them from a registry comes with a later "
               "version."
            << Qt::endl;
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
