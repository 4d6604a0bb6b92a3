#include "app/popup_menu_commands.h"

#include "app/main_actions.h"
#include "app/mru_view.h"
#include "browser/library_browser.h"
#include "search/get_pid.h"
#include "tli/session.h"
#include "tli/tli_application.h"

#include <QAction>
#include <QListWidget>
#include <QTextBrowser>

namespace vantor {

PopupMenuCommands::PopupMenuCommands(const MainActions& actions, Window window,
                                     const tli::TLIApplication& app, QObject* parent)
    : QObject(parent), window_(std::move(window)), app_(app), commands_(*this, app) {
    using Form = snippets::CreationForm;
    using TypeForm = snippets::TypeInfoForm;
    ClipboardCommands& c = commands_;
    const std::pair<const char*, std::function<void()>> items[] = {
        {"popup.copy", [&c] { c.copyMemberLine(); }},
        {"popup.progid.string", [&c] { c.copyCreation(Form::String); }},
        {"popup.progid.jscript", [&c] { c.copyCreation(Form::JScript); }},
        {"popup.progid.vbscript", [&c] { c.copyCreation(Form::VBScript); }},
        {"popup.progid.perl", [&c] { c.copyCreation(Form::Perl); }},
        {"popup.progid.python", [&c] { c.copyCreation(Form::Python); }},
        {"popup.vb_reference", [&c] { c.copyReference(true); }},
        {"popup.wsh_reference", [&c] { c.copyReference(false); }},
        {"popup.all_members", [&c] { c.copyAllMembers(); }},
        {"popup.all_constants", [&c] { c.copyConstants(); }},
        {"popup.html_tag", [&c] { c.copyObjectTag(); }},
        {"popup.typeinfo.guid", [&c] { c.copyTypeInfo(TypeForm::Guid); }},
        {"popup.typeinfo.anchor", [&c] { c.copyTypeInfo(TypeForm::Anchor); }},
        {"popup.typeinfo.url", [&c] { c.copyTypeInfo(TypeForm::Url); }},
        {"popup.definition_details", [&c] { c.showDefinitionDetails(); }},
    };
    for (const auto& [name, run] : items)
        connect(actions.find(QString::fromLatin1(name)), &QAction::triggered, this, run);
    // "Show Hidden" shows or hides the hidden entries at once.
    connect(actions.popup(PopupCommands::ShowHidden), &QAction::triggered, this, [this] {
        if (!window_.frame.pathText().isEmpty())
            window_.browse();
    });
    connect(window_.libraries, &MruView::referenceRequested, this,
            [this](bool vb, qint32 entry, const QString& guid, const QString& version) {
                commands_.copyListRowReference(vb, entry, guid, version);
            });
}

std::optional<tli::ListRow> PopupMenuCommands::typeInfoRow() const {
    const int row = window_.frame.typeInfoRow();
    const QList<tli::ListRow>& rows = window_.browser.typeInfoRows();
    if (row < 0 || row >= rows.size())
        return std::nullopt;
    return rows[row];
}

QStringList PopupMenuCommands::memberLines() const {
    QStringList lines;
    for (int i = 0; i < window_.members->count(); ++i)
        lines.append(window_.members->item(i)->text());
    return lines;
}

QString PopupMenuCommands::memberLine() const {
    const QListWidgetItem* row = window_.members->currentItem();
    return row && row->isSelected() ? row->text() : QString();
}

const tli::TypeLibInfo* PopupMenuCommands::library() const {
    const tli::TypeLibInfo& library = window_.browser.library();
    return library.isOpen() ? &library : nullptr;
}

QString PopupMenuCommands::pathText() const {
    return window_.frame.pathText();
}

int PopupMenuCommands::selectedPathEntry() const {
    return window_.frame.selectedPathEntry();
}

QString PopupMenuCommands::progIdOf(const QString& library, const QString& className,
                                    const QString& classId) const {
    const registry::Store* store = app_.session()->store();
    return store ? GetPID(*store, library, className, classId) : QString();
}

void PopupMenuCommands::setClipboardText(const QString& text) {
    window_.frame.setClipboardText(text);
}

void PopupMenuCommands::flashStatus(const QString& text) {
    window_.frame.flashStatus(text);
}

void PopupMenuCommands::showPaneText(const QString& text) {
    window_.pane->setPlainText(text);
}

} // namespace vantor
