// snippet: the clipboard text of one of the context menu's copy items, made by the window's own
// copy commands over a library opened without a window.
#include "catalog/catalogs.h"
#include "cli/cli_command.h"
#include "cli/cli_machine.h"
#include "cli/headless_browser.h"
#include "cli/library_argument.h"
#include "export/clipboard_commands.h"
#include "search/get_pid.h"
#include "text/error.h"

#include <cstdio>
#include <functional>

namespace vantor::cli {

namespace {

using snippets::CreationForm;
using snippets::TypeInfoForm;

// The context menu's items by their --as names; the creation forms come first.
struct Item {
    const char* name;
    std::function<void(ClipboardCommands&)> copy;
};
const Item kItems[] = {
    {"string", [](ClipboardCommands& c) { c.copyCreation(CreationForm::String); }},
    {"jscript", [](ClipboardCommands& c) { c.copyCreation(CreationForm::JScript); }},
    {"vbscript", [](ClipboardCommands& c) { c.copyCreation(CreationForm::VBScript); }},
    {"perl", [](ClipboardCommands& c) { c.copyCreation(CreationForm::Perl); }},
    {"python", [](ClipboardCommands& c) { c.copyCreation(CreationForm::Python); }},
    {"vb-reference", [](ClipboardCommands& c) { c.copyReference(true); }},
    {"wsh-reference", [](ClipboardCommands& c) { c.copyReference(false); }},
    {"object-tag", [](ClipboardCommands& c) { c.copyObjectTag(); }},
    {"guid", [](ClipboardCommands& c) { c.copyTypeInfo(TypeInfoForm::Guid); }},
    {"anchor", [](ClipboardCommands& c) { c.copyTypeInfo(TypeInfoForm::Anchor); }},
    {"url", [](ClipboardCommands& c) { c.copyTypeInfo(TypeInfoForm::Url); }},
};
constexpr int kCreationForms = 5;

// What the copy commands read: the headless browser's library, path box and selected rows, the
// machine's registry for GetPID; what they copy and report is kept.
class SnippetFrame : public ClipboardFrame {
public:
    SnippetFrame(HeadlessBrowser& browser, const registry::Store& store)
        : browser_(browser), store_(store) {}
    snippets::Snippet result;

    std::optional<tli::ListRow> typeInfoRow() const override {
        const int row = browser_.typeInfoRow();
        if (row < 0 || row >= browser_.typeRows().size())
            return std::nullopt;
        return browser_.typeRows()[row];
    }
    QStringList memberLines() const override {
        QStringList lines;
        for (const tli::ListRow& row : browser_.memberRows())
            lines.append(row.text);
        return lines;
    }
    QString memberLine() const override {
        const int row = browser_.memberRow();
        return row >= 0 && row < browser_.memberRows().size() ? browser_.memberRows()[row].text
                                                              : QString();
    }
    const tli::TypeLibInfo* library() const override { return &browser_.library(); }
    QString pathText() const override { return browser_.path(); }
    int selectedPathEntry() const override { return browser_.pathEntry(); }
    QString progIdOf(const QString& library, const QString& className,
                     const QString& classId) const override {
        return GetPID(store_, library, className, classId);
    }
    void setClipboardText(const QString& text) override { result.text = text; }
    void flashStatus(const QString& text) override { result.status = text; }
    void message(const QString& text) override { result.status = text; }
    void showPaneText(const QString&) override {}
    void setBusy(bool) override {}

private:
    HeadlessBrowser& browser_;
    const registry::Store& store_;
};

const Item& itemNamed(const QString& name) {
    for (const Item& item : kItems)
        if (name == QLatin1String(item.name))
            return item;
    throw UsageError(name.isEmpty() ? QStringLiteral("--as is missing")
                                    : QStringLiteral("unknown snippet ") + name);
}

// The item's text and status from the window's copy command over LIBRARY [TYPE].
snippets::Snippet fromLibrary(CliMachine& m, const Item& item, const QStringList& args) {
    const bool reference = QByteArray(item.name).endsWith("-reference");
    if (!reference && args.size() < 2)
        throw UsageError(QStringLiteral("--as ") + QLatin1String(item.name) +
                         QStringLiteral(" needs a TYPE"));
    const qint32 record = catalogRecord(m, args[0]);
    HeadlessBrowser browser(m.application(), m.catalogs(), m.ini(), m.programFolder());
    browser.open(record);
    if (args.size() > 1 && !browser.selectType(args[1]))
        throw Error(Error::InvalidCall, QStringLiteral("vantor-cli"),
                    QStringLiteral("no type named ") + args[1]);
    SnippetFrame frame(browser, m.store());
    ClipboardCommands commands(frame, m.application());
    commands.setCatalogs(&m.catalogs());
    item.copy(commands);
    return frame.result;
}

int snippet(CliContext& c) {
    const Item& item = itemNamed(c.args.takeValue(QStringLiteral("--as")));
    const QString progId = c.args.takeValue(QStringLiteral("--progid"));
    snippets::Snippet result;
    if (!progId.isEmpty()) {
        c.args.positional(0, 0);
        if (&item - kItems >= kCreationForms)
            throw UsageError(QStringLiteral("--as ") + QLatin1String(item.name) +
                             QStringLiteral(" needs LIBRARY TYPE, not --progid"));
        result = snippets::creation(CreationForm(&item - kItems), progId);
    } else {
        result = fromLibrary(c.machine(), item, c.args.positional(1, 2));
    }
    if (c.json)
        writeJson({{"text", result.text}, {"status", result.status}});
    else if (!result.text.isEmpty())
        writeText(result.text + u'\n');
    if (result.text.isEmpty()) {
        const QString why =
            result.status.isEmpty() ? QStringLiteral("nothing to copy") : result.status;
        std::fprintf(stderr, "vantor-cli snippet: %s\n", qPrintable(why));
        return NothingOrDifferent;
    }
    return Done;
}

const Command kSnippet{
    "snippet",
    "snippet (--progid PROGID | LIBRARY TYPE) --as FORM",
    "the context menu's clipboard texts",
    "Prints what the type list's context menu copies, followed by a line end. FORM is one of:\n"
    "  string, jscript, vbscript, perl, python  creating the class (\"Copy Creatable ProgID\"):\n"
    "      with --progid for that ProgID as it is given, with a type for the ProgID the\n"
    "      machine's registry gives its class\n"
    "  vb-reference, wsh-reference  the library reference (TYPE may be left out)\n"
    "  object-tag                   the HTML object tag of the type\n"
    "  guid, anchor, url            the type's GUID, a progid4: anchor, the progid4: URL\n"
    "When there is nothing to copy (a class without a ProgID: \"Failed - Not Creatable...\"),\n"
    "the menu's status text goes to standard error and the exit status is 1.\n"
    "JSON: {\"text\": the text (\"\" when none), \"status\": the status line's text}.\n",
    true,
    snippet};
const CommandRegistration kRegister{kSnippet};

} // namespace

} // namespace vantor::cli
