#pragma once

#include "app/library_file_opener.h"

#include <QObject>
#include <functional>

class QAction;

namespace vantor {

class Catalogs;
class MainWindow;

// The window's side of opening library files: "Open Library File..." (Ctrl+O) on the View menu,
// files dropped on the window, and "Unregister Library File" in the library list's popup.
class LibraryFileCommands : public QObject, private LibraryFileFrame {
    Q_OBJECT
public:
    LibraryFileCommands(MainWindow& window, Catalogs& catalogs, IniFile& ini,
                        registry::Store* store, const tli::TLIApplication& app);

    LibraryFileOpener& opener() { return opener_; }
    QAction* openAction() const { return open_; }
    // Replaces the dialog that picks one of several libraries in a file (tests choose).
    void setChooser(std::function<int(const QString&, const QStringList&)> chooser) {
        chooser_ = std::move(chooser);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // LibraryFileFrame
    int chooseLibrary(const QString& file, const QStringList& choices) override;
    void flashStatus(const QString& text) override;
    void reloadCatalogs() override;
    bool openCatalogLibrary(const QString& catalogKey) override;

    void openFromDialog();

    MainWindow& window_;
    Catalogs& catalogs_;
    LibraryFileOpener opener_;
    QAction* open_ = nullptr;
    std::function<int(const QString&, const QStringList&)> chooser_;
};

} // namespace vantor
