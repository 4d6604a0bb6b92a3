// Browsing through the real window on Qt's offscreen platform, over the test prefix.
#include "app/ini_file.h"
#include "app/list_rows.h"
#include "app/main_window.h"
#include "app/mru_view.h"
#include "browser/browsing_machine.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kWsh = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");
const QString kMshtml = QStringLiteral("{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}");

struct WindowBrowsing {
    test::BrowsingMachine machine;
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<Catalogs> catalogs;

    WindowBrowsing() {
        MainWindow::Services services;
        services.application = &machine.app();
        services.message = [](const QString&) {};
        window = std::make_unique<MainWindow>(ini, services);
        catalogs = std::make_unique<Catalogs>(machine.programFolder(), *window);
        Catalogs* c = catalogs.get();
        window->setCatalogs(c, [c](qint32 always) { return c->LoadDefs(always); });
        window->RunLoadDefs(1);
        window->resize(1024, 768);
        window->show();
    }
    bool ready() const { return machine.built() && window->pathBox()->count() > 0; }

    static int rowOf(const QListWidget* list, const QString& text) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text() == text)
                return i;
        return -1;
    }
    // A mouse click on a list row, as the user gives it.
    static void click(QListWidget* list, int row) {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    QString current(const QListWidget* list) const {
        return list->currentItem() ? list->currentItem()->text() : QString();
    }
    // The hrefs of the pane's anchors.
    QStringList anchors() const {
        QStringList hrefs;
        for (QTextBlock block = window->pane()->document()->begin(); block.isValid();
             block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isAnchor())
                    hrefs.append(it.fragment().charFormat().anchorHref());
        return hrefs;
    }
    // A link click as the text browser reports it.
    void followLink(const QString& href) { emit window->pane()->anchorClicked(QUrl(href)); }
};

} // namespace

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
    EXPECT_TRUE(win.list2()->isEnabled());
    EXPECT_TRUE(win.pane()->toPlainText().contains(QStringLiteral("coclass")));
    EXPECT_TRUE(win.pane()->toPlainText().contains(QStringLiteral("IWshRuntimeLibrary")));

    // A member click shows its prototype; the members' images follow their kinds.
    const int run = w.rowOf(win.list2(), QStringLiteral("Run"));
    ASSERT_GE(run, 0);
    EXPECT_EQ(win.list2()->item(run)->data(ListRowDelegate::kRowDataRole).toInt(), 1);
    w.click(win.list2(), run);
    EXPECT_TRUE(win.pane()->toPlainText().startsWith(QStringLiteral("Function Run(")))
        << win.pane()->toPlainText().toStdString();

    // Exec returns a type of this library: its link selects that type.
    const int exec = w.rowOf(win.list2(), QStringLiteral("Exec"));
    w.click(win.list2(), exec);
    QString link;
    for (const QString& href : w.anchors())
        if (href.contains(QLatin1String("IWshExec")))
            link = href;
    ASSERT_FALSE(link.isEmpty()) << w.anchors().join(u' ').toStdString()
                                 << win.pane()->toPlainText().toStdString();
    w.followLink(link);
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("IWshExec"));
    EXPECT_EQ(win.memberCaption()->text(), QStringLiteral("Members of IWshExec"));

    // Back and forward revisit the selections.
    win.tbrMain_ButtonClick(1);
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("WshShell"));
    EXPECT_EQ(w.current(win.list2()), QStringLiteral("Exec"));
    EXPECT_TRUE(win.toolbarButton(2)->isEnabled());
    win.tbrMain_ButtonClick(2);
    EXPECT_EQ(w.current(win.list1()), QStringLiteral("IWshExec"));
    EXPECT_FALSE(win.toolbarButton(2)->isEnabled());
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
    QString link;
    for (const QString& href : w.anchors())
        if (href.contains(QLatin1String("|{00020430-0000-0000-C000-000000000046}:2.0.")))
            link = href;
    ASSERT_FALSE(link.isEmpty()) << win.pane()->toPlainText().toStdString();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    w.followLink(link);
    const QString url = QApplication::clipboard()->text();
    EXPECT_EQ(url, QStringLiteral("progid4:{00020430-0000-0000-C000-000000000046}:2.0.GUID"));
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

TEST(BrowsingWindow, NextInterfaceShowHiddenAndPathTyping) {
    WindowBrowsing w;
    ASSERT_TRUE(w.ready());
    MainWindow& win = *w.window;
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
    const int document = w.rowOf(win.list1(), QStringLiteral("IHTMLDocument2"));
    ASSERT_GE(document, 0);
    w.click(win.list1(), document);
    EXPECT_TRUE(win.list2()->isEnabled());
    EXPECT_EQ(win.memberCaption()->palette().color(QPalette::WindowText), normal);
    EXPECT_LT(w.rowOf(win.list2(), QStringLiteral("QueryInterface")), 0); // restricted

    // "Show Hidden" and Enter in the path box: restricted items are listed.
    const int types = win.list1()->count();
    win.showHiddenAction()->setChecked(true);
    QTest::keyClick(win.pathBox()->lineEdit(), Qt::Key_Return);
    EXPECT_GT(win.list1()->count(), types);
    w.click(win.list1(), w.rowOf(win.list1(), QStringLiteral("IHTMLDocument2")));
    EXPECT_GE(w.rowOf(win.list2(), QStringLiteral("QueryInterface")), 0);

    // Typing into the path box completes the folder; the rest stays selected for typing.
    QLineEdit* edit = win.pathBox()->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(edit->text(), QStringLiteral("C:\\"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral(":\\"));
}
