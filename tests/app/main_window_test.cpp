// The main window on Qt's offscreen platform: its own states, and browsing over the test prefix.
#include "app/ini_file.h"
#include "app/library_file_commands.h"
#include "app/list_rows.h"
#include "app/main_window.h"
#include "app/mru_view.h"
#include "browser/browsing_machine.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kWsh = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");
const QString kMshtml = QStringLiteral("{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}");
const QString kSample = QStringLiteral("{0D9E8F21-5A3B-4C7D-9E1F-0123456789AB}");

// The window over a settings file of its own; messages recorded.
struct WindowFixture {
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    QStringList messages;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(ini, services(nullptr));

    MainWindow::Services services(const tli::TLIApplication* application) {
        MainWindow::Services s;
        s.message = [this](const QString& t) { messages.append(t); };
        s.application = application;
        return s;
    }
};

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

// The window with the test prefix's catalogs loaded, shown at 1024x768.
struct WindowBrowsing : WindowFixture {
    test::BrowsingMachine machine;
    std::unique_ptr<TliLibraryServices> libraries;
    std::unique_ptr<RegistryCatalogBuilders> builders;
    std::unique_ptr<Catalogs> catalogs;
    LibraryFileCommands* files = nullptr;

    WindowBrowsing() {
        if (!machine.built())
            return;
        window = std::make_unique<MainWindow>(ini, services(&machine.app()));
        libraries = std::make_unique<TliLibraryServices>(machine.app());
        builders = std::make_unique<RegistryCatalogBuilders>(
            machine.store(), machine.programFolder(), libraries.get(), &machine.paths());
        builders->setSleep([](int) {});
        catalogs = std::make_unique<Catalogs>(machine.programFolder(), *window, builders.get());
        Catalogs* c = catalogs.get();
        window->setCatalogs(c, [c](qint32 always) { return c->LoadDefs(always); });
        window->RunLoadDefs(1);
        files = new LibraryFileCommands(*window, *c, ini, &machine.store(), machine.app());
        window->resize(1024, 768);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    bool ready() const { return machine.built() && window->pathBox()->count() > 0; }

    static int rowOf(const QListWidget* list, const QString& text) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == text)
                return i;
        return -1;
    }
    // A mouse click on a list row, as the user gives it.
    static void click(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), button, {},
                          list->visualItemRect(list->item(row)).center());
    }
    QByteArray hives() { return machine.prefix().hivesHash(); }
    QString current(const QListWidget* list) const {
        return list->currentItem() ? list->currentItem()->text() : QString();
    }
    // The href of the pane's last anchor that contains `part`.
    QString linkContaining(QLatin1String part) const {
        QString href;
        for (QTextBlock block = window->pane()->document()->begin(); block.isValid();
             block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().anchorHref().contains(part))
                    href = it.fragment().charFormat().anchorHref();
        return href;
    }
    // A link click as the text browser reports it.
    void followLink(const QString& href) { emit window->pane()->anchorClicked(QUrl(href)); }
};

} // namespace

TEST(MainWindow, MenusToolbarAndInitialStates) {
    WindowFixture f;
    QStringList bar;
    for (const QAction* a : f.window->menuBar()->actions())
        bar.append(a->text());
    EXPECT_EQ(bar, (QStringList{"&View", "&About", "&Search", "&LibDocs"}));
    const QMenu* view = f.window->menuBar()->actions()[0]->menu();
    EXPECT_EQ(captions(view),
              (QStringList{"Always OnTop", "-", "&Properties", "-", "&Refresh", "-", "&WScript"}));
    EXPECT_EQ(f.window->popupMenu()->actions().size(), 19);
    EXPECT_EQ(f.window->popupMenu()->actions()[18]->text(),
              QStringLiteral("CHM: Force Keyword Lookup"));
    EXPECT_EQ(captions(f.window->menuBar()->actions()[2]->menu()),
              (QStringList{"By TypeLib Help String", "By ProgID Help String", "By ProgID"}));
    // Only Search starts enabled; 6 and 8 are separators.
    for (int b = 1; b <= 9; ++b) {
        const QAction* a = f.window->toolbarButton(b);
        ASSERT_TRUE(a) << b;
        EXPECT_EQ(a->isSeparator(), b == 6 || b == 8) << b;
        if (!a->isSeparator()) {
            EXPECT_EQ(a->isEnabled(), b == 7) << b;
        }
    }
    EXPECT_EQ(f.window->toolbarButton(9)->toolTip(), QStringLiteral("Next Interface"));
    EXPECT_EQ(f.window->statusLine()->text(), QStringLiteral(" Loading... Wait"));
}

TEST(MainWindow, ChmCheckFollowsTheSetting) {
    for (const auto& [value, checked] :
         {std::pair{"1", true}, {"0", false}, {"-2", false}, {"x", true}, {"", true}}) {
        QTemporaryDir dir;
        IniFile ini(dir.path() + QStringLiteral("/vantor.ini"));
        ini.WriteIni(u"FrmSpecs", u"fklCHM", QString::fromLatin1(value));
        MainWindow window(ini, {});
        EXPECT_EQ(window.chmKeywordAction()->isChecked(), checked) << value;
    }
}

TEST(MainWindow, KeysAndTheRightButton) {
    WindowFixture f;
    f.window->show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.window->pathBox(), &enter);
    EXPECT_EQ(f.messages, QStringList{QStringLiteral("Scroll down and choose a TypeLib")});
    // The search button with an empty search box finds nothing.
    f.window->tbrMain_ButtonClick(7);
    EXPECT_EQ(f.window->statusLine()->text(), QStringLiteral("0 HelpStrings Found"));

    // Ctrl+C copies the selected row only.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    f.window->list1()->addItems({QStringLiteral("IWshShell"), QStringLiteral("WSHShell")});
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(f.window->list1(), &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    f.window->list1()->setCurrentRow(1);
    QApplication::sendEvent(f.window->list1(), &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("WSHShell"));

    // The popup opens on the right button's release, which names the row under the pointer in
    // the list's tooltip; and on the menu key's release.
    QWidget* rows = f.window->list1()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), rows->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &press);
    EXPECT_FALSE(f.window->popupMenu()->isVisible());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), rows->mapToGlobal(QPointF(5, 5)),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &release);
    EXPECT_TRUE(f.window->popupMenu()->isVisible());
    EXPECT_EQ(f.window->list1()->toolTip(), QStringLiteral("IWshShell"));
    f.window->popupMenu()->hide();
    QKeyEvent menuKey(QEvent::KeyRelease, Qt::Key_Menu, Qt::NoModifier);
    QApplication::sendEvent(f.window->list2(), &menuKey);
    EXPECT_TRUE(f.window->popupMenu()->isVisible());
}

TEST(MainWindow, ResizeGivesSixtyPercentToListsAndKeepsLayoutWhenMaximized) {
    WindowFixture f;
    f.window->show();
    f.window->resize(700, 600);
    QApplication::processEvents();
    QWidget* lists = f.window->list1()->parentWidget()->parentWidget();
    QWidget* lower = f.window->pane()->parentWidget();
    const int listsBefore = lists->height(), lowerBefore = lower->height();
    const int ty = f.window->twipsPerPixelY();
    const int grow = 1000 / ty;
    f.window->resize(700, 600 + grow);
    QApplication::processEvents();
    EXPECT_NEAR(lists->height() - listsBefore, 0.6 * grow, 1.5);
    EXPECT_NEAR(lower->height() - lowerBefore, 0.4 * grow, 1.5);
    // The lower area ends a margin above the bottom of the window's client area.
    EXPECT_NEAR(lower->geometry().bottom() + 1,
                f.window->centralWidget()->height() - f.window->metrics().margin / ty, 1.5);
}

TEST(BrowsingWindow, WshShellTypesMembersLinksAndHistory) {
    WindowBrowsing w;
    ASSERT_TRUE(w.ready());
    MainWindow& win = *w.window;
    ASSERT_TRUE(win.ChooseLib(kWsh + QStringLiteral(":1.0.WSHShell")));
    EXPECT_TRUE(
        win.pathBox()->currentText().endsWith(QLatin1String("wshom.ocx"), Qt::CaseInsensitive));
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("WshShell"));
    EXPECT_EQ(win.list1()->currentItem()->data(ListRowDelegate::kRowDataRole).toInt(), 17);
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members of IWshShell3"));

    // A member click shows its prototype; the members' images follow their kinds.
    const int run = w.rowOf(win.list2(), QStringLiteral("Run"));
    ASSERT_GE(run, 0);
    EXPECT_EQ(win.list2()->item(run)->data(ListRowDelegate::kRowDataRole).toInt(), 1);
    w.click(win.list2(), run);
    EXPECT_TRUE(win.pane()->toPlainText().startsWith(QStringLiteral("Function Run(")));

    // Exec returns a type of this library: its link selects that type.
    const int exec = w.rowOf(win.list2(), QStringLiteral("Exec"));
    w.click(win.list2(), exec);
    const QString link = w.linkContaining(QLatin1String("IWshExec"));
    ASSERT_FALSE(link.isEmpty()) << win.pane()->toPlainText().toStdString();
    w.followLink(link);
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("IWshExec"));
    // The toolbar's Back reaches the browser's history (whose steps are its own test).
    win.tbrMain_ButtonClick(1);
    EXPECT_EQ(w.current(win.list2()), QStringLiteral("Exec"));
}

TEST(BrowsingWindow, LinkIntoStdole2CopiesItsUrl) {
    WindowBrowsing w;
    ASSERT_TRUE(w.ready());
    MainWindow& win = *w.window;
    // Wine's mshtml and activeds name stdole2 types only in restricted members; gameux's
    // IGameExplorer takes its GUID as a parameter.
    ASSERT_TRUE(
        win.ChooseLib(QStringLiteral("{4F48A59C-942D-4F3C-83C9-4EFFE84E4959}:1.0.IGameExplorer")));
    ASSERT_EQ(w.current(win.list1()), QStringLiteral("IGameExplorer"));
    const int remove = w.rowOf(win.list2(), QStringLiteral("RemoveGame"));
    ASSERT_GE(remove, 0);
    w.click(win.list2(), remove);
    const QString link =
        w.linkContaining(QLatin1String("|{00020430-0000-0000-C000-000000000046}:2.0."));
    ASSERT_FALSE(link.isEmpty()) << win.pane()->toPlainText().toStdString();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    w.followLink(link);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("progid4:{00020430-0000-0000-C000-000000000046}:2.0.GUID"));
    EXPECT_EQ(win.statusLine()->text(), QStringLiteral("copied TypeInfo URL"));
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("IGameExplorer"));
    EXPECT_EQ(w.current(win.list2()), QStringLiteral("RemoveGame"));

    // A recently used library's row in the library list opens that library.
    w.ini.WriteIni(u"TLB_MRU", u"count", 1);
    w.ini.WriteIni(u"TLB_MRU", u"mru01",
                   kWsh + QStringLiteral("#1.0#Windows Script Host Object Model#x#ocx"));
    win.LVLoadMRU();
    win.mruView()->setCurrentItem(win.mruView()->topLevelItem(0));
    win.BrowseFromLV();
    ASSERT_TRUE(win.browser().loaded());
    EXPECT_EQ(win.browser().loaded()->guid, kWsh);
    EXPECT_EQ(win.mruView()->topLevelItem(0)->text(LibraryListView::LibName),
              QStringLiteral("IWshRuntimeLibrary"));
}

// What a new user meets first: typing, the right button, the keys, an emptied view, the
// interfaces of a class and hidden items.
TEST(BrowsingWindow, PathTypingRightButtonKeysEmptyEnterNextInterfaceAndShowHidden) {
    WindowBrowsing u;
    ASSERT_TRUE(u.ready());
    MainWindow& win = *u.window;
    QLineEdit* edit = win.pathBox()->lineEdit();

    // Real keys: each typed character replaces the completed rest; Backspace empties the box.
    struct Step {
        const char* keys;
        const char* text; // expected text, compared ignoring case
        const char* selected;
    };
    for (const Step& step : {Step{"C", "C:\\", ":\\"}, Step{":", "C:\\", "\\"},
                             Step{"\\w", "C:\\windows\\", "indows\\"}}) {
        QTest::keyClicks(edit, QString::fromLatin1(step.keys));
        EXPECT_EQ(edit->text().toLower(), QString::fromLatin1(step.text).toLower()) << step.keys;
        EXPECT_EQ(edit->selectedText().toLower(), QString::fromLatin1(step.selected).toLower());
    }
    for (const char* expected : {"C:\\w", "C:\\", "C:", "C", ""}) {
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(edit->text().toLower(), QString::fromLatin1(expected).toLower());
    }

    // The right button leaves both lists as they were; the members still belong to the type.
    ASSERT_TRUE(win.ChooseLib(kMshtml + QStringLiteral(":4.0.CPlugins")));
    const int members = win.list2()->count();
    const int other = u.rowOf(win.list1(), QStringLiteral("IHTMLDocument2"));
    u.click(win.list1(), other, Qt::RightButton);
    win.popupMenu()->hide();
    EXPECT_EQ(u.current(win.list1()), QStringLiteral("CPlugins"));
    EXPECT_EQ(win.list2()->count(), members);
    u.click(win.list2(), 0);
    EXPECT_FALSE(win.pane()->toPlainText().contains(QStringLiteral("is not a member")));

    // Back and forward keys: Ctrl+< and Ctrl+> as typed, Alt+Left and Alt+Right.
    u.click(win.list1(), other);
    ASSERT_EQ(u.current(win.list1()), QStringLiteral("IHTMLDocument2"));
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* shown;
    };
    for (const Key& k : {Key{Qt::Key_Less, Qt::ControlModifier, "CPlugins"},
                         Key{Qt::Key_Greater, Qt::ControlModifier, "IHTMLDocument2"},
                         Key{Qt::Key_Left, Qt::AltModifier, "CPlugins"},
                         Key{Qt::Key_Right, Qt::AltModifier, "IHTMLDocument2"}}) {
        QTest::keyClick(win.list1(), k.key, k.modifiers);
        EXPECT_EQ(u.current(win.list1()), QString::fromLatin1(k.shown)) << k.shown;
    }

    // Enter on an empty path box after a coclass of several interfaces empties everything.
    u.click(win.list1(), u.rowOf(win.list1(), QStringLiteral("CPlugins")));
    ASSERT_TRUE(win.toolbarButton(9)->isEnabled());
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(win.list1()->count(), 0);
    EXPECT_EQ(win.list2()->count(), 0);
    EXPECT_TRUE(win.pane()->toPlainText().isEmpty());
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members"));
    for (int button : {1, 2, 5, 9})
        EXPECT_FALSE(win.toolbarButton(button)->isEnabled()) << button;
    EXPECT_EQ(win.windowTitle(), QStringLiteral("Vantor"));

    // Next Interface steps through a coclass's interfaces, the non-default ones in red.
    QAction* next = win.toolbarButton(9);
    ASSERT_TRUE(win.ChooseLib(kMshtml + QStringLiteral(":4.0.COpsProfile")));
    EXPECT_FALSE(next->isEnabled()); // a single interface
    ASSERT_TRUE(win.ChooseLib(kMshtml + QStringLiteral(":4.0.CPlugins")));
    ASSERT_TRUE(next->isEnabled());
    const QColor normal = win.memberCaption()->palette().color(QPalette::WindowText);
    next->trigger();
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members of IHTMLPluginsCollection"));
    EXPECT_EQ(win.memberCaption()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(win.list2()->isEnabled());
    next->trigger();
    next->trigger();
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members of DispCPlugins"));
    EXPECT_EQ(win.memberCaption()->palette().color(QPalette::WindowText), normal);
    EXPECT_TRUE(win.list2()->isEnabled());
    // Another type while a later interface shows: its members can be clicked again.
    next->trigger();
    const int document = u.rowOf(win.list1(), QStringLiteral("IHTMLDocument2"));
    ASSERT_GE(document, 0);
    u.click(win.list1(), document);
    EXPECT_TRUE(win.list2()->isEnabled());
    EXPECT_EQ(win.memberCaption()->palette().color(QPalette::WindowText), normal);
    EXPECT_LT(u.rowOf(win.list2(), QStringLiteral("QueryInterface")), 0); // restricted

    // "Show Hidden" and Enter in the path box: restricted items are listed.
    const int types = win.list1()->count();
    win.showHiddenAction()->setChecked(true);
    QTest::keyClick(win.pathBox()->lineEdit(), Qt::Key_Return);
    EXPECT_GT(win.list1()->count(), types);
    u.click(win.list1(), u.rowOf(win.list1(), QStringLiteral("IHTMLDocument2")));
    EXPECT_GE(u.rowOf(win.list2(), QStringLiteral("QueryInterface")), 0);
}

TEST(BrowsingWindow, OpenLibraryFilesRegistersIntoTheOverlayOnly) {
    WindowBrowsing u;
    ASSERT_TRUE(u.ready());
    MainWindow& win = *u.window;
    LibraryFileOpener& opener = u.files->opener();
    const QByteArray hives = u.hives();
    const QString overlay = u.machine.store().overlayPath();

    // A text file says why and changes nothing.
    const QString text = u.dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(test::writeFile(text, "not a library\n"));
    const QStringList before = u.catalogs->TLDefs();
    const QByteArray overlayBefore = test::readFile(overlay);
    EXPECT_FALSE(opener.openLibraryFile(text));
    EXPECT_TRUE(win.statusLine()->text().startsWith(QStringLiteral("no type library in ")));
    EXPECT_EQ(u.catalogs->TLDefs(), before);
    EXPECT_EQ(test::readFile(overlay), overlayBefore);

    // A library outside the prefix: registered through Z:, listed, browsable.
    const QString tlb = u.dir.filePath(QStringLiteral("sample32.tlb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTOR_TLI_TEST_DATA "/sample32.tlb"), tlb));
    ASSERT_TRUE(opener.openLibraryFile(tlb)) << win.statusLine()->text().toStdString();
    EXPECT_EQ(win.windowTitle(), QStringLiteral("Vantor - VantorSample (sample32.tlb)"));
    EXPECT_GT(win.list1()->count(), 1);
    EXPECT_EQ(win.pathBox()->currentText(),
              QString(QStringLiteral("Z:") + tlb).replace(u'/', u'\\'));
    EXPECT_FALSE(win.toolbarButton(1)->isEnabled());

    // After a restart: the overlay and the catalog file keep it; the machine's hives do not.
    {
        registry::Store again(u.machine.store().machine(), u.machine.programFolder());
        tli::TLIApplication app(&again, &u.machine.paths());
        EXPECT_EQ(app.registeredLibraryName(kSample, 3, 5, 0), QStringLiteral("VantorSample"));
        RecordingFrame frame;
        Catalogs reread(u.machine.programFolder(), frame);
        ASSERT_EQ(reread.LoadDefs(1), 0);
        EXPECT_GE(test::catalogLine(reread, kSample + QStringLiteral(", 3.5")), 0);
    }
    EXPECT_EQ(u.hives(), hives);

    // Unregistered again from the library list: the catalog no longer has it.
    ASSERT_TRUE(opener.isOpenedFile(kSample, QStringLiteral("3.5")));
    ASSERT_TRUE(opener.unregisterLibraryFile(kSample, QStringLiteral("3.5")));
    EXPECT_LT(test::catalogLine(*u.catalogs, kSample), 0);
    EXPECT_FALSE(opener.isOpenedFile(kSample, QStringLiteral("3.5")));

    // A PE file of several libraries offers each; the chosen one wins over its registration.
    QStringList offered;
    u.files->setChooser([&offered](const QString&, const QStringList& choices) {
        offered = choices;
        return int(choices.size()) - 1;
    });
    const QString vbscript = u.dir.filePath(QStringLiteral("vbscript.dll"));
    ASSERT_TRUE(
        QFile::copy(u.machine.prefix().wineBinaries() + QStringLiteral("/vbscript.dll"), vbscript));
    win.resize(640, 768);
    QApplication::processEvents();
    ASSERT_TRUE(opener.openLibraryFile(vbscript)) << win.statusLine()->text().toStdString();
    ASSERT_GE(offered.size(), 2);
    EXPECT_TRUE(win.pathBox()->currentText().contains(QStringLiteral("vbscript.dll\\")));
    EXPECT_TRUE(win.statusLine()->text().contains(QStringLiteral("this file now wins")))
        << win.statusLine()->text().toStdString();
    EXPECT_EQ(win.statusLine()->toolTip(), win.statusLine()->text());
    EXPECT_EQ(u.hives(), hives);
}

TEST(BrowsingWindow, FirstTimeKeysWrittenOnceAfterAnEmptyFirstClose) {
    WindowBrowsing u;
    ASSERT_TRUE(u.ready());
    // The first run's catalog load has created the file; it closes with an empty path box.
    u.ini.WriteIni(u"Platform", u"LastMachine", QStringLiteral("m"));
    u.window->pathBox()->lineEdit()->clear();
    u.window->close();
    ASSERT_TRUE(QFile::exists(u.ini.path()));
    EXPECT_FALSE(u.ini.ReadWhole(u"LastTLB", u"lt_Home"));
    // The second closes with a library, the third once more.
    for (int run = 0; run < 2; ++run) {
        u.window->show();
        ASSERT_TRUE(u.window->ChooseLib(kMshtml + QStringLiteral(":4.0.CPlugins")));
        u.window->close();
    }
    const QByteArray saved = test::readFile(u.ini.path());
    for (const char* key : {"tli.*=", "GroupByTK=", "TKOrder=", "lt_Home="})
        EXPECT_EQ(saved.count(key), 1) << key;
}
