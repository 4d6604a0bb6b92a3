#include "browser/browsing_machine.h"
#include "export/clipboard_commands.h"
#include "search/get_pid.h"

#include <QFileInfo>
#include <QLocale>
#include <gtest/gtest.h>

namespace vantor {
namespace {

using snippets::CreationForm, snippets::TypeInfoForm;
const auto q = [](const char* text) { return QString::fromUtf8(text); };
const QString kWshom = q("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");

// The window over the test prefix, recording what the commands do to it.
struct Window : ClipboardFrame {
    test::BrowsingMachine& machine = *[] {
        static test::BrowsingMachine m;
        return &m;
    }();
    RecordingFrame catalogFrame;
    Catalogs catalogs{machine.programFolder(), catalogFrame};
    std::unique_ptr<tli::TypeLibInfo> lib;
    std::optional<tli::ListRow> row;
    QStringList lines{q("a"), q("b")};
    QString clipboard = q("before"), status, said, pane;
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
    QString pathText() const override { return q("C:\\x.dll"); }
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

TEST(ClipboardCommands, EveryCopyOverWshomAndScrrun) {
    Window w(q("wshom.ocx"), q("WshShell"));
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
        EXPECT_EQ(w.clipboard + w.status, q(text) + q("Copied ") + q(text) + q(" to Clipboard"));
    }
    w.row->text = q("IGenScriptletTLib");
    w.commands.copyCreation(CreationForm::String);
    EXPECT_EQ(w.clipboard, q("Scriptlet.TypeLib"));
    w.select(q("WshExec"));
    w.commands.copyCreation(CreationForm::String);
    EXPECT_EQ(w.status + w.clipboard, q("Failed - Not Creatable...Scriptlet.TypeLib"));

    const TypeLibRecord r{kWshom, q("1.0"), q("\"Help, quoted\""), {}, {}};
    EXPECT_EQ(snippets::vbReference(r, 9, q("C:\\a.ocx")).text,
              q("Reference=*\\G") + kWshom + q("#1.0#9#C:\\a.ocx#Help, quoted"));

    w.commands.copyReference(true); // no entry selected in the path box
    EXPECT_EQ(w.said + w.clipboard, q("Scroll down and choose a TypeLibScriptlet.TypeLib"));
    w.commands.copyListRowReference(false, -1, kWshom, q("1.0"));
    EXPECT_EQ(w.clipboard + w.status,
              q("<reference guid=\"") + kWshom + q("\" version=\"1.0\" />Success ..."));
    w.commands.copyListRowReference(true, -1, kWshom, q("1.0"));
    EXPECT_EQ(w.clipboard, q("Reference=*\\G") + kWshom +
                               q("#1.0#0#C:\\windows\\system32\\wshom.ocx#Windows Script Host "
                                 "Object Model"));

    w.select(q("WshShell"));
    const QString url = q("progid4:") + kWshom + q(":1.0.WshShell");
    const std::tuple<TypeInfoForm, QString, const char*> typeForms[] = {
        {TypeInfoForm::Guid, q("{72C24DD5-D70A-438B-8A42-98424B88AFB8}"), "Copied TypeInfo GUID"},
        {TypeInfoForm::Anchor, q("<a href=\"") + url + q("\">WshShell</a>"),
         "Copied TypeInfo as Anchor"},
        {TypeInfoForm::Url, url, "Copied TypeInfo as progid4:"}};
    for (const auto& [form, text, status] : typeForms) {
        w.commands.copyTypeInfo(form);
        EXPECT_EQ(w.clipboard + w.status, text + q(status));
    }
    w.commands.copyObjectTag();
    EXPECT_EQ(w.clipboard, q("<object id=oCntrl  classid=\"clsid:72C24DD5-D70A-438B-8A42-"
                             "98424B88AFB8\" width = 280 height = 30 ></object>"));
    w.commands.copyAllMembers();
    EXPECT_EQ(w.clipboard + w.status, q("a\r\nb\r\nCopied 2 items"));

    w.row.reset(), w.clipboard.clear(), w.status.clear();
    w.commands.copyMemberLine(), w.commands.copyAllMembers(), w.commands.copyConstants();
    w.commands.copyCreation(CreationForm::String);
    EXPECT_EQ(w.clipboard + w.status, QString());
    w.commands.copyObjectTag();
    EXPECT_TRUE(w.clipboard.contains(q("classid=\"clsid:\" width")));

    w.commands.showDefinitionDetails();
    EXPECT_EQ(w.pane,
              q(" Definition Details: %1 ProgID Defs, %2 TypeLib Defs\r\n          Last "
                "Refreshed on %3")
                  .arg(w.catalogs.PIDDefs().size())
                  .arg(w.catalogs.TLDefs().size())
                  .arg(QLocale::system().toString(QFileInfo(w.catalogs.progIdFile()).lastModified(),
                                                  QLocale::ShortFormat)));

    // Constants as code, a hexadecimal suffix above 15 and below 0.
    w.lib = w.machine.open(q("scrrun.dll"));
    for (const auto& [type, text] :
         {std::pair{"FileAttribute", "const Volume = 8\r\nconst Directory = 16 (&H10)\r\n"},
          {"Tristate", "const TristateTrue = -1 (&HFFFFFFFF)\r\nconst TristateFalse = 0\r\n"
                       "const TristateUseDefault = -2 (&HFFFFFFFE)\r\n"}}) {
        w.select(q(type));
        w.commands.copyConstants();
        EXPECT_TRUE(w.clipboard.contains(q(text))) << w.clipboard.toStdString();
    }
    EXPECT_EQ(w.status, q("Copied 2 items as code"));
}

} // namespace
} // namespace vantor
