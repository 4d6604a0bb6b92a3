#include "browser/browsing_machine.h"
#include "export/clipboard_commands.h"
#include "search/get_pid.h"

#include <QFileInfo>
#include <QLocale>
#include <gtest/gtest.h>

namespace vantor {
namespace {

using snippets::CreationForm;
using snippets::TypeInfoForm;
const QString kWshom = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");

test::BrowsingMachine& sharedMachine() {
    static test::BrowsingMachine machine;
    return machine;
}

// The window over the test prefix, recording what the commands do to it.
struct Window : ClipboardFrame {
    test::BrowsingMachine& machine = sharedMachine();
    RecordingFrame catalogFrame;
    Catalogs catalogs{machine.programFolder(), catalogFrame};
    std::unique_ptr<tli::TypeLibInfo> lib;
    std::optional<tli::ListRow> row;
    QStringList lines{QStringLiteral("a"), QStringLiteral("b")};
    QString clipboard = QStringLiteral("before"), status, said, pane;
    ClipboardCommands commands{*this, machine.app()};

    explicit Window(const QString& file, const QString& type = {}) {
        catalogs.LoadDefs(1);
        commands.setCatalogs(&catalogs);
        lib = machine.open(file);
        select(type);
    }
    void select(const QString& type) {
        row.reset();
        for (const tli::ListRow& r : lib->typeInfoRows())
            if (r.text == type)
                row = r;
    }
    std::optional<tli::ListRow> typeInfoRow() const override { return row; }
    QStringList memberLines() const override { return lines; }
    QString memberLine() const override { return lines.value(1); }
    const tli::TypeLibInfo* library() const override { return lib.get(); }
    QString pathText() const override { return QStringLiteral("C:\\x.dll"); }
    int selectedPathEntry() const override { return -1; }
    QString progIdOf(const QString& l, const QString& c, const QString& id) const override {
        return GetPID(machine.store(), l, c, id);
    }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void flashStatus(const QString& text) override { status = text; }
    void message(const QString& text) override { said = text; }
    void showPaneText(const QString& text) override { pane = text; }
    void setBusy(bool) override {}
};

TEST(ClipboardCommands, CreatableProgIdInEveryFormAndNotCreatable) {
    Window w(QStringLiteral("wshom.ocx"), QStringLiteral("WshShell"));
    ASSERT_TRUE(w.machine.built() && w.row);
    const std::pair<CreationForm, const char*> forms[] = {
        {CreationForm::String, "WScript.Shell.1"},
        {CreationForm::JScript, "var oObj = new ActiveXObject('WScript.Shell.1');"},
        {CreationForm::VBScript, "set oObj = WScript.CreateObject(\"WScript.Shell.1\", \"oObj_\")"},
        {CreationForm::Perl, "use Win32::OLE;\r\nmy $Obj = Win32::OLE->new('WScript.Shell.1',  "
                             "\\&OleQuit) || die(\"could not create Obj\\n\");"},
        {CreationForm::Python,
         "import win32com.client\r\nom = win32com.client.Dispatch(\"WScript.Shell.1\")"}};
    for (const auto& [form, text] : forms) {
        w.commands.copyCreation(form);
        EXPECT_EQ(w.clipboard, QString::fromLatin1(text));
        EXPECT_EQ(w.status, QStringLiteral("Copied ") + QString::fromLatin1(text) +
                                QStringLiteral(" to Clipboard"));
    }
    // The scriptlet library's interface stands for its class.
    w.row->text = QStringLiteral("IGenScriptletTLib");
    w.commands.copyCreation(CreationForm::String);
    EXPECT_EQ(w.clipboard, QStringLiteral("Scriptlet.TypeLib"));
    w.select(QStringLiteral("WshExec"));
    w.commands.copyCreation(CreationForm::String);
    EXPECT_EQ(w.status, snippets::kNotCreatable);
    EXPECT_EQ(w.clipboard, QStringLiteral("Scriptlet.TypeLib"));
}

TEST(ClipboardCommands, ReferencesFromRecordsAndListRows) {
    TypeLibRecord r{kWshom, QStringLiteral("1.0"), QStringLiteral("\"Help, quoted\""), {}, {}};
    EXPECT_EQ(snippets::vbReference(r, 9, QStringLiteral("C:\\a.ocx")).text,
              QStringLiteral("Reference=*\\G") + kWshom +
                  QStringLiteral("#1.0#9#C:\\a.ocx#Help, quoted"));
    r.helpString = QStringLiteral("Plain");
    EXPECT_TRUE(snippets::vbReference(r, 0, {}).text.endsWith(QStringLiteral("##Plain")));

    Window w(QStringLiteral("wshom.ocx"));
    w.commands.copyReference(true); // no entry selected in the path box
    EXPECT_EQ(w.said, QStringLiteral("Scroll down and choose a TypeLib"));
    EXPECT_EQ(w.clipboard, QStringLiteral("before"));
    w.commands.copyListRowReference(false, -1, kWshom, QStringLiteral("1.0"));
    EXPECT_EQ(w.clipboard, QStringLiteral("<reference guid=\"") + kWshom +
                               QStringLiteral("\" version=\"1.0\" />"));
    EXPECT_EQ(w.status, QStringLiteral("Success ..."));
    w.commands.copyListRowReference(true, -1, kWshom, QStringLiteral("1.0"));
    EXPECT_EQ(w.clipboard,
              QStringLiteral("Reference=*\\G") + kWshom +
                  QStringLiteral(
                      "#1.0#0#C:\\windows\\system32\\wshom.ocx#Windows Script Host Object Model"));
}

TEST(ClipboardCommands, TypeTextsAndTheGuardWithoutAType) {
    Window w(QStringLiteral("wshom.ocx"), QStringLiteral("WshShell"));
    const QString shell = QStringLiteral("{72C24DD5-D70A-438B-8A42-98424B88AFB8}");
    const QString url = QStringLiteral("progid4:") + kWshom + QStringLiteral(":1.0.WshShell");
    const std::tuple<TypeInfoForm, QString, const char*> forms[] = {
        {TypeInfoForm::Guid, shell, "Copied TypeInfo GUID"},
        {TypeInfoForm::Anchor,
         QStringLiteral("<a href=\"") + url + QStringLiteral("\">WshShell</a>"),
         "Copied TypeInfo as Anchor"},
        {TypeInfoForm::Url, url, "Copied TypeInfo as progid4:"}};
    for (const auto& [form, text, status] : forms) {
        w.commands.copyTypeInfo(form);
        EXPECT_EQ(std::pair(w.clipboard, w.status), std::pair(text, QString::fromLatin1(status)));
    }
    w.commands.copyObjectTag();
    EXPECT_EQ(w.clipboard, QStringLiteral("<object id=oCntrl  classid=\"clsid:") +
                               shell.mid(1, 36) +
                               QStringLiteral("\" width = 280 height = 30 ></object>"));
    w.commands.copyAllMembers();
    EXPECT_EQ(std::pair(w.clipboard, w.status),
              std::pair(QStringLiteral("a\r\nb\r\n"), QStringLiteral("Copied 2 items")));

    w.row.reset();
    w.clipboard = w.status = QString();
    w.commands.copyMemberLine();
    w.commands.copyCreation(CreationForm::String);
    w.commands.copyAllMembers();
    w.commands.copyConstants();
    EXPECT_EQ(w.clipboard + w.status, QString());
    w.commands.copyObjectTag();
    EXPECT_TRUE(w.clipboard.contains(QStringLiteral("classid=\"clsid:\" width")));

    w.commands.showDefinitionDetails();
    const QFileInfo pid(w.catalogs.progIdFile());
    EXPECT_EQ(w.pane, QStringLiteral(" Definition Details: %1 ProgID Defs, %2 TypeLib Defs\r\n"
                                     "          Last Refreshed on ")
                              .arg(w.catalogs.PIDDefs().size())
                              .arg(w.catalogs.TLDefs().size()) +
                          QLocale::system().toString(pid.lastModified(), QLocale::ShortFormat));
}

TEST(ClipboardCommands, ConstantsAsCodeWithHexadecimalAboveFifteenAndBelowZero) {
    const std::pair<const char*, QStringList> cases[] = {
        {"FileAttribute", {"const Volume = 8\r\n", "const Directory = 16 (&H10)\r\n"}},
        {"Tristate",
         {"const TristateTrue = -1 (&HFFFFFFFF)\r\n",
          "const TristateUseDefault = -2 (&HFFFFFFFE)"}}};
    for (const auto& [type, lines] : cases) {
        Window w(QStringLiteral("scrrun.dll"), QString::fromLatin1(type));
        ASSERT_TRUE(w.row) << type;
        w.commands.copyConstants();
        for (const QString& line : lines)
            EXPECT_TRUE(w.clipboard.contains(line)) << w.clipboard.toStdString();
        EXPECT_EQ(w.status, QStringLiteral("Copied 2 items as code"));
    }
}

} // namespace
} // namespace vantor
