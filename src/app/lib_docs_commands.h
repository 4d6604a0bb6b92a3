#pragma once

#include "export/doc_exporter.h"

#include <QObject>
#include <functional>

namespace vantor {

class BrowserFrame;
class LibraryBrowser;
class LibraryListView;
class MainActions;

// The "&LibDocs" commands: connects and enables the menu's export items and reads its four
// options; the window as the documentation export sees it.
class LibDocsCommands : public QObject, private DocFrame {
public:
    struct Window {
        BrowserFrame& frame;
        LibraryListView& libraries;
        LibraryBrowser& browser;
        std::function<void(bool)> setBusy;
    };

    LibDocsCommands(const MainActions& actions, Window window, const QString& programFolder,
                    const tli::TLIApplication* app, QObject* parent = nullptr);

    DocExporter& exporter() { return exporter_; }
    // How a written file is opened: the desktop's default application unless replaced.
    void setOpener(std::function<void(const QString&)> open) { open_ = std::move(open); }

private:
    // DocFrame
    DocOptions docOptions() const override;
    DocSource docSource() const override;
    DocHead docHead() const override;
    QString rtfPrefix() const override;
    void setDocMode(qint32 mode) override;
    void setBusy(bool busy) override { window_.setBusy(busy); }
    void flashStatus(const QString& text) override;
    void setClipboardText(const QString& text) override;
    void openFile(const QString& path) override { open_(path); }

    const MainActions& actions_;
    Window window_;
    DocExporter exporter_;
    std::function<void(const QString&)> open_;
};

} // namespace vantor
