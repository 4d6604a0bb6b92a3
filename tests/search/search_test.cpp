// The search logic over small catalogs and a small machine made for each case.
#include "catalog/catalog_frame.h"
#include "catalog/catalogs.h"
#include "catalog/small_machine.h"
#include "search/get_pid.h"
#include "search/gets_vers.h"
#include "search/help_string_search.h"
#include "search/progid_lookup.h"
#include "tli/tli_application.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kLib = QStringLiteral("{11111111-2222-3333-4444-555555555555}");

// A machine with one library in versions 1.0 and 2.0, a class with a ProgID key of its own and
// one whose CLSID names its ProgID.
const QString kExport =
    QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\%1\\1.0\\0\\win32]\r\n@=\"c:\\\\one.tlb\"\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\%1\\2.0\\0\\win32]\r\n@=\"c:\\\\two.tlb\"\r\n"
        "[HKEY_CLASSES_ROOT\\Lib.Class\\CLSID]\r\n@=\"{AAAAAAAA-0000-0000-0000-000000000001}\"\r\n"
        "[HKEY_CLASSES_ROOT\\Lib.Bare]\r\n@=\"no subkeys\"\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{AAAAAAAA-0000-0000-0000-000000000002}\\ProgID]\r\n"
        "@=\" Named.ByClass \"\r\n")
        .arg(kLib);

void writeCatalog(const QString& path, const char* header, const QStringList& records) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(header) + "\r\n");
    for (const QString& r : records)
        file.write(r.toLatin1() + "\r\n");
}

struct Small {
    SmallMachine machine{kExport};
    tli::TLIApplication app{&machine.store(), nullptr};
    CatalogFrame frame;
    Catalogs catalogs{machine.programFolder(), frame};
    QMap<QString, QString> joinFix;

    Small(const QStringList& typeLibs, const QStringList& progIds) {
        writeCatalog(machine.file("dbTypes.dat"), "TypeLib_GUID, Version, Help_String, TLPath",
                     typeLibs);
        writeCatalog(machine.file("dbPID.dat"), "ProgID, CLSID, Help_String, ServerPath, TypeLib",
                     progIds);
        catalogs.LoadDefs(1);
    }
    JoinFixSettings settings() {
        return {[this](const QString& k) { return joinFix.value(k); },
                [this](const QString& k, const QString& v) { joinFix[k] = v; }};
    }
};

// The search window and the main window as the search drives them.
struct Recorder : SearchFrame, SearchWindowView {
    QString find;
    QStringList history, messages, opened;
    QList<std::pair<QString, qint32>> rows;
    int selected = -1;
    QString progId;
    bool goTo = false;

    void status(const QString&) override {}
    void restartStatusTimer() override {}
    void processEvents() override {}
    void message(const QString& text) override { messages.append(text); }
    QString findText() const override { return find; }
    void setFindText(const QString& text) override { find = text; }
    QStringList findHistory() const override { return history; }
    void addFindHistory(const QString& text) override { history.append(text); }
    void focusFind() override {}
    void showMode(SearchMode, const SearchModeLook&) override {}
    bool allowInstantiation() const override { return true; }
    bool autoBrowseToClass() const override { return true; }
    void openLibrary(const QString& path) override { opened.append(path); }
    const tli::TypeLibInfo* loadedLibrary() const override { return nullptr; }
    bool selectTypeInfo(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    void focusTypeInfoList() override {}

    void showWindow(const SearchModeLook&) override {}
    void closeWindow() override {}
    void clearRows() override { rows.clear(); }
    void addRow(const QString& text, qint32 data) override { rows.append({text, data}); }
    int rowCount() const override { return int(rows.size()); }
    int selectedRow() const override { return selected; }
    QString rowText(int row) const override { return rows.value(row).first; }
    qint32 rowData(int row) const override { return rows.value(row).second; }
    void selectRow(int row) override { selected = row; }
    QString progIdText() const override { return progId; }
    void setProgIdText(const QString& text) override { progId = text; }
    void setGoToEnabled(bool enabled) override { goTo = enabled; }
    bool goToEnabled() const override { return goTo; }
};

} // namespace

TEST(GetsVers, ShortNumericPartsMakeTheHint) {
    const std::pair<const char*, const char*> cases[] = {{"Word.Application.8", "8.0"},
                                                         {"Excel.Sheet.12", "1.2"},
                                                         {"WScript.Shell", ".0"},
                                                         {"A.B.1.2", "1.2"},
                                                         {"A.500.7", "7.0"},
                                                         {"A.x1.3", "3.0"},
                                                         {"NoPoint12", ".0"},
                                                         {"A.1.2.3", "123.0"}};
    for (const auto& [progId, hint] : cases)
        EXPECT_EQ(GetsVers(QString::fromLatin1(progId)), QString::fromLatin1(hint)) << progId;
}

TEST(GetCsvCol, FollowsBackReferencesVersionsAndRememberedLibraries) {
    Small s({kLib + ", 1.0, Lib 1.0 Library, c:\\one.tlb, LibName",
             kLib + ", 2.0, Lib 2.0 Library, c:\\two.tlb, LibName"},
            {"A.Head, {AAAAAAAA-0000-0000-0000-000000000009}, Head, c:\\srv.dll, " + kLib,
             "A.Head.1, -1, -1, -1, -1", "A.Head.2, -2, -2, -2, -2",
             "Other.Thing, {AAAAAAAA-0000-0000-0000-000000000003}, Other, c:\\other.dll, *",
             "Far.Ref, -12, -12, -12, -12"});
    ProgIdLookup lookup(s.catalogs.TLDefs(), s.catalogs.PIDDefs(), s.app, s.settings());
    QStringList messages;
    lookup.onMessage([&](const QString& m) { messages.append(m); });

    // No hint: the highest version; the hint 1.0: the record that names it.
    EXPECT_EQ(lookup.GetCsvCol(2, 5), QStringLiteral("c:\\two.tlb"));
    EXPECT_EQ(lookup.GetCsvColzz(2, 2), QStringLiteral("{AAAAAAAA-0000-0000-0000-000000000009}"));
    lookup.context().versionHint = QStringLiteral("1.0");
    EXPECT_EQ(lookup.GetCsvCol(2, 5), QStringLiteral("c:\\one.tlb"));
    lookup.context().versionHint = QStringLiteral("3.0");
    EXPECT_EQ(lookup.GetCsvCol(0, 5), QString());
    lookup.context().versionHint = kNoVersionHint;
    // Three-character back-references are not followed.
    EXPECT_EQ(lookup.GetCsvCol(4, 5), QString());
    EXPECT_EQ(lookup.GetCsvColzz(4, 2), QStringLiteral("GetFromObj"));

    // "*" without a remembered library: the class cannot be resolved; the server file opens.
    lookup.context().progIdBox = QStringLiteral("Other.Thing");
    EXPECT_EQ(lookup.GetCsvCol(3, 5), QStringLiteral("c:\\other.dll"));
    EXPECT_EQ(messages, QStringList{"BrowsePID: no class is registered for Other.Thing"});
    lookup.context().allowInstantiation = false;
    EXPECT_EQ(lookup.GetCsvCol(3, 5), QString());
    // Remembered under the ProgID, or under its first part + ".*"; a one-character value
    // cannot send the lookup round in a circle.
    s.joinFix[QStringLiteral("other.thing")] = kLib;
    EXPECT_EQ(lookup.GetCsvCol(3, 5), QStringLiteral("c:\\two.tlb"));
    s.joinFix[QStringLiteral("other.*")] = QStringLiteral("*");
    EXPECT_EQ(lookup.GetJoinFix(QStringLiteral("Other.Thing")), QStringLiteral("*"));
    EXPECT_EQ(lookup.GetCsvCol(3, 5), QString());
}

TEST(GetPID, CombinedNameWithSubkeysElseTheClassProgId) {
    SmallMachine m(kExport);
    const QString byClass = QStringLiteral("{AAAAAAAA-0000-0000-0000-000000000002}");
    // The combined key wins without the CLSID being read.
    EXPECT_EQ(GetPID(m.store(), "Lib", "Class", byClass), QStringLiteral("Lib.Class"));
    EXPECT_EQ(GetPID(m.store(), "Lib", "Bare", byClass), QStringLiteral("Named.ByClass"));
    EXPECT_EQ(GetPID(m.store(), "Lib", "None", "{AAAAAAAA-0000-0000-0000-000000000007}"),
              QString());
}

TEST(HelpStringSearch, MatchesLiterallyListsOnceAndReportsDamageInOneBox) {
    Small s({kLib + ", 1.0, a*b or a?c, c:\\one.tlb, LibName",
             kLib + ", 2.0, axb or abc, c:\\two.tlb, LibName"},
            {"P.One, {AAAAAAAA-0000-0000-0000-000000000001}, first, c:\\a.dll, *", "x", "y",
             "P.Two, {AAAAAAAA-0000-0000-0000-000000000002}, second, c:\\b.dll, *", "z"});
    Recorder r;
    HelpStringSearch search(r, r, s.app, s.settings());
    search.setCatalogs(&s.catalogs);

    for (const char* text : {"A*B", "a?c"}) {
        r.find = QString::fromLatin1(text);
        EXPECT_EQ(search.ToolbarSearch(), 1) << text;
        ASSERT_EQ(r.rows.size(), 1);
        EXPECT_EQ(r.rows[0].second, 0);
    }
    r.find = QStringLiteral("a*");
    search.ToolbarSearch();
    EXPECT_EQ(r.history, (QStringList{"A*B", "a?c"})); // "a*" starts an entry already there
    r.selected = 0;
    search.GoTo();
    EXPECT_EQ(r.opened, QStringList{"c:\\one.tlb"});

    // Three damaged records: one box that counts the others.
    search.mnuSrch_Click(1);
    r.find = QStringLiteral("s");
    EXPECT_EQ(search.ToolbarSearch(), 2);
    EXPECT_EQ(r.messages, QStringList{"err=The line has no field 3  nJ=1\r\n"
                                      "(2 more records of this search failed the same way)"});
    EXPECT_EQ(r.progId, QStringLiteral("P.One"));

    // Nothing found: the window keeps its rows.
    r.find = QStringLiteral("no such text");
    EXPECT_EQ(search.ToolbarSearch(), 0);
    EXPECT_EQ(r.rows.size(), 2);
}
