#pragma once

#include "export/doc_exporter.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace vantor {

class BrowserFrame;
class LibraryBrowser;
class LibraryListView;

// The "&LibDocs" menu: the export commands and their four options, and the window as the
// documentation export sees it.
class LibDocsMenu : public QObject, private DocFrame {
public:
    struct Window {
        BrowserFrame& frame;
        LibraryListView& libraries;
        LibraryBrowser& browser;
        std::function<void(bool)> setBusy;
    };

    LibDocsMenu(QMenu* menu, Window window, const QString& programFolder,
                const tli::TLIApplication* app);

    QAction* groupAction() const { return group_; }
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
    void openFile(const QString& path) override;

    Window window_;
    DocExporter exporter_;
    std::function<void(const QString&)> open_;
    QAction* write_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* openOption_ = nullptr;
    QAction* group_ = nullptr;
};

} // namespace vantor
