#pragma once

#include "browser/browser_frame.h"
#include "browser/popup_commands.h"

#include <QHash>
#include <QList>
#include <QString>
#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace vantor {

// The main window's commands, created in one place: the toolbar buttons, the list popup and the
// menu bar. Each action has a name (its object name) to be found by; a window or command set
// connects to its actions here instead of building menus of its own.
class MainActions {
public:
    MainActions(QMainWindow& window, QToolBar& toolbar, bool chmKeywordChecked);

    // By name, e.g. "back", "view.refresh", "popup.show_hidden"; null when there is none.
    QAction* find(const QString& name) const;
    // A ToolbarButton; separators count; null outside 1..9.
    QAction* button(int number) const;
    // A popup item; a submenu's item is its menu action.
    QAction* popup(PopupCommands::Command command) const { return popupItems_[command]; }
    QMenu* popupMenu() const { return popupMenu_; }

private:
    QAction* named(QAction* action, const QString& name);
    void buildToolbar(QToolBar& toolbar);
    void buildPopup(QMainWindow& window, bool chmKeywordChecked);
    void buildMenuBar(QMainWindow& window);

    QHash<QString, QAction*> byName_;
    QList<QAction*> buttons_; // index = button number - 1
    std::array<QAction*, PopupCommands::Count> popupItems_{};
    QMenu* popupMenu_ = nullptr;
};

} // namespace vantor
