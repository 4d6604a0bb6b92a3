#pragma once

#include "export/send_defs_to_browser.h"

#include <QObject>
#include <functional>

namespace vantor {

class CatalogFrame;
class Catalogs;
class IniFile;
class MainActions;

// The list popup's two catalog exports: connects and enables their items and keeps the browser
// window between exports, as the window's own object.
class BrowserExportCommands : public QObject, private BrowserExportFrame {
public:
    struct Window {
        std::function<const Catalogs*()> catalogs;
        CatalogFrame& frame; // status line and hourglass
        const IniFile& ini;
        std::function<void(const QString&)> message;
        std::function<void()> enableStatusTimer;
    };

    BrowserExportCommands(const MainActions& actions, Window window, const QString& programFolder,
                          QObject* parent = nullptr);

    BrowserWindow& browserWindow() { return browser_; }

private:
    void run(bool typeLibs);
    // BrowserExportFrame
    void status(const QString& text) override;
    void setBusy(bool busy) override;
    void message(const QString& text) override { window_.message(text); }
    BrowserChoice browserChoice() const override;

    Window window_;
    BrowserWindow browser_;
};

} // namespace vantor
