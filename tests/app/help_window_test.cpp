// F1 through the real window on Qt's offscreen platform, over the test prefix, with help files
// the build compiled with chmcmd.
#include "app/help_controller.h"
#include "app/ini_file.h"
#include "app/main_window.h"
#include "browser/browsing_machine.h"
#include "help/machine_help.h"
#include "qt_print.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kWsh = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}:1.0.WSHShell");

struct HelpWindow {
    test::BrowsingMachine machine;
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    std::unique_ptr<help::StoreHelpMachine> helpMachine;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Catalogs> catalogs;
    HelpController* help = nullptr;
    QString scriptHelp;

    explicit HelpWindow(bool forceKeyword) {
        if (!machine.built())
            return;
        ini.WriteIni(QStringLiteral("FrmSpecs"), QStringLiteral("fklCHM"),
                     forceKeyword ? QStringLiteral("1") : QStringLiteral("0"));
        // The script help file in the machine's help folder.
        const QString helpFolder = machine.paths().windowsFolder() + QStringLiteral("/help");
        QDir().mkpath(helpFolder);
        scriptHelp = helpFolder + QStringLiteral("/script56.chm");
        QFile::remove(scriptHelp);
        QFile::copy(QStringLiteral(VANTOR_TEST_SCRIPT_CHM), scriptHelp);
        MainWindow::Services services;
        services.application = &machine.app();
        services.message = [](const QString&) {};
        window = std::make_unique<MainWindow>(ini, services);
        helpMachine = std::make_unique<help::StoreHelpMachine>(machine.store(), &machine.paths());
        help = new HelpController(*window, ini, *helpMachine, dir.path(),
                                  QStringLiteral(VANTOR_HELP_CHM));
        catalogs = std::make_unique<Catalogs>(machine.programFolder(), *window);
        Catalogs* c = catalogs.get();
        window->setCatalogs(c, [c](qint32 always) { return c->LoadDefs(always); });
        window->RunLoadDefs(1);
        window->resize(1024, 768);
        window->show();
    }
    bool ready() const { return window && window->pathBox()->count() > 0; }
    // F1 on the member Run of WshShell.
    void f1OnRun() {
        ASSERT_TRUE(window->ChooseLib(kWsh));
        QListWidget* members = window->list2();
        const auto found = members->findItems(QStringLiteral("Run"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        members->setCurrentItem(found.first());
        ASSERT_TRUE(window->toolbarButton(HelpButton)->isEnabled());
        QTest::keyClick(members, Qt::Key_F1);
    }
    // F1 while `menu` is open.
    static void f1InMenu(QMenu* menu) {
        menu->popup(QPoint(10, 10));
        QTest::keyClick(menu, Qt::Key_F1);
    }
    HelpViewer* viewer(const QString& file) const { return help->viewers().viewer(file); }
    QMenu* menu(const QString& title) const {
        for (QAction* a : window->menuBar()->actions())
            if (a->menu() && a->menu()->title().remove(u'&') == title)
                return a->menu();
        return nullptr;
    }
};

} // namespace

TEST(HelpWindow, PageModeContextsAndViewer) {
    HelpWindow w(false);
    ASSERT_TRUE(w.ready());
    w.f1OnRun();
    HelpViewer* script = w.viewer(w.scriptHelp);
    ASSERT_NE(script, nullptr) << w.window->statusLine()->text().toStdString();
    EXPECT_EQ(script->currentPage(), QStringLiteral("/html/wsmthrun.htm"));
    // The image comes from inside the file.
    const QVariant image = script->page()->document()->resource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("chm:///html/run.png")));
    EXPECT_FALSE(image.isNull());
    // An in-file link (its forms are the book's test), then back and forward.
    emit script->page()->anchorClicked(
        QUrl(QStringLiteral("ms-its:script56.chm::/html/wsobjiwshshell_class.htm")));
    EXPECT_TRUE(script->page()->toPlainText().contains(QStringLiteral("native Windows shell")));
    script->back();
    EXPECT_EQ(script->currentPage(), QStringLiteral("/html/wsmthrun.htm"));
    script->forward();
    EXPECT_EQ(script->currentPage(), QStringLiteral("/html/wsobjiwshshell_class.htm"));

    // Menus: the Search menu by keyword, the context menu by its context number.
    QMenu* search = w.menu(QStringLiteral("Search"));
    ASSERT_NE(search, nullptr);
    w.f1InMenu(search);
    HelpViewer* own = w.viewer(QStringLiteral(VANTOR_HELP_CHM));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->currentPage(), QStringLiteral("/search.htm"));
    EXPECT_EQ(w.window->statusLine()->text(),
              QStringLiteral("HelpFile= ") + QStringLiteral(VANTOR_HELP_CHM));
    w.f1InMenu(w.window->popupMenu());
    EXPECT_EQ(w.viewer(QStringLiteral(VANTOR_HELP_CHM)), own); // one viewer per file
    EXPECT_EQ(own->currentPage(), QStringLiteral("/popup.htm"));

    // A keyword that is not in the index shows the index filtered by it.
    w.help->viewers().ShowHtmlHelp(QStringLiteral(VANTOR_HELP_CHM), help::KeywordContext,
                                   QStringLiteral("Menu Bar;Tool Strip"));
    EXPECT_EQ(own->tabs()->currentIndex(), 1);
    EXPECT_EQ(own->indexFilter()->text(), QStringLiteral("Menu Bar"));

    // The viewers close with the main window.
    w.window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.viewer(QStringLiteral(VANTOR_HELP_CHM)), nullptr);
}

TEST(HelpWindow, KeywordFormsAndDamagedFile) {
    HelpWindow w(true);
    ASSERT_TRUE(w.ready());
    w.f1OnRun();
    HelpViewer* script = w.viewer(w.scriptHelp);
    ASSERT_NE(script, nullptr);
    // "Run Function" is not in the index; "Run Method" is.
    EXPECT_EQ(script->currentPage(), QStringLiteral("/html/wsmthrun.htm"));

    // A damaged help file is reported and the window goes on.
    w.help->viewers().closeAll();
    QFile file(w.scriptHelp);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(0x70);
    file.close();
    QTest::keyClick(w.window->list2(), Qt::Key_F1);
    EXPECT_EQ(w.window->statusLine()->text(),
              QStringLiteral("cannot read the help file ") + w.scriptHelp);
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(w.viewer(w.scriptHelp), nullptr);
}
