// What a new user meets first, through the real window over the test prefix: typing into the
// path box, the right button, the keys, an emptied view, opening library files and the
// first-time settings.
#include "app/ini_file.h"
#include "app/library_file_commands.h"
#include "app/list_rows.h"
#include "app/main_window.h"
#include "browser/browsing_machine.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kMshtml = QStringLiteral("{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}");
const QString kSample = QStringLiteral("{0D9E8F21-5A3B-4C7D-9E1F-0123456789AB}");

struct Usability {
    test::BrowsingMachine machine;
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<TliLibraryServices> services;
    std::unique_ptr<RegistryCatalogBuilders> builders;
    std::unique_ptr<Catalogs> catalogs;
    LibraryFileCommands* files = nullptr;

    Usability() {
        if (!machine.built())
            return;
        MainWindow::Services s;
        s.application = &machine.app();
        s.message = [](const QString&) {};
        window = std::make_unique<MainWindow>(ini, s);
        services = std::make_unique<TliLibraryServices>(machine.app());
        builders = std::make_unique<RegistryCatalogBuilders>(
            machine.store(), machine.programFolder(), services.get(), &machine.paths());
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
    bool ready() const { return window && window->pathBox()->count() > 0; }
    QString current(const QListWidget* list) const {
        return list->currentItem() ? list->currentItem()->text() : QString();
    }
    int rowOf(const QListWidget* list, const QString& text) const {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list->row(found.front());
    }
    void press(QListWidget* list, int row, Qt::MouseButton button) {
        list->scrollToItem(list->item(row));
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), button, {}, at);
        QTest::mouseRelease(list->viewport(), button, {}, at);
    }
    QByteArray hash(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    }
    QByteArray hives() {
        QByteArray all;
        for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
            all += hash(machine.prefix().prefix() + u'/' + QLatin1String(name));
        return all;
    }
};

} // namespace

TEST(Usability, PathTypingRightButtonKeysAndEmptyEnter) {
    Usability u;
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
    u.press(win.list1(), other, Qt::RightButton);
    win.popupMenu()->hide();
    EXPECT_EQ(u.current(win.list1()), QStringLiteral("CPlugins"));
    EXPECT_EQ(win.list2()->count(), members);
    u.press(win.list2(), 0, Qt::LeftButton);
    EXPECT_FALSE(win.pane()->toPlainText().contains(QStringLiteral("is not a member")));

    // Back and forward keys: Ctrl+< and Ctrl+> as typed, Alt+Left and Alt+Right.
    u.press(win.list1(), other, Qt::LeftButton);
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
    u.press(win.list1(), u.rowOf(win.list1(), QStringLiteral("CPlugins")), Qt::LeftButton);
    ASSERT_TRUE(win.toolbarButton(9)->isEnabled());
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(win.list1()->count(), 0);
    EXPECT_EQ(win.list2()->count(), 0);
    EXPECT_TRUE(win.pane()->toPlainText().isEmpty());
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members"));
    for (int button : {1, 2, 5, 9})
        EXPECT_FALSE(win.toolbarButton(button)->isEnabled()) << button;
    win.tbrMain_ButtonClick(9);
    win.tbrMain_ButtonClick(1);
    EXPECT_EQ(win.list1()->count() + win.list2()->count(), 0);
    EXPECT_EQ(win.windowTitle(), QStringLiteral("Vantor"));
}

TEST(Usability, AliasOfAPointerToARecordShowsTheRecord) {
    Usability u;
    ASSERT_TRUE(u.ready());
    MainWindow& win = *u.window;
    const int entry = win.pathBox()->findText(QStringLiteral("oleacc.dll"), Qt::MatchEndsWith);
    ASSERT_GE(entry, 0);
    win.pathBox()->setCurrentIndex(entry);
    QTest::keyClick(win.pathBox()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(win.windowTitle().endsWith(QStringLiteral(" (oleacc.dll)")))
        << win.windowTitle().toStdString();
    const int row = u.rowOf(win.list1(), QStringLiteral("wireHWND"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(win.list1()->item(row)->data(ListRowDelegate::kRowDataRole).toInt(), 0);
    u.press(win.list1(), row, Qt::LeftButton);
    EXPECT_GE(u.rowOf(win.list2(), QStringLiteral("fContext")), 0);
}

TEST(Usability, OpenLibraryFilesRegistersIntoTheOverlayOnly) {
    Usability u;
    ASSERT_TRUE(u.ready());
    MainWindow& win = *u.window;
    LibraryFileOpener& opener = u.files->opener();
    const QByteArray hives = u.hives();
    const QString overlay = u.machine.store().overlayPath();

    // A text file says why and changes nothing.
    const QString text = u.dir.filePath(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a library\n");
    f.close();
    const QStringList before = u.catalogs->TLDefs();
    const QByteArray overlayBefore = u.hash(overlay);
    EXPECT_FALSE(opener.openLibraryFile(text));
    EXPECT_TRUE(win.statusLine()->text().startsWith(QStringLiteral("no type library in ")));
    EXPECT_EQ(u.catalogs->TLDefs(), before);
    EXPECT_EQ(u.hash(overlay), overlayBefore);

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

TEST(Usability, FirstTimeKeysWrittenOnceAfterAnEmptyFirstClose) {
    Usability u;
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
    QFile file(u.ini.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    for (const char* key : {"tli.*=", "GroupByTK=", "TKOrder=", "lt_Home="})
        EXPECT_EQ(saved.count(key), 1) << key;
}
