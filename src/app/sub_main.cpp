#include "app/sub_main.h"

#include "app/apply_command_line.h"
#include "app/command_line_text.h"
#include "app/file_icon.h"
#include "app/hand_over_handler.h"
#include "app/help_controller.h"
#include "app/lib_docs_commands.h"
#include "app/library_file_commands.h"
#include "app/main_window.h"
#include "app/search_commands.h"
#include "app/settings_keys.h"
#include "app/start_up_rules.h"
#include "catalog/catalogs.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "help/machine_help.h"
#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"
#include "search/symbol_index.h"
#include "text/error.h"
#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPixmap>
#include <QThread>
#include <optional>

// "start-up finished" for bench/startup.sh: QT_LOGGING_RULES="vantor.startup.info=true".
Q_LOGGING_CATEGORY(startUp, "vantor.startup", QtWarningMsg)

namespace vantor {

struct Session::Parts {
    explicit Parts(const QString& folder)
        : ini(QDir(folder).filePath(QStringLiteral("vantor.ini"))) {}
    IniFile ini;
    registry::Machine machine;
    std::optional<registry::Store> store;
    std::unique_ptr<winpath::PrefixPaths> paths;
    std::unique_ptr<tli::TLIApplication> tli;
    std::unique_ptr<TliLibraryServices> libraryServices;
    std::unique_ptr<RegistryCatalogBuilders> builders;
    std::unique_ptr<help::StoreHelpMachine> helpMachine;
    std::unique_ptr<MainWindow> window;
    HelpController* help = nullptr; // owned by the window
    std::unique_ptr<Catalogs> catalogs;
    QHash<QString, QIcon> icons;
    int passes = 0;
};

Session::~Session() = default;
MainWindow& Session::window() {
    return *parts->window;
}
Catalogs& Session::catalogs() {
    return *parts->catalogs;
}
IniFile& Session::ini() {
    return parts->ini;
}
HelpController& Session::help() {
    return *parts->help;
}
int Session::waitPasses() const {
    return parts->passes;
}

namespace {

// The file check of the remembered library: a file changed after the catalog was built is read
// for its identity.
class LibraryFileCheckOverMachine : public LibraryFileCheck {
public:
    LibraryFileCheckOverMachine(const tli::TLIApplication& app, const winpath::PrefixPaths* paths,
                                QString catalogFile)
        : app_(app), paths_(paths), catalogFile_(std::move(catalogFile)) {}
    bool isNewerThanCatalog(const QString& path) override {
        const QString host = paths_ ? paths_->toHost(path) : path;
        const QFileInfo file(host);
        const QFileInfo catalog(catalogFile_);
        return !host.isEmpty() && file.exists() && catalog.exists() &&
               file.lastModified() > catalog.lastModified();
    }
    Identity readIdentity(const QString& path) override {
        const std::unique_ptr<tli::TypeLibInfo> lib = app_.typeLibInfoFromFile(path);
        return {lib->guidText(), lib->majorVersion(), lib->minorVersion()};
    }

private:
    const tli::TLIApplication& app_;
    const winpath::PrefixPaths* paths_;
    QString catalogFile_;
};

} // namespace

std::unique_ptr<Session> SubMain(StartOptions options) {
    auto session = std::make_unique<Session>();
    session->parts = std::make_unique<Session::Parts>(options.programFolder);
    Session::Parts& p = *session->parts;
    if (!options.message)
        options.message = [](const QString& text) {
            QMessageBox::information(nullptr, QStringLiteral("Vantor"), text);
        };

    if (refusesToStart(p.ini.ReadIni(settings::NormalOp))) {
        options.message(QString::fromLatin1(kRefusedStartMessage));
        return nullptr;
    }

    registry::MachineChoice choice =
        registry::chooseMachine(options.args, p.ini.ReadIni(settings::Registry), options.env);
    QString machineProblem;
    try {
        p.store.emplace(choice.machine, options.programFolder);
    } catch (const Error& e) {
        machineProblem =
            QStringLiteral("The machine's registry cannot be read: ") + e.description();
        choice.machine = registry::Machine{};
        p.store.emplace(choice.machine, options.programFolder);
    }
    p.machine = choice.machine;
    if (p.machine.kind == registry::Machine::Kind::Prefix)
        p.paths = std::make_unique<winpath::PrefixPaths>(p.machine.prefix, p.store->systemRoot());
    p.tli = std::make_unique<tli::TLIApplication>(&*p.store, p.paths.get());
    p.libraryServices = std::make_unique<TliLibraryServices>(*p.tli);
    p.builders = std::make_unique<RegistryCatalogBuilders>(*p.store, options.programFolder,
                                                           p.libraryServices.get(), p.paths.get());

    qCInfo(startUp) << "registry opened";
    MainWindow::Services services;
    winpath::PrefixPaths* paths = p.paths.get();
    QHash<QString, QIcon>* icons = &p.icons;
    services.hostPath = [paths](const QString& w) {
        return paths ? paths->toHost(w) : (w.startsWith(u'/') ? w : QString());
    };
    services.fileIcon = [services, icons](const QString& w) {
        auto it = icons->constFind(w.toLower());
        if (it == icons->constEnd())
            it = icons->insert(w.toLower(), libraryFileIcon(services.hostPath(w)));
        return *it;
    };
    services.message = options.message;
    services.application = p.tli.get();
    p.window = std::make_unique<MainWindow>(p.ini, services);
    MainWindow& window = *p.window;
    p.helpMachine = std::make_unique<help::StoreHelpMachine>(*p.store, p.paths.get());
    p.help = new HelpController(window, p.ini, *p.helpMachine, options.programFolder,
                                HelpController::programHelpFile(options.programFolder));
    // The documents name the help file that help lookup found for the library shown.
    window.libDocs()->exporter().setHelpFile(
        [help = p.help] { return help->resolver().mbrHelpFile(); });
    p.catalogs = std::make_unique<Catalogs>(options.programFolder, window, p.builders.get());
    auto* libraryFiles = // owned by the window
        new LibraryFileCommands(window, *p.catalogs, p.ini, &*p.store, *p.tli);
    const auto applyCommandLine = [&window, catalogs = p.catalogs.get(), libraryFiles,
                                   paths = p.paths.get()](const QString& commandLine) {
        ApplyCommandLine(commandLine, window, *catalogs, libraryFiles->opener(), paths);
    };
    HandOverHandler* handOver = nullptr; // owned by the window
    if (options.instance) {
        handOver = new HandOverHandler(window, applyCommandLine,
                                       [&window](bool busy) { window.SetBusy(busy); });
        QString problem;
        if (!handOver->TagWindow(options.instance->socketPath, problem))
            qWarning("vantor: this window does not take hand-overs: %s", qPrintable(problem));
        options.instance->lock.reset();
    }

    // The catalogs belong to the machine they were built from.
    const QString lastMachine = p.ini.ReadIni(settings::LastMachine);
    const bool machineChanged = !lastMachine.isEmpty() && lastMachine != p.machine.id();
    Catalogs* catalogs = p.catalogs.get();
    IniFile* ini = &p.ini;
    const QString machineId = p.machine.id();
    bool rebuildFirst = machineChanged;
    RegistryCatalogBuilders* builders = p.builders.get();
    const QAction* defineLibName = window.actions().popup(PopupCommands::DefineLibName);
    // The symbol index belongs to the machine, like the overlay; it follows every catalog load.
    window.search().useSymbolIndex(symbolIndexFile(options.programFolder, machineId),
                                   services.hostPath);
    QObject::connect(&window, &MainWindow::catalogsLoaded, &window,
                     [&window, catalogs] { window.search().catalogLoaded(catalogs->TLDefs()); });
    window.setCatalogs(catalogs, [catalogs, ini, machineId, rebuildFirst, builders,
                                  defineLibName](qint32 always) mutable {
        builders->setDefineLibNameOnRefresh(defineLibName->isChecked());
        const qint32 result = catalogs->LoadDefs(rebuildFirst ? 0 : always);
        rebuildFirst = false;
        ini->WriteIni(QString::fromLatin1(settings::LastMachine.section),
                      QString::fromLatin1(settings::LastMachine.key), machineId);
        return result;
    });

    const WindowGeometry g = readGeometry(p.ini);
    window.setGeometryTwips(g.top, g.height, g.width, g.left);
    const LibraryReference last = parseLibraryReference(p.ini.ReadIni(settings::lt_Last));
    window.show();

    qCInfo(startUp) << "window shown";
    bool loaded = false;
    const QMetaObject::Connection loadSeen =
        QObject::connect(&window, &MainWindow::catalogsLoaded, [&loaded] { loaded = true; });
    window.enableTimer1(QStringLiteral("LoadDefs"));
    window.SetBusy(true);
    QElapsedTimer waited;
    waited.start();
    const qint64 bound = qint64(options.waitBoundSeconds) * 1000;
    bool timedOut = false;
    while (!loaded || p.passes < 7) {
        if (waited.elapsed() >= bound) {
            timedOut = true;
            break;
        }
        QThread::msleep(static_cast<unsigned long>(options.passMilliseconds));
        QCoreApplication::processEvents();
        ++p.passes;
    }
    QObject::disconnect(loadSeen);
    if (!machineProblem.isEmpty()) {
        window.Status(machineProblem);
    } else if (timedOut) {
        window.Status(QStringLiteral("the catalog load did not finish in %1 s; going on with the "
                                     "catalog there is")
                          .arg(options.waitBoundSeconds));
    }

    qCInfo(startUp) << "catalog wait over after" << p.passes << "passes";
    if (window.GoodLoadDef() != 0) {
        window.Status(QStringLiteral("No catalog could be read or built in ") +
                      QDir::toNativeSeparators(options.programFolder));
        window.SetBusy(false);
        if (handOver)
            handOver->setReady();
        return session;
    }
    window.LVLoadMRU();

    const QString commandLine = rewriteCommandLine(choice.commandLine.trimmed());
    try {
        if (!commandLine.isEmpty()) {
            applyCommandLine(commandLine);
        } else {
            LibraryFileCheckOverMachine check(*p.tli, p.paths.get(), catalogs->typeLibFile());
            const StartLibrary start = chooseStartLibrary(last, catalogs->TLDefs(), check);
            if (!start.status.isEmpty()) {
                window.Status(start.status);
                window.enableTimer1();
            }
            if (start.index >= 0)
                window.SelTypInfo(start.index, start.typeInfo);
        }
    } catch (const Error&) {
        // As every error of start-up: the window goes on with the state reached.
    }
    window.SetBusy(false);
    window.list1()->setFocus();
    qCInfo(startUp) << "start-up finished";
    if (handOver)
        handOver->setReady();
    return session;
}

} // namespace vantor
