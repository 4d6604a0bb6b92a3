// Library browsing over the test prefix: the catalogs its registry gives, Wine's libraries.
#include "browser/browsing_machine.h"
#include "browser/library_browser.h"
#include "browser/pane_link.h"
#include "browser/path_completion.h"
#include "browser/proto_test_support.h"
#include "browser/recording_browser_frame.h"
#include "browser/rtf_text.h"
#include "catalog/catalog_lines.h"
#include "catalog/get_token.h"
#include "text/error.h"
#include "tli/tli_test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iostream>

using namespace vantor;
using namespace vantor::test;
using vantor::prototest::wineFile;

namespace {

const QString kWsh = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");
const QString kStdOle = QStringLiteral("{00020430-0000-0000-C000-000000000046}");

struct Browsing {
    BrowsingMachine machine;
    RecordingFrame catalogFrame;
    Catalogs catalogs{machine.programFolder(), catalogFrame};
    RecordingBrowserFrame frame;
    LibraryBrowser browser{frame, frame, machine.app()};

    Browsing() {
        catalogs.LoadDefs(1);
        browser.setCatalogs(&catalogs);
    }
    bool ready() const { return machine.built() && catalogs.TLDefs().size() > 1; }

    // Loads the library of a catalog key ("{GUID}, 1.0") as a path typed into the path box.
    qint32 load(const QString& key) {
        const qint32 line = catalogLine(catalogs, key);
        if (line < 0)
            return -1;
        frame.path = GetToken(4, catalogs.TLDefs()[line]);
        return browser.nGetTypInfos();
    }
    static int indexOf(const QList<tli::ListRow>& rows, const QString& text) {
        const auto at =
            std::find_if(rows.begin(), rows.end(), [&](auto& r) { return r.text == text; });
        return at == rows.end() ? -1 : int(at - rows.begin());
    }
    int row(const QString& name) const { return indexOf(frame.rows, name); }
    int member(const QString& name) const { return indexOf(frame.members, name); }
    void clickType(int row) {
        frame.typeRow = row;
        browser.TypeInfoClicked(row);
    }
    void clickMember(int row) {
        frame.memberRowIndex = row;
        browser.MemberClicked(row);
    }
    // The script host object model with its WshShell class selected; the class's row.
    int openWshShell() {
        if (load(kWsh + QStringLiteral(", 1.0")) <= 0)
            return -1;
        clickType(row(QStringLiteral("WshShell")));
        return frame.typeRow;
    }
};

// Braces not escaped by a backslash: a fragment opens no group of its own.
int bareBraces(const QString& rtf) {
    int n = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == u'\\')
            ++i;
        else if (rtf[i] == u'{' || rtf[i] == u'}')
            ++n;
    }
    return n;
}

// The pane's form of a member and its document form (the export's): the same declaration, the
// latter without links and without "member of".
QString formProblem(const QString& screen, const QString& document, const QString& member) {
    const QString head = QStringLiteral("\\cf1\\b\\f1 ") + RtfEscape(member);
    static const QRegularExpression prototype(
        QStringLiteral("^(Const|Function|Sub|Event|Property) "));
    if (!screen.contains(prototype) || !screen.contains(head) ||
        !screen.contains(QStringLiteral("   member of ")) || bareBraces(screen))
        return QStringLiteral("screen: ") + screen;
    if (document.contains(QStringLiteral("\\v ")) ||
        document.contains(QStringLiteral("member of")) || bareBraces(document) ||
        !document.contains(head))
        return QStringLiteral("document: ") + document;
    return QString();
}

// A catalog of every library of Wine's binaries that the oracle dumped, by host path.
QString writeOracleCatalog(const QString& folder) {
    QStringList lines{QString::fromLatin1(kTypeLibHeader)};
    for (const tli::testing::IndexRow& row : tli::testing::readIndex())
        lines.append(QStringLiteral("{%1-0000-0000-0000-000000000000}, 1.0, %2, %3, %2")
                         .arg(lines.size() - 1, 8, 10, QLatin1Char('0'))
                         .arg(row.file, row.path()));
    const QString file = folder + QStringLiteral("/dbTypes.dat");
    return writeFile(file, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8())
               ? file
               : QString();
}

} // namespace

// Every type and member, clicked; each member also formatted as the documentation export does.
TEST(LibraryBrowser, EveryTypeAndMemberOfEveryWineLibrary) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    QTemporaryDir folder;
    const QString catalog = writeOracleCatalog(folder.path());
    ASSERT_FALSE(catalog.isEmpty());
    ASSERT_GE(b.catalogs.LoadTLDefs(catalog), 50);
    // With hidden and restricted items listed, every type info has its row.
    b.frame.hidden = true;
    prototest::RecordingFrame document(&b.machine.app());
    int libraries = 0, types = 0, globals = 0, members = 0;
    QStringList failures;
    for (const PathBoxEntry& entry : b.catalogs.pathBox()) {
        b.frame.path = entry.text;
        const qint32 rows = b.browser.nGetTypInfos();
        if (rows < 0) {
            failures.append(b.frame.statuses.value(b.frame.statuses.size() - 1));
            continue;
        }
        ++libraries;
        for (int row = 0; row < rows; ++row) {
            b.clickType(row);
            (b.browser.typeInfoNumbers()[row] == -1 ? globals : types) += 1;
            if (!b.frame.pane.contains(b.frame.rows[row].text))
                failures.append(entry.text + u' ' + b.frame.rows[row].text + u' ' + b.frame.pane);
            const QList<tli::ListRow> list = b.frame.members;
            for (int m = 0; m < list.size(); ++m) {
                b.clickMember(m);
                ++members;
                QString problem;
                try {
                    problem =
                        formProblem(b.frame.pane.mid(7),
                                    ProtoMember(b.browser.library(), b.frame.rows[row].itemData,
                                                list[m].itemData, -1, list[m].text, 2, document),
                                    list[m].text);
                } catch (const Error& e) {
                    problem = e.description();
                }
                if (!problem.isEmpty())
                    failures.append(entry.text + u' ' + b.frame.rows[row].text + u'.' +
                                    list[m].text + u' ' + problem.left(300));
            }
        }
    }
    std::cout << libraries << " libraries, " << types << " types, " << globals << " globals rows, "
              << members << " members\n";
    EXPECT_TRUE(failures.isEmpty())
        << failures.size() << " failures, first: " << failures.value(0).toStdString();
    EXPECT_EQ(libraries, b.catalogs.pathBox().size());
    EXPECT_EQ(types, 1930);    // the type infos of the oracle's index
    EXPECT_GT(members, 26857); // more than the listing without hidden members
}

TEST(LibraryBrowser, LoadFillsTheTablesTheLibraryRowAndTheSummary) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    ASSERT_GT(b.load(kWsh + QStringLiteral(", 1.0")), 0);
    EXPECT_FALSE(b.frame.buttons.value(1, true));
    EXPECT_EQ(b.frame.categoryCodes[b.row(QStringLiteral("WshShell"))], 17);
    EXPECT_EQ(b.frame.categoryCodes[b.row(QStringLiteral("IWshShell3"))], 12);
    EXPECT_EQ(b.frame.categoryCodes[b.row(QStringLiteral("WshExecStatus"))], 9); // typedef enum

    // The library list view gained one row, found again by the next load.
    ASSERT_EQ(b.frame.listRows.size(), 1);
    EXPECT_EQ(b.frame.listRows[0],
              (QStringList{"Windows Script Host Object Model", "IWshRuntimeLibrary", kWsh, "1.0"}));
    EXPECT_EQ(b.frame.pane,
              QStringLiteral("HEADER|Library \\b\\fs20 IWshRuntimeLibrary\\b0 \\par\r\n"
                             "\\tab C:\\\\windows\\\\system32\\\\wshom.ocx \\par\r\n"
                             "\\tab Windows Script Host Object Model \\par\r\n"));
    b.load(kWsh + QStringLiteral(", 1.0"));
    EXPECT_EQ(b.frame.listRows.size(), 1);
    // An enumeration named through a typedef offers its constants as code.
    b.clickType(b.row(QStringLiteral("WshExecStatus")));
    const PopupCommands& popup = b.browser.popupCommands();
    EXPECT_TRUE(popup.state(PopupCommands::AllConstants).visible);
    EXPECT_FALSE(popup.state(PopupCommands::CreatableProgId).enabled);
    EXPECT_TRUE(b.frame.pane.startsWith(QStringLiteral("HEADER|typedef \\b\\fs20 WshExecStatus")));
    EXPECT_EQ(b.frame.members.size(), 3);

    // stdole2: the globals row first, aliases by what they finally name.
    ASSERT_GT(b.load(kStdOle + QStringLiteral(", 2.0")), 0);
    EXPECT_EQ(b.frame.rows[0].text, QStringLiteral("<globals>"));
    EXPECT_EQ(b.browser.typeInfoNumbers()[0], -1);
    EXPECT_EQ(b.frame.categoryCodes[0], 5);
    EXPECT_EQ(b.frame.categoryCodes[b.row(QStringLiteral("IFontDisp"))], 12); // typedef of one
    EXPECT_EQ(b.frame.categoryCodes[b.row(QStringLiteral("OLE_COLOR"))], 2);  // of a base type
    EXPECT_EQ(b.frame.listRows.size(), 2);
    // Its click: four blanks, "Unqualified references", and no visit recorded.
    const qint32 visits = b.browser.history().count();
    b.clickType(0);
    EXPECT_TRUE(b.frame.pane.startsWith(
        QStringLiteral("HEADER|     \\b\\fs20 <globals>\\b0 \\par\r\n\\b0\\fs18   Unqualified "
                       "references} \\par")));
    EXPECT_EQ(b.browser.history().count(), visits);
    EXPECT_FALSE(b.frame.members.isEmpty());
}

TEST(LibraryBrowser, TypeAndMemberClicksLinksAndTheHistory) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    const int shell = b.openWshShell();
    ASSERT_GE(shell, 0);
    EXPECT_EQ(b.frame.caption, QStringLiteral("Members of IWshShell3"));
    EXPECT_TRUE(
        b.frame.pane.startsWith(QStringLiteral("HEADER|coclass \\b\\fs20 WshShell\\b0 \\par\r\n")));
    EXPECT_TRUE(b.frame.pane.endsWith(QStringLiteral(
        " \\b0   \\cf1\\f1\\fs16  member of \\cf0\\f0\\fs18 \\cf2\\b\\f1\\fs18 \\cf2\\ul "
        "IWshRuntimeLibrary \\cf0\\ulnone")));
    EXPECT_EQ(b.frame.members, b.browser.library().memberRows(b.frame.rows[shell].itemData));
    EXPECT_TRUE(b.frame.memberListEnabled);
    const PopupCommands& popup = b.browser.popupCommands();
    EXPECT_TRUE(popup.state(PopupCommands::CreatableProgId).enabled); // a creatable class
    EXPECT_TRUE(popup.state(PopupCommands::AllMembers).enabled);
    EXPECT_TRUE(popup.state(PopupCommands::TypeInfo).enabled);
    EXPECT_FALSE(popup.state(PopupCommands::Copy).enabled);
    EXPECT_FALSE(popup.state(PopupCommands::AllConstants).visible);
    EXPECT_FALSE(popup.state(PopupCommands::HtmlObjectTag).visible);
    // The first visit leaves two identical entries: "library line|type row|member row|1".
    const QString typeVisit = QStringLiteral("%1|%2|-1|1")
                                  .arg(catalogLine(b.catalogs, kWsh + QStringLiteral(", 1.0")))
                                  .arg(shell);
    EXPECT_EQ(b.browser.history().entries(), (QStringList{typeVisit, typeVisit}));
    const int run = b.member(QStringLiteral("Run"));
    b.clickMember(run);
    EXPECT_EQ(b.browser.history().entries().last(),
              typeVisit.section(u'|', 0, 1) + QStringLiteral("|%1|0").arg(run));
    EXPECT_TRUE(b.frame.pane.startsWith(QStringLiteral("HEADER|Function \\cf1\\b\\f1 Run\\b0 (")));
    EXPECT_EQ(b.browser.DocMode(), 1);
    EXPECT_TRUE(b.browser.popupCommands().state(PopupCommands::Copy).enabled);
    // The same member again is no new visit.
    const qint32 visits = b.browser.history().count();
    b.clickMember(run);
    EXPECT_EQ(b.browser.history().count(), visits);
    EXPECT_TRUE(b.frame.buttons.value(1));

    // An in-library link selects the linked type and records the visit.
    const int exec = b.row(QStringLiteral("IWshExec"));
    ASSERT_GE(exec, 0);
    b.browser.LinkClicked(
        QStringLiteral("file: IWshExec|%1/").arg(b.browser.typeInfoNumbers()[exec] - 1));
    EXPECT_EQ(b.frame.typeRow, exec);
    EXPECT_EQ(b.frame.caption, QStringLiteral("Members of IWshExec"));
    EXPECT_EQ(b.frame.focus, 1);

    // Back: the member, then the type; forward again to the link's type.
    b.browser.Back();
    EXPECT_EQ(b.frame.typeRow, shell);
    EXPECT_EQ(b.frame.memberRowIndex, run);
    EXPECT_EQ(b.frame.focus, 2);
    b.browser.Back();
    EXPECT_EQ(b.frame.typeRow, shell);
    EXPECT_TRUE(b.frame.pane.startsWith(QStringLiteral("HEADER|coclass")));
    EXPECT_FALSE(b.frame.buttons.value(1));
    EXPECT_TRUE(b.frame.buttons.value(2));
    b.browser.Forward();
    b.browser.Forward();
    EXPECT_EQ(b.frame.typeRow, exec);
    EXPECT_FALSE(b.frame.buttons.value(2));

    // Two steps back and a new member: the newer entries go, forward is off.
    b.browser.Back();
    b.browser.Back();
    b.clickMember(b.member(QStringLiteral("Exec")));
    EXPECT_FALSE(b.frame.buttons.value(2));
    EXPECT_EQ(b.browser.history().count(), 2);

    // Back to a visit of another library leaves both lists as they are.
    ASSERT_GT(b.load(kStdOle + QStringLiteral(", 2.0")), 0);
    b.clickType(b.row(QStringLiteral("StdFont")));
    b.clickType(b.row(QStringLiteral("StdPicture")));
    b.browser.Back();
    b.browser.Back();
    EXPECT_EQ(b.frame.typeRow, b.row(QStringLiteral("StdFont")));
    EXPECT_TRUE(b.frame.pane.contains(QStringLiteral("StdFont")));
}

TEST(LibraryBrowser, FailedLoadsBeepSayWhyAndLeaveTheListsEmpty) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    ASSERT_GT(b.load(kWsh + QStringLiteral(", 1.0")), 0);

    // A path that is no entry of the path box.
    b.frame.path = QStringLiteral("C:\\nowhere\\none.dll");
    EXPECT_EQ(b.browser.nGetTypInfos(), -1);
    EXPECT_EQ(b.frame.statuses.last(),
              QStringLiteral("cannot open C:\\nowhere\\none.dll: not a library of the catalog"));
    EXPECT_TRUE(b.frame.rows.isEmpty());
    EXPECT_EQ(b.frame.beeps, 1);

    // A catalog library whose file the machine lacks, a damaged one and one that is no library.
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.tlb"));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    const QByteArray whole = readFile(wineFile(QStringLiteral("stdole2.tlb")));
    QFile catalog(dir.filePath(QStringLiteral("dbTypes.dat")));
    ASSERT_TRUE(writeFile(cut, whole.left(whole.size() / 3)) &&
                writeFile(text, "no library here\n") && catalog.open(QIODevice::WriteOnly));
    catalog.write(QStringLiteral("%1\r\n{00000001-0000-0000-0000-000000000000}, 1.0, Gone, "
                                 "C:\\gone\\gone.dll, Gone\r\n"
                                 "{00000002-0000-0000-0000-000000000000}, 1.0, Cut, %2, Cut\r\n"
                                 "{00000003-0000-0000-0000-000000000000}, 1.0, Text, %3, Text\r\n")
                      .arg(QString::fromLatin1(kTypeLibHeader), cut, text)
                      .toUtf8());
    catalog.close();
    b.catalogs.LoadTLDefs(catalog.fileName());
    ASSERT_EQ(b.catalogs.pathBox().size(), 3);
    for (int line = 0; line < 3; ++line) {
        const QString path = GetToken(4, b.catalogs.TLDefs()[line]);
        b.frame.path = path;
        EXPECT_EQ(b.browser.nGetTypInfos(), -1) << path.toStdString();
        EXPECT_TRUE(b.frame.statuses.last().startsWith(QStringLiteral("cannot open ") + path +
                                                       QStringLiteral(": ")))
            << b.frame.statuses.last().toStdString();
        // The file is named once, not again as this machine reads it.
        const QString file = path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')));
        EXPECT_EQ(b.frame.statuses.last().count(file), 1) << b.frame.statuses.last().toStdString();
        EXPECT_TRUE(b.frame.rows.isEmpty() && b.frame.members.isEmpty());
        EXPECT_FALSE(b.browser.loaded());
    }
    EXPECT_EQ(b.frame.beeps, 4);

    // A reference the catalog does not know changes nothing.
    const QString pane = b.frame.pane;
    const QString path = b.frame.path;
    EXPECT_FALSE(
        b.browser.ChooseLib(QStringLiteral("{12345678-0000-0000-0000-000000000000}:1.0.X")));
    EXPECT_EQ(b.frame.pane, pane);
    EXPECT_EQ(b.frame.path, path);
}

TEST(LibraryBrowser, GroupingFollowsTheTypeKindOrder) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    const QString mshtml = QStringLiteral("{3050F1C5-98B5-11CF-BB82-00AA00BDCE0B}, 4.0");
    b.frame.group = false;
    ASSERT_GT(b.load(mshtml), 0);
    const QList<GroupPair> plain = b.browser.groupPairs();
    for (int i = 0; i < plain.size(); ++i)
        EXPECT_EQ(plain[i].row, i); // no "<globals>" row in this library

    // The default order: coclasses, dispatch interfaces, interfaces, records, ... aliases.
    b.frame.group = true;
    b.load(mshtml);
    const TypeKindOrder order = typeKindOrder(b.frame.tkOrder);
    EXPECT_EQ(order, (TypeKindOrder{6, 4, 5, 3, 2, 1, 7, 8, 9}));
    const QList<GroupPair> grouped = b.browser.groupPairs();
    EXPECT_TRUE(std::is_sorted(grouped.begin(), grouped.end(),
                               [&](auto x, auto y) { return order[x.kind] < order[y.kind]; }));
    EXPECT_EQ(grouped.first().kind, 5);
    QList<GroupPair> same = grouped;
    std::sort(same.begin(), same.end(), [](auto x, auto y) { return x.row < y.row; });
    EXPECT_EQ(same, plain);

    // Rising numbers give plain type-kind order; a short or damaged setting keeps the default.
    QList<GroupPair> pairs = plain;
    sortGroupPairs(pairs, typeKindOrder(QStringLiteral(" 1,2,3,4,5,6,7,8,9 ")));
    for (int i = 1; i < pairs.size(); ++i)
        EXPECT_LE(pairs[i - 1].kind, pairs[i].kind);
    EXPECT_EQ(typeKindOrder(QStringLiteral("9,x")), (TypeKindOrder{9, 4, 5, 3, 2, 1, 7, 8, 9}));
}

// An alias of a pointer to a record (oleacc's wireHWND) lists and shows the record.
TEST(LibraryBrowser, AliasOfAPointerToARecordShowsTheRecord) {
    Browsing b;
    ASSERT_TRUE(b.ready());
    ASSERT_GT(b.load(QStringLiteral("{1EA4DBF0-3C3B-11CF-810C-00AA00389B71}, 1.1")), 0);
    const int row = b.row(QStringLiteral("wireHWND"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(b.frame.categoryCodes[row], 0);
    b.clickType(row);
    EXPECT_GE(b.member(QStringLiteral("fContext")), 0);
}

// The first step ("c" -> "C:\\" with ":\\" selected) is the window's test.
TEST(PathCompletion, CompletesOneFolderAtATime) {
    const QList<PathBoxEntry> entries = {{QStringLiteral("C:\\windows\\system32\\wshom.ocx"), 0},
                                         {QStringLiteral("C:\\windows\\system32\\stdole2.tlb"), 1},
                                         {QStringLiteral("D:\\tools\\x.dll"), 2}};
    int stop = 0;
    std::optional<PathCompletion> c = completePath(entries, QStringLiteral("C:\\w"), 4, stop);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->text, QStringLiteral("C:\\windows\\"));
    EXPECT_EQ(c->selectionStart, 4);
    EXPECT_EQ(stop, 12);
    // The last folder: the whole entry, the caret where typing stopped.
    c = completePath(entries, QStringLiteral("C:\\windows\\system32\\ws"), 22, stop);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->text, entries[0].text);
    EXPECT_EQ(c->selectionLength, 0);
    EXPECT_EQ(stop, 0);
    // No entry starts so: nothing changes.
    EXPECT_FALSE(completePath(entries, QStringLiteral("E:"), 2, stop));
}

// Malformed link texts; both real forms are followed through the browser above and the window.
TEST(PaneLinks, MalformedLinksAndTheRowOfATypeInfo) {
    EXPECT_EQ(readPaneLink("file: no bar").kind, PaneLink::Kind::None);
    EXPECT_EQ(readPaneLink("file: x|/").kind, PaneLink::Kind::None);
    // "<globals>", a coclass whose default interface is 4, the hidden interface 4 not listed.
    const QList<TypeInfoRow> rows{{-1, false, -1}, {2, false, -1}, {6, true, 4}, {5, false, -1}};
    EXPECT_EQ(rowForTypeInfo(rows, 4), 2);
    EXPECT_EQ(rowForTypeInfo(rows, 1), 1);
    EXPECT_EQ(rowForTypeInfo(rows, 9), std::nullopt);
    // When the interface itself is listed first, it wins.
    const QList<TypeInfoRow> both{{5, false, -1}, {6, true, 4}};
    EXPECT_EQ(rowForTypeInfo(both, 4), 0);
}
