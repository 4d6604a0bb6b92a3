#include "app/browser_export_commands.h"

#include "app/ini_file.h"
#include "app/main_actions.h"
#include "app/settings_keys.h"
#include "catalog/catalogs.h"

#include <QAction>

namespace vantor {

BrowserExportCommands::BrowserExportCommands(const MainActions& actions, Window window,
                                             const QString& programFolder, QObject* parent)
    : QObject(parent), window_(std::move(window)),
      browser_(programFolder + QStringLiteral("/browser-profile")) {
    for (const auto& [command, typeLibs] :
         {std::pair{PopupCommands::ExportTypeLibs, true}, {PopupCommands::ExportProgIds, false}}) {
        connect(actions.popup(command), &QAction::triggered, this,
                [this, typeLibs] { run(typeLibs); });
    }
}

void BrowserExportCommands::run(bool typeLibs) {
    const Catalogs* catalogs = window_.catalogs();
    const QStringList none{QString()};
    const QStringList& defs = !catalogs  ? none
                              : typeLibs ? catalogs->TLDefs()
                                         : catalogs->PIDDefs();
    try {
        ExportDefsToBrowser(defs, typeLibs ? QStringLiteral("TL") : QStringLiteral("PID"), browser_,
                            *this);
    } catch (const std::exception& e) {
        // Out of memory for a page, say: never past the event handler.
        setBusy(false);
        status(QString::fromLocal8Bit(e.what()));
    }
    window_.enableStatusTimer();
}

void BrowserExportCommands::status(const QString& text) {
    window_.frame.Status(text);
}

void BrowserExportCommands::setBusy(bool busy) {
    window_.frame.SetBusy(busy);
}

BrowserChoice BrowserExportCommands::browserChoice() const {
    // Uncut: a command line may well be longer than a profile string read returns.
    const auto whole = [this](const settings::Key& key) {
        return window_.ini.ReadWhole(QString::fromLatin1(key.section), QString::fromLatin1(key.key))
            .value_or(QString());
    };
    return {whole(settings::Browser), whole(settings::BrowserArgs)};
}

} // namespace vantor
