#include "app/ini_file.h"
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct WindowFixture {
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    QStringList messages;
    std::unique_ptr<MainWindow> window;

    WindowFixture() {
        MainWindow::Services services;
        services.message = [this](const QString& t) { messages.append(t); };
        window = std::make_unique<MainWindow>(ini, services);
    }
};

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

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
    // Items of later work are disabled and say so.
    for (const QAction* a : f.window->menuBar()->actions()[2]->menu()->actions()) {
        EXPECT_FALSE(a->isEnabled());
        EXPECT_EQ(a->toolTip(), QStringLiteral("not available yet"));
    }
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

TEST(MainWindow, EnterInEmptyPathBoxAsksForALibrary) {
    WindowFixture f;
    f.window->show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.window->pathBox(), &enter);
    EXPECT_EQ(f.messages, QStringList{QStringLiteral("Scroll down and choose a TypeLib")});
    // An empty search box asks for a search string.
    f.window->tbrMain_ButtonClick(7);
    EXPECT_EQ(f.messages.last(), QStringLiteral("enter your search string"));
}

TEST(MainWindow, CtrlCCopiesTheSelectedRowOnly) {
    WindowFixture f;
    f.window->show();
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    f.window->list1()->addItems({QStringLiteral("IWshShell"), QStringLiteral("WSHShell")});
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(f.window->list1(), &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    f.window->list1()->setCurrentRow(1);
    QApplication::sendEvent(f.window->list1(), &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("WSHShell"));
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

TEST(MainWindow, PopupOpensOnTheRightButtonsRelease) {
    WindowFixture f;
    f.window->show();
    f.window->list1()->addItems({QStringLiteral("IWshShell"), QStringLiteral("WshShell")});
    QWidget* rows = f.window->list1()->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), rows->mapToGlobal(QPointF(5, 5)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &press);
    EXPECT_FALSE(f.window->popupMenu()->isVisible());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), rows->mapToGlobal(QPointF(5, 5)),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &release);
    EXPECT_TRUE(f.window->popupMenu()->isVisible());
    // The release also names the row under the pointer in the list's tooltip.
    EXPECT_EQ(f.window->list1()->toolTip(), QStringLiteral("IWshShell"));
    f.window->popupMenu()->hide();
    QKeyEvent menuKey(QEvent::KeyRelease, Qt::Key_Menu, Qt::NoModifier);
    QApplication::sendEvent(f.window->list2(), &menuKey);
    EXPECT_TRUE(f.window->popupMenu()->isVisible());
}
