#pragma once

#include <QString>
#include <QtGlobal>

namespace vantor::help {

// The help contexts of mbrContextID: a page path, a keyword lookup, else a context number.
inline constexpr qint32 PageContext = 0;
inline constexpr qint32 KeywordContext = -99;

// What F1 (or the "Help [F1]" button) asks help for. Qt has no request record with handles:
// the window names the menu or window the request is about.
struct HelpRequest {
    enum class Target {
        MenuBarMenu, // a menu of the menu bar, named by `menuName` ("Search")
        MruMenu,     // the recently-used-libraries popup
        OtherMenu,   // any other menu: the context menu
        TypeList,
        MemberList,
        MruList,
        Pane,
        SearchBox,
        PathBox,
        StatusLine,
        PictureBox,
        OtherWindow,
    };
    Target target = Target::OtherWindow;
    QString menuName; // MenuBarMenu: the title without its "&"
};

// What the window shows when help is asked for.
struct HelpSelection {
    bool typeSelected = false;
    QString typeCaption;
    int typeKind = -1;            // the type's kind number, 0 enumeration ... 7 union
    QString defaultInterfaceName; // of a coclass; empty when none
    qint32 typeItemData = 0;      // the type row's item data (top byte: category flags)
    qint16 categoryCode = 0;      // the type row's category code
    bool memberSelected = false;
    QString memberText;
    qint32 invokeKinds = 0; // the member row's item data
    bool memberIsFunction = false;
    bool helpButtonEnabled = false;
    bool forceKeyword = false; // "CHM: Force Keyword Lookup"
};

// A help viewer call ShowContextHelp decided on.
struct HelpCall {
    enum class Viewer { None, Html, OlderEngine };
    Viewer viewer = Viewer::None;
    QString file; // the help file as located (folder + name)
    qint32 context = 0;
    QString topic;
    QString status; // the status line text; empty: none
    int result = 0;
};

} // namespace vantor::help
