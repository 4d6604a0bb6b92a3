// The search through the real window on Qt's offscreen platform, over the test prefix's catalogs.
#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/search_commands.h"
#include "app/sub_main.h"
#include "browser/browsing_machine.h"
#include "catalog/get_token.h"
#include "text/text_order.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct WindowSearch {
    test::BrowsingMachine machine;
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    QStringList messages;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Catalogs> catalogs;

    WindowSearch() {
        MainWindow::Services services;
        services.application = &machine.app();
        services.message = [this](const QString& m) { messages.append(m); };
        window = std::make_unique<MainWindow>(ini, services);
        catalogs = std::make_unique<Catalogs>(machine.programFolder(), *window);
        Catalogs* c = catalogs.get();
        window->setCatalogs(c, [c](qint32 always) { return c->LoadDefs(always); });
        window->RunLoadDefs(1);
        window->show();
    }
    SearchCommands& commands() { return window->search(); }
    QListWidget* hits() { return commands().window().list(); }
    // Searches `text` in `mode` as the menu and the toolbar button do; the rows found.
    QList<std::pair<QString, qint32>> search(int mode, const QString& text) {
        commands().modeItem(mode)->trigger();
        window->findChild<QComboBox*>()->setEditText(text);
        window->toolbarButton(7)->trigger();
        QList<std::pair<QString, qint32>> rows;
        for (int i = 0; i < hits()->count(); ++i)
            rows.append({hits()->item(i)->text(), hits()->item(i)->data(Qt::UserRole).toInt()});
        return rows;
    }
    // The records of a catalog whose help string holds `text`, as rows.
    static QList<std::pair<QString, qint32>> expected(const QStringList& defs,
                                                      const QString& text) {
        QList<std::pair<QString, qint32>> rows;
        for (qint32 i = 0; i + 1 < defs.size(); ++i)
            if (GetToken(3, defs[i]).contains(text, Qt::CaseInsensitive))
                rows.append({GetToken(3, defs[i]), i});
        return rows;
    }
    QString selectedType() const {
        const QListWidgetItem* row = window->list1()->currentItem();
        return row ? row->text() : QString();
    }
    qint32 progIdIndex(const QString& progId) const {
        for (qint32 i = 0; i < catalogs->PIDDefs().size(); ++i)
            if (catalogs->PIDDefs()[i].startsWith(progId + QStringLiteral(", ")))
                return i;
        return -1;
    }
};

} // namespace

TEST(SearchWindow, EachModeListsItsHitsAndGoesToTheLibraryAndClass) {
    WindowSearch w;
    ASSERT_TRUE(w.machine.built());
    QComboBox* find = w.window->findChild<QComboBox*>();
    QAction* allow = w.window->actions().popup(PopupCommands::AllowInstantiation);
    // Every run starts in mode 0; popup items 9 and 10 start checked, item 9 off in mode 0.
    EXPECT_TRUE(w.commands().modeItem(0)->isChecked());
    EXPECT_TRUE(allow->isChecked() &&
                w.window->actions().popup(PopupCommands::AutoBrowse)->isChecked());
    EXPECT_FALSE(allow->isEnabled());
    EXPECT_EQ(find->toolTip(), QStringLiteral("Search TypeLib HelpStrings"));

    const auto xml = w.search(0, QStringLiteral("xml"));
    ASSERT_FALSE(xml.isEmpty());
    EXPECT_EQ(xml, WindowSearch::expected(w.catalogs->TLDefs(), QStringLiteral("xml")));
    EXPECT_EQ(w.commands().window().windowTitle(), QStringLiteral("Locate TypeLib by Help String"));
    EXPECT_FALSE(w.commands().window().progIdFrame()->isVisibleTo(&w.commands().window()));
    EXPECT_EQ(w.window->statusLine()->text(), QString::number(xml.size()) + " HelpStrings Found");
    w.commands().window().button(0)->click();
    EXPECT_EQ(w.window->pathBox()->currentText(), GetToken(4, w.catalogs->TLDefs()[xml[0].second]));
    EXPECT_TRUE(w.window->browser().loaded());

    // Mode 1 with a word of the script host shell's description.
    const qint32 shell = w.progIdIndex(QStringLiteral("WScript.Shell"));
    ASSERT_GE(shell, 0);
    const QString word = GetToken(3, w.catalogs->PIDDefs()[shell]).split(u' ').last();
    const auto byHelp = w.search(1, word);
    EXPECT_EQ(byHelp, WindowSearch::expected(w.catalogs->PIDDefs(), word));
    EXPECT_EQ(find->toolTip(), QStringLiteral("Search by ProgID Help String"));
    EXPECT_EQ(find->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xBB));
    EXPECT_TRUE(allow->isEnabled());
    const qsizetype row =
        byHelp.indexOf(std::pair{GetToken(3, w.catalogs->PIDDefs()[shell]), shell});
    ASSERT_GE(row, 0);
    w.hits()->setCurrentRow(int(row));
    EXPECT_EQ(w.commands().window().progIdBox()->text(), QStringLiteral("WScript.Shell"));
    QTest::keyClick(w.hits(), Qt::Key_Return);
    EXPECT_TRUE(w.window->pathBox()->currentText().endsWith(QStringLiteral("wshom.ocx")));
    EXPECT_EQ(w.selectedType(), QStringLiteral("WshShell"));

    // Mode 2: the ProgID itself, and a text no ProgID starts with (the next ProgID's index).
    w.window->list1()->setCurrentRow(0);
    // The prefix search finds one of the ProgIDs that start with the text.
    const auto byProgId = w.search(2, QStringLiteral("WScript.Shell"));
    ASSERT_EQ(byProgId.size(), 1);
    EXPECT_EQ(byProgId[0].first, QStringLiteral("WScript.Shell"));
    EXPECT_TRUE(w.catalogs->PIDDefs()[byProgId[0].second].startsWith("WScript.Shell"));
    EXPECT_EQ(find->palette().color(QPalette::Base), QColor(0xBB, 0xFF, 0xFF));
    w.commands().window().button(0)->click();
    EXPECT_EQ(w.selectedType(), QStringLiteral("WshShell"));
    const int listed = find->count();
    const auto none = w.search(2, QStringLiteral("WScript.ShellZ"));
    ASSERT_EQ(none.size(), 1);
    const QStringList& pids = w.catalogs->PIDDefs();
    ASSERT_GT(none[0].second, 0);
    EXPECT_GT(compareText(GetToken(1, pids[none[0].second]), u"WScript.ShellZ"), 0);
    EXPECT_LT(compareText(GetToken(1, pids[none[0].second - 1]), u"WScript.ShellZ"), 0);
    w.search(2, QStringLiteral("WScript.ShellZ"));
    EXPECT_EQ(find->count(), listed + 1);
    EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join(u'|').toStdString();

    // Ctrl+F: the search box with its text selected.
    w.window->activateWindow();
    QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(find->lineEdit()->selectedText(), QStringLiteral("WScript.ShellZ"));
    // An empty search box: Enter asks for a text.
    find->setEditText(QString());
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(w.messages, QStringList{"enter your search string"});
}

// A start argument is searched as a ProgID, unless it names a file holding a type library: that
// file is opened (registered into the overlay) instead.
TEST(SearchWindow, StartWithAProgIdOrALibraryFileOpensItsLibrary) {
    QTemporaryDir outside;
    const QString copy = outside.filePath(QStringLiteral("sample64.tlb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VANTOR_TLI_TEST_DATA "/sample64.tlb"), copy));
    const struct {
        QString argument, file, type;
    } cases[] = {
        {QStringLiteral("WScript.Shell"), QStringLiteral("wshom.ocx"), QStringLiteral("WshShell")},
        {copy, QStringLiteral("sample64.tlb"), QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument.toStdString());
        registry::test::TestPrefix machine;
        ASSERT_TRUE(machine.valid());
        StartOptions options;
        options.args = {QStringLiteral("--prefix"), machine.prefix(), c.argument};
        options.programFolder = machine.programFolder();
        options.env = QProcessEnvironment();
        options.passMilliseconds = 10;
        QStringList messages;
        options.message = [&](const QString& t) { messages.append(t); };
        const std::unique_ptr<Session> session = SubMain(std::move(options));
        ASSERT_TRUE(session);
        MainWindow& window = session->window();
        EXPECT_TRUE(window.pathBox()->currentText().endsWith(c.file))
            << window.pathBox()->currentText().toStdString();
        EXPECT_TRUE(messages.isEmpty()) << messages.join(u'|').toStdString();
        if (c.type.isEmpty())
            continue;
        ASSERT_TRUE(window.list1()->currentItem());
        EXPECT_EQ(window.list1()->currentItem()->text(), c.type);
        EXPECT_TRUE(window.search().modeItem(2)->isChecked());
    }
}

// The "Anywhere" mode over the index of the test prefix: a constant found, gone to and copied.
TEST(SearchWindow, AnywhereGoesToTypeAndMemberAndCopiesThem) {
    WindowSearch s;
    ASSERT_TRUE(s.machine.built());
    SearchCommands& c = s.commands();
    c.useSymbolIndex(s.dir.filePath("index.sqlite"),
                     [&](const QString& w) { return s.machine.paths().toHost(w); });
    c.catalogLoaded(s.catalogs->TLDefs());
    for (int waited = 0; c.anywhere()->lastUpdate().libraries == 0 && waited < 1200; ++waited)
        QTest::qWait(50);
    ASSERT_GT(c.anywhere()->lastUpdate().read, 30);
    s.search(3, "TristateTrue");
    EXPECT_EQ(s.window->findChild<QComboBox*>()->palette().color(QPalette::Base), QColor(0xBBFFBB));
    QTreeWidget* list = c.window().symbolList();
    ASSERT_GT(list->topLevelItemCount(), 0);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "TristateTrue");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "-1 (&HFFFFFFFF)");
    // The one of the script runtime (IWshRuntimeLibrary lists first).
    const QList<QTreeWidgetItem*> scripting = list->findItems("Scripting", Qt::MatchStartsWith, 2);
    ASSERT_FALSE(scripting.isEmpty());
    list->setCurrentItem(scripting.first());
    c.window().button(0)->click();
    EXPECT_EQ(s.selectedType(), "Tristate");
    ASSERT_TRUE(s.window->list2()->currentItem());
    EXPECT_EQ(s.window->list2()->currentItem()->text(), "TristateTrue");
    // The visit is the history's last entry: "library|type row|member row|0".
    const History& history = s.window->browser().history();
    ASSERT_FALSE(history.entries().isEmpty());
    EXPECT_EQ(history.entries().last().section(u'|', 1), QStringLiteral("%1|%2|0")
                                                             .arg(s.window->list1()->currentRow())
                                                             .arg(s.window->list2()->currentRow()));
    c.window().button(1)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Scripting.Tristate.TristateTrue");
    c.window().kindBox(2)->setChecked(false); // no constants: no row
    EXPECT_EQ(list->topLevelItemCount(), 0);
}
