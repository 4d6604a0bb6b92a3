#include "cli/cli_machine.h"

#include "app/settings_keys.h"
#include "search/symbol_index.h"
#include "text/error.h"
#include "tli/session.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace vantor::cli {

namespace {

// A catalog build takes long: its status lines go to stderr so that a script's user sees why.
class ProgressFrame : public CatalogFrame {
public:
    void setBuilding(bool building) { building_ = building; }
    void Status(const QString& text) override {
        if (building_ && text != last_ && !text.startsWith(QLatin1String("Ready")))
            std::fprintf(stderr, "vantor-cli: %s\n", qPrintable(text));
        last_ = text;
    }

private:
    bool building_ = false;
    QString last_;
};

} // namespace

CliMachine::CliMachine(const QStringList& machineArgs, QString programFolder,
                       const QProcessEnvironment& env)
    : programFolder_(std::move(programFolder)),
      ini_(QDir(programFolder_).filePath(QStringLiteral("vantor.ini"))),
      machine_(
          registry::chooseMachine(machineArgs, ini_.ReadIni(settings::Registry), env).machine) {
    store_.emplace(machine_, programFolder_);
    if (machine_.kind == registry::Machine::Kind::Prefix)
        paths_ = std::make_unique<winpath::PrefixPaths>(machine_.prefix, store_->systemRoot());
    app_ = std::make_unique<tli::TLIApplication>(&*store_, paths_.get());
}

CliMachine::~CliMachine() = default;

QString CliMachine::catalogFolder() const {
    const QString last = ini_.ReadIni(settings::LastMachine);
    if (last.isEmpty() || last == machine_.id())
        return programFolder_;
    return QDir(programFolder_).filePath(QStringLiteral("machines/") + machine_.id());
}

QString CliMachine::indexFile() const {
    return symbolIndexFile(catalogFolder(), machine_.id());
}

const Catalogs& CliMachine::catalogs() {
    if (catalogs_)
        return *catalogs_;
    const QString folder = catalogFolder();
    if (!QDir().mkpath(folder))
        throw Error(Error::PathAccess, QStringLiteral("vantor-cli"),
                    QStringLiteral("cannot make the catalog folder ") + folder);
    services_ = std::make_unique<TliLibraryServices>(*app_);
    builders_ =
        std::make_unique<RegistryCatalogBuilders>(*store_, folder, services_.get(), paths_.get());
    builders_->setSleep([](int) {});
    auto frame = std::make_unique<ProgressFrame>();
    catalogs_ = std::make_unique<Catalogs>(folder, *frame, builders_.get());
    if (!QFileInfo::exists(catalogs_->typeLibFile())) {
        std::fprintf(stderr, "vantor-cli: building the catalogs of this machine in %s\n",
                     qPrintable(folder));
        frame->setBuilding(true);
    }
    frame_ = std::move(frame);
    if (catalogs_->LoadDefs(1) != 0)
        throw Error(Error::FileNotFound, QStringLiteral("vantor-cli"),
                    QStringLiteral("no catalog could be read or built in ") + folder);
    // As the window: the program folder's catalogs now belong to this machine.
    if (ini_.ReadIni(settings::LastMachine).isEmpty())
        ini_.WriteIni(QString::fromLatin1(settings::LastMachine.section),
                      QString::fromLatin1(settings::LastMachine.key), machine_.id());
    return *catalogs_;
}

QString CliMachine::hostPath(const QString& path) const {
    return app_->session()->hostPath(path);
}

} // namespace vantor::cli
