#include "app/file_icon.h"
#include "app/icon_set.h"
#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/mru_slots.h"
#include "app/mru_view.h"
#include "app/settings_keys.h"
#include "app/sub_main.h"
#include "browser/browsing_machine.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>
#include <numeric>

using namespace vantor;

namespace {

const QString kWshGuid = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");
const QString kHostGuid = QStringLiteral("{60254CA0-953B-11CF-8C96-00AA00B8708C}");

using registry::test::TestPrefix;

QString iniOf(const TestPrefix& machine) {
    return machine.programFolder() + QStringLiteral("/vantor.ini");
}

struct Start {
    std::unique_ptr<Session> session;
    QStringList messages;
    // The selected type info, when a library is open.
    QString selectedType() const {
        const QListWidgetItem* row = session->window().list1()->currentItem();
        return session->window().browser().loaded() && row ? row->text() : QString();
    }
};

void start(const TestPrefix& machine, Start& s, int waitBoundSeconds = 60) {
    StartOptions options;
    options.waitBoundSeconds = waitBoundSeconds;
    options.args = {QStringLiteral("--prefix"), machine.prefix()};
    options.programFolder = machine.programFolder();
    options.env = QProcessEnvironment();
    options.message = [&s](const QString& t) { s.messages.append(t); };
    s.session = SubMain(std::move(options));
}

} // namespace

TEST(StartUp, FirstStartUsesDefaultsAndCloseSavesSettingsForTheNextStart) {
    TestPrefix machine;
    ASSERT_TRUE(machine.valid());
    Start first;
    start(machine, first);
    ASSERT_TRUE(first.session);
    MainWindow& window = first.session->window();
    EXPECT_GE(first.session->waitPasses(), 7);
    EXPECT_FALSE(window.pane()->toPlainText().isEmpty());
    EXPECT_EQ(window.GoodLoadDef(), 0);

    // The default geometry, within a pixel.
    const int tx = window.twipsPerPixelX(), ty = window.twipsPerPixelY();
    EXPECT_NEAR(window.width() * tx, 8265, tx);
    EXPECT_NEAR(window.height() * ty, 6800, ty);
    // The default lt_Last: WSHShell of the script host object model, version 1.0.
    const Catalogs& catalogs = first.session->catalogs();
    const qint32 wsh = test::catalogLine(catalogs, kWshGuid + QStringLiteral(", 1.0"));
    ASSERT_GE(wsh, 0);
    EXPECT_EQ(first.selectedType(), QStringLiteral("WshShell"));
    EXPECT_EQ(window.pathBox()->currentText(), GetToken(4, catalogs.TLDefs()[wsh]));

    // The script host library is registered only when its file can be read as a library.
    const QStringList& defs = catalogs.TLDefs();
    const qint32 host = test::catalogLine(catalogs, kHostGuid);
    const QString hostVersion = host >= 0 ? GetToken(2, defs[host]) : QString();
    window.close();

    IniFile ini(iniOf(machine));
    EXPECT_EQ(ini.ReadIni(u"JoinFix", u"tli.*", QString()),
              QStringLiteral("{8B217740-717D-11CE-AB5B-D41203C10000}"));
    EXPECT_EQ(ini.ReadIni(u"LibDocs", u"GroupByTK", QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadIni(u"LibDocs", u"TKOrder", QString()), QStringLiteral("6,4,5,3,2,1,7,8,9"));
    EXPECT_EQ(ini.ReadIni(u"LastTLB", u"lt_Home", QString()),
              kHostGuid + u':' + hostVersion + QStringLiteral(".IHost_Class"));
    EXPECT_EQ(ini.ReadIni(u"LastTLB", u"lt_Last", QString()),
              kWshGuid + QStringLiteral(":1.0.WshShell"));
    EXPECT_NEAR(ini.ReadIni(u"FrmSpecs", u"Width", QString()).toDouble(), 8265, tx);
    EXPECT_NEAR(ini.ReadIni(u"FrmSpecs", u"Height", QString()).toDouble(), 6800, ty);
    EXPECT_FALSE(ini.ReadWhole(u"FrmSpecs", u"NormalOp"));
    first.session.reset();

    // A second start reopens the same library and the type last selected; its close keeps the
    // first-time keys.
    ini.WriteIni(u"LibDocs", u"TKOrder", QStringLiteral("1,2,3,4,5,6,7,8,9"));
    ini.WriteIni(u"LastTLB", u"lt_Last", kWshGuid + QStringLiteral(":1.0.IWshExec"));
    Start second;
    start(machine, second);
    ASSERT_TRUE(second.session);
    EXPECT_EQ(second.selectedType(), QStringLiteral("IWshExec"));
    second.session->window().close();
    EXPECT_EQ(ini.ReadIni(u"LibDocs", u"TKOrder", QString()), QStringLiteral("1,2,3,4,5,6,7,8,9"));
}

TEST(StartUp, CatalogWaitIsBoundedAndSaysSo) {
    TestPrefix machine;
    ASSERT_TRUE(machine.valid());
    Start s;
    start(machine, s, 0);
    ASSERT_TRUE(s.session);
    EXPECT_EQ(s.session->waitPasses(), 0);
    EXPECT_TRUE(s.session->window().statusLine()->text().startsWith(
        QStringLiteral("the catalog load did not finish in 0 s")));
    // Without a catalog nothing is opened.
    EXPECT_FALSE(s.session->window().browser().loaded());
}

// The values that refuse are the start-up rules' test.
TEST(StartUp, NormalOpZeroRefusesWithTheMessage) {
    TestPrefix machine;
    ASSERT_TRUE(machine.valid());
    IniFile(iniOf(machine)).WriteIni(u"FrmSpecs", u"NormalOp", QStringLiteral("0"));
    Start s;
    start(machine, s);
    EXPECT_FALSE(s.session);
    EXPECT_EQ(s.messages, QStringList{QStringLiteral(
                              "Vantor has problems and can't load. Contact the author")});
    EXPECT_TRUE(QDir(machine.programFolder()).entryList({QStringLiteral("*.dat")}).isEmpty());
}

namespace {

// A library list view over a settings file with `n` MRU entries of made-up libraries whose
// catalog records exist.
struct MruFixture {
    QTemporaryDir dir;
    IniFile ini{dir.path() + QStringLiteral("/vantor.ini")};
    QStringList defs;
    std::unique_ptr<MruView> view;

    explicit MruFixture(int n) {
        for (int i = 1; i <= n; ++i) {
            const QString guid =
                QStringLiteral("{%1-0000-0000-0000-000000000000}").arg(i, 8, 10, QLatin1Char('0'));
            const QChar help(u'A' + (i * 7) % n);
            defs.append(QStringLiteral("%1, 1.%2, Help %3, C:\\lib%2.dll, Lib%2")
                            .arg(guid)
                            .arg(i)
                            .arg(help));
            ini.WriteIni(u"TLB_MRU", mruKey(i),
                         QStringLiteral("%1#1.%2#Help %3#Lib%2#dll").arg(guid).arg(i).arg(help));
        }
        defs.append(QString());
        ini.WriteIni(u"TLB_MRU", u"count", n);
        view = std::make_unique<MruView>(ini, [](const QString&) { return QIcon(); });
        view->LVLoadMRU(defs);
    }

    // Every MRU row's columns equal the fields of the slot its item data names, and the slots
    // 1..count are all shown.
    void expectInStep() const {
        const qint32 count = ini.ReadIni(u"TLB_MRU", u"count", QStringLiteral("0")).toInt();
        EXPECT_EQ(view->mruCount(), count);
        QList<qint32> seen;
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = view->topLevelItem(i);
            const qint32 data = MruView::itemData(row);
            if (data >= 0)
                continue;
            seen.append(-data);
            const QStringList fields =
                ini.ReadIni(u"TLB_MRU", mruKey(-data), QString()).split(u'#');
            ASSERT_EQ(fields.size(), 5) << "slot " << -data;
            EXPECT_EQ(fields[0], row->text(MruView::TypeLib));
            EXPECT_EQ(fields[1], row->text(MruView::Version));
            EXPECT_EQ(fields[2], row->text(MruView::HelpString));
        }
        std::sort(seen.begin(), seen.end());
        QList<qint32> expected(count);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(seen, expected);
    }

    QTreeWidgetItem* rowOfSlot(qint32 n) const {
        for (int i = 0; i < view->topLevelItemCount(); ++i)
            if (MruView::itemData(view->topLevelItem(i)) == -n)
                return view->topLevelItem(i);
        return nullptr;
    }
};

} // namespace

TEST(MruList, LoadAddAndRemoveKeepSlotsAndRowsInStep) {
    MruFixture f(5);
    EXPECT_EQ(f.view->topLevelItemCount(), 5);
    f.expectInStep();

    // Removing entry 2 of 5 moves entry 5 into slot 2; its row follows.
    EXPECT_EQ(f.view->removeFromMru(f.rowOfSlot(2)), QStringLiteral("success: removed MRU 4"));
    EXPECT_EQ(f.view->topLevelItemCount(), 4);
    EXPECT_FALSE(f.ini.ReadWhole(u"TLB_MRU", u"mru05"));
    f.expectInStep();
    // Removing the last entry.
    EXPECT_EQ(f.view->removeFromMru(f.rowOfSlot(4)), QStringLiteral("success: removed MRU 3"));
    f.expectInStep();

    // A search hit is added as the next slot; adding it again is refused.
    const QList<PathBoxEntry> pathBox = {{QStringLiteral("C:\\windows\\system32\\wshom.OCX"), 0}};
    QTreeWidgetItem* hit = f.view->topLevelItem(f.view->insertLibraryRow(
        QStringLiteral("Script Host"), kWshGuid, QStringLiteral("1.0"), 0, pathBox[0].text));
    EXPECT_EQ(f.view->removeFromMru(hit), QStringLiteral("null: no entry in MRU"));
    EXPECT_EQ(f.view->addToMru(hit, pathBox), QStringLiteral("success: Added MRU 4"));
    EXPECT_EQ(MruView::itemData(hit), -4);
    EXPECT_EQ(f.ini.ReadIni(u"TLB_MRU", u"mru04", QString()),
              kWshGuid + QStringLiteral("#1.0#Script Host##ocx"));
    EXPECT_EQ(f.view->addToMru(hit, pathBox), QStringLiteral("null: already there in MRU"));
    f.expectInStep();

    // A reload from the file shows the same rows.
    MruView again(f.ini, {});
    EXPECT_EQ(again.LVLoadMRU(f.defs), 4);
    EXPECT_EQ(again.topLevelItemCount(), 4);
}

TEST(MruList, HeaderClicksSortEachColumnBothWaysWithArrowImages) {
    MruFixture f(6);
    // LVLoadMRU sorts by LibName in reversed order.
    EXPECT_EQ(f.view->sortMode(MruView::LibName), 1);
    for (int column = 0; column < 4; ++column) {
        for (int click = 0; click < 2; ++click) {
            f.view->header()->sectionClicked(column);
            const int mode = f.view->sortMode(column);
            for (int i = 1; i < f.view->topLevelItemCount(); ++i) {
                const int c =
                    QString::compare(f.view->topLevelItem(i - 1)->text(column),
                                     f.view->topLevelItem(i)->text(column), Qt::CaseInsensitive);
                EXPECT_TRUE(mode == 0 ? c <= 0 : c >= 0) << column << " " << i;
            }
            for (int other = 0; other < 4; ++other)
                EXPECT_EQ(f.view->headerItem()->icon(other).isNull(), other != column);
        }
        EXPECT_NE(f.view->sortMode(column), -1);
    }
}

TEST(Icons, EveryImageTheWindowAddressesIsThere) {
    for (int i : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 12, 17, 18, 19, 20, 21, 22})
        EXPECT_FALSE(listImage(i).pixmap(16, 16).isNull()) << i;
    for (int i : {0, 1, 2, 3, 4, 11, 13})
        EXPECT_FALSE(toolbarImage(i).pixmap(16, 16).isNull()) << i;
    // A property of a constant type is a constant; of another, a property.
    EXPECT_EQ(memberImageIndex(6, true), 7);
    EXPECT_EQ(memberImageIndex(6, false), 1);
}

// A binary with an icon group shows a 16-pixel icon; one without, and files that are no PE
// files, show none. Which binaries have a group is the icon reader's test.
TEST(FileIcon, WineBinariesShowTheirOwnIcon) {
    const QString wine = test::kWineDir + u'/';
    EXPECT_FALSE(libraryFileIcon(wine + QStringLiteral("winemine.exe")).pixmap(16, 16).isNull());
    for (const QString& none :
         {wine + QStringLiteral("kernel32.dll"), QStringLiteral(__FILE__), QString()})
        EXPECT_TRUE(libraryFileIcon(none).isNull()) << none.toStdString();
}
