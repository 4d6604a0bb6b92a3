#include "app/library_file_commands.h"

#include "app/main_window.h"
#include "app/mru_view.h"
#include "catalog/bin_search.h"
#include "catalog/catalogs.h"

#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenuBar>
#include <QMimeData>

namespace vantor {

LibraryFileCommands::LibraryFileCommands(MainWindow& window, Catalogs& catalogs, IniFile& ini,
                                         registry::Store* store, const tli::TLIApplication& app)
    : QObject(&window), window_(window), catalogs_(catalogs), opener_(*this, ini, store, app) {
    open_ = new QAction(QStringLiteral("&Open Library File..."), this);
    open_->setShortcut(QKeySequence::Open);
    connect(open_, &QAction::triggered, this, &LibraryFileCommands::openFromDialog);
    // On the View menu, before "&Properties".
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->text() != QLatin1String("&View") || !menu->menu())
            continue;
        QAction* before = nullptr;
        for (QAction* item : menu->menu()->actions())
            if (item->text() == QLatin1String("&Properties"))
                before = item;
        menu->menu()->insertAction(before, open_);
        if (before)
            menu->menu()->insertSeparator(before);
    }
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    window.mruView()->setUnregisterCommand(
        [this](const QString& guid, const QString& version) {
            return opener_.isOpenedFile(guid, version);
        },
        [this](const QString& guid, const QString& version) {
            opener_.unregisterLibraryFile(guid, version);
        });
}

bool LibraryFileCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drag->mimeData()->urls();
        if (urls.size() == 1 && urls.front().isLocalFile()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (urls.size() == 1 && urls.front().isLocalFile()) {
            drop->acceptProposedAction();
            const QString file = urls.front().toLocalFile();
            // After the drop has finished: the open may ask which library to take.
            QMetaObject::invokeMethod(
                this, [this, file] { opener_.openLibraryFile(file); }, Qt::QueuedConnection);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LibraryFileCommands::openFromDialog() {
    const QString file = QFileDialog::getOpenFileName(
        &window_, QStringLiteral("Open Library File"), QString(),
        QStringLiteral("Type libraries (*.tlb *.olb *.dll *.ocx *.exe);;All files (*)"));
    if (!file.isEmpty())
        opener_.openLibraryFile(file);
}

int LibraryFileCommands::chooseLibrary(const QString& file, const QStringList& choices) {
    if (chooser_)
        return chooser_(file, choices);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(&window_, QStringLiteral("Vantor"),
                                                 file + QStringLiteral(" holds several libraries:"),
                                                 choices, 0, false, &ok);
    return ok ? int(choices.indexOf(chosen)) : -1;
}

void LibraryFileCommands::flashStatus(const QString& text) {
    window_.Status(text);
    window_.enableTimer1();
}

void LibraryFileCommands::reloadCatalogs() {
    window_.RunLoadDefs(0);
    // Catalog indexes changed: rows and visits that carry them start again.
    window_.LVLoadMRU();
    window_.browser().clear();
}

bool LibraryFileCommands::openCatalogLibrary(const QString& catalogKey) {
    qint32 index = 0;
    if (BinSearch(catalogs_.TLDefs(), catalogKey, index) != 1)
        return false;
    return window_.SelTypInfo(index, QString());
}

} // namespace vantor
