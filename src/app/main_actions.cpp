#include "app/main_actions.h"

#include "app/icon_set.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace vantor {

namespace {

QAction* checkItem(QMenu* menu, const QString& caption, bool checked = false) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

} // namespace

MainActions::MainActions(QMainWindow& window, QToolBar& toolbar, bool chmKeywordChecked) {
    buildToolbar(toolbar);
    buildPopup(window, chmKeywordChecked);
    buildMenuBar(window);
}

QAction* MainActions::named(QAction* action, const QString& name) {
    action->setObjectName(name);
    byName_.insert(name, action);
    return action;
}

QAction* MainActions::find(const QString& name) const {
    return byName_.value(name);
}

QAction* MainActions::button(int number) const {
    return number >= 1 && number <= buttons_.size() ? buttons_[number - 1] : nullptr;
}

void MainActions::buildToolbar(QToolBar& toolbar) {
    struct Button {
        const char* tip;
        const char* key;
        int image;
    };
    static const Button table[ToolbarButtonCount] = {
        {"Back [Ctrl-<]", "back", 1},     {"Forward [Ctrl->]", "forward", 2},
        {"Copy [Copy-C]", "copy", 3},     {"Minimize RTB", "rtf", 11},
        {"Help [F1]", "help", 13},        {nullptr, "sep1", -1},
        {"Search", "search", 0},          {nullptr, "sep1", -1},
        {"Next Interface", "next_int", 4}};
    for (const Button& b : table) {
        if (!b.tip) {
            toolbar.addSeparator()->setObjectName(QString::fromLatin1(b.key));
            buttons_.append(toolbar.actions().last());
            continue;
        }
        const QString tip = QString::fromLatin1(b.tip);
        QAction* a =
            named(toolbar.addAction(toolbarImage(b.image), tip), QString::fromLatin1(b.key));
        a->setToolTip(tip);
        buttons_.append(a);
    }
    // Help and Next Interface wait for a type too.
    for (int b : {BackButton, ForwardButton, CopyButton, MinimizePaneButton, HelpButton,
                  NextInterfaceButton})
        button(b)->setEnabled(false);
    // The keys the tooltips name, as typed on the keyboard's layout, and the usual ones.
    button(BackButton)->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Less), QKeySequence::Back});
    button(ForwardButton)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Greater), QKeySequence::Forward});
}

void MainActions::buildPopup(QMainWindow& window, bool chmKeywordChecked) {
    popupMenu_ = new QMenu(QStringLiteral("MyPopup"), &window);
    popupMenu_->setToolTipsVisible(true);
    QMenu* const popup = popupMenu_;
    const auto item = [this](QMenu* menu, const char* caption, const char* name) {
        return named(menu->addAction(QString::fromLatin1(caption)), QString::fromLatin1(name));
    };
    const auto submenu = [this,
                          item](QMenu* menu, const char* caption, const char* name,
                                std::initializer_list<std::pair<const char*, const char*>> items) {
        QMenu* sub = menu->addMenu(QString::fromLatin1(caption));
        for (const auto& [itemCaption, itemName] : items)
            item(sub, itemCaption, itemName);
        return named(sub->menuAction(), QString::fromLatin1(name));
    };
    const auto check = [this](QMenu* menu, const char* caption, const char* name,
                              bool checked = false) {
        return named(checkItem(menu, QString::fromLatin1(caption), checked),
                     QString::fromLatin1(name));
    };
    using C = PopupCommands;
    std::array<QAction*, C::Count>& p = popupItems_;
    p[C::Copy] = item(popup, "&Copy", "popup.copy");
    p[C::CreatableProgId] = submenu(popup, "Copy Creatable ProgID", "popup.progid",
                                    {{"As String", "popup.progid.string"},
                                     {"As JScript", "popup.progid.jscript"},
                                     {"As VBScript", "popup.progid.vbscript"},
                                     {"As Perl", "popup.progid.perl"},
                                     {"As Python", "popup.progid.python"}});
    p[C::VbReference] = item(popup, "Copy VB TypeLib Reference", "popup.vb_reference");
    p[C::WshReference] = item(popup, "Copy WSH TypeLib Reference", "popup.wsh_reference");
    p[C::AllMembers] = item(popup, "Copy All Members", "popup.all_members");
    p[C::AllConstants] = item(popup, "Copy All Constants as Code", "popup.all_constants");
    p[C::HtmlObjectTag] = item(popup, "Copy HTML Object Tag Reference", "popup.html_tag");
    p[C::TypeInfo] = submenu(popup, "Copy TypeInfo", "popup.typeinfo",
                             {{"As GUID", "popup.typeinfo.guid"},
                              {"As Complete Anchor", "popup.typeinfo.anchor"},
                              {"As progid4: URL", "popup.typeinfo.url"}});
    popup->addSeparator();
    p[C::AllowInstantiation] =
        check(popup, "Allow ProgID/Object Instantiation", "popup.instantiation", true);
    p[C::AutoBrowse] = check(popup, "Auto Browse to Class", "popup.auto_browse", true);
    popup->addSeparator();
    p[C::ShowHidden] = check(popup, "Show Hidden", "popup.show_hidden");
    p[C::ExportTypeLibs] = item(popup, "Export TypeLib Definitions to IE", "popup.export_typelibs");
    p[C::ExportProgIds] = item(popup, "Export ProgID Definitions to IE", "popup.export_progids");
    p[C::DefinitionDetails] = item(popup, "Get Definition Details", "popup.definition_details");
    p[C::DefineLibName] = check(popup, "Define Libname on Refresh", "popup.define_libname");
    popup->addSeparator();
    p[C::ChmKeyword] =
        check(popup, "CHM: Force Keyword Lookup", "popup.chm_keyword", chmKeywordChecked);
}

void MainActions::buildMenuBar(QMainWindow& window) {
    const auto add = [this](QMenu* menu, const char* caption, const char* name) {
        return named(menu->addAction(QString::fromLatin1(caption)), QString::fromLatin1(name));
    };
    QMenu* view = window.menuBar()->addMenu(QStringLiteral("&View"));
    named(checkItem(view, QStringLiteral("Always OnTop")), QStringLiteral("view.on_top"));
    view->addSeparator();
    add(view, "&Properties", "view.properties");
    view->addSeparator();
    add(view, "&Refresh", "view.refresh")->setShortcut(QKeySequence(Qt::Key_F5));
    view->addSeparator();
    add(view, "&WScript", "view.wscript");

    QMenu* about = window.menuBar()->addMenu(QStringLiteral("&About"));
    add(about, "App Info", "about.app_info");

    QMenu* search = window.menuBar()->addMenu(QStringLiteral("&Search"));
    search->setToolTipsVisible(true);
    for (const auto& [caption, name] : {std::pair{"By TypeLib Help String", "search.typelib_help"},
                                        {"By ProgID Help String", "search.progid_help"},
                                        {"By ProgID", "search.progid"},
                                        {"Anywhere", "search.anywhere"}})
        named(checkItem(search, QString::fromLatin1(caption)), QString::fromLatin1(name));

    QMenu* docs = window.menuBar()->addMenu(QStringLiteral("&LibDocs"));
    docs->setToolTipsVisible(true);
    QMenu* constants = docs->addMenu(QStringLiteral("Export All Constants"));
    add(constants, "As VBScript", "docs.constants.vbscript");
    add(constants, "As JScript", "docs.constants.jscript");
    named(constants->menuAction(), QStringLiteral("docs.constants"));
    add(docs, "Export All Member Names", "docs.member_names");
    QMenu* format = docs->addMenu(QStringLiteral("Export Docs"));
    add(format, "As RichText", "docs.export.rtf");
    add(format, "As HTML", "docs.export.html");
    add(format, "As Abstract XML", "docs.export.xml");
    named(format->menuAction(), QStringLiteral("docs.export"));
    docs->addSeparator();
    // The export options, checked as a first run finds them.
    for (const auto& [caption, name, checked] :
         {std::tuple{"Write to Vantor tree", "docs.write_tree", true},
          {"Copy to Clipboard", "docs.clipboard", false},
          {"Open in Default Application", "docs.open", true},
          {"Group Docs by TypeKind", "docs.group_by_kind", true}}) {
        QAction* option = add(docs, caption, name);
        option->setCheckable(true);
        option->setChecked(checked);
    }
}

} // namespace vantor
