#include "catalog/catalogs.h"
#include "recording_frame.h"
#include "test_files.h"
#include "text/win1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;
using vantor::test::writeFile;

namespace {

const QString kWsh = "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, Windows Script Host Object "
                     "Model, C:\\windows\\system32\\wshom.ocx, LibName";
const QString kHost = "{60254CA0-953B-11CF-8C96-00AA00B8708C}, 5.6, Windows Script Host Object "
                      "Model, C:\\windows\\system32\\wscript.exe\\1, LibName";

QByteArray crlfLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += win1252::encode(line) + "\r\n";
    return out;
}

// Builders that write a fixed pair of catalogs, as a rebuild from the registry would.
struct FakeBuilders : CatalogBuilders {
    explicit FakeBuilders(QString folder) : folder(std::move(folder)) {}
    void RegScriptHost(CatalogFrame&) override {}
    void EnumTL(CatalogFrame&) override {
        writeFile(folder + "/dbTypes.dat", crlfLines({kTypeLibHeader, kWsh, kHost}));
    }
    void EnumPID(CatalogFrame&) override {
        writeFile(folder + "/dbPID.dat", crlfLines({kProgIdHeader, "W.S, {72C24DD5}, x, y, {F9}"}));
    }
    QString folder;
};

class CatalogsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingFrame frame;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

// Short lines keep their place as placeholders, an unterminated tail is ignored, the text is
// Windows-1252, and the summary counts the lines read.
TEST_F(CatalogsTest, DirectLoad) {
    QByteArray types = crlfLines({kTypeLibHeader, kWsh, "", "ab", "no fields at all", kHost});
    types += "{A}, 1.0, Caf\xE9 \x93quoted\x94 \x80, c:\\x.dll, LibName\r\n";
    types += "{TRAILING}, 1.0, never read, c:\\t.dll, LibName";
    writeFile(path("dbTypes.dat"), types);
    const QByteArray pids =
        crlfLines({kProgIdHeader, "A.B, {C}, x, y, *", "", "Z.Y, -1, -1, -1, -1"}) + "tail";
    writeFile(path("dbPID.dat"), pids);
    Catalogs catalogs(dir.path(), frame);
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    const QString placeholder = QString::fromLatin1(kTypeLibPlaceholder);
    EXPECT_EQ(catalogs.TLDefs(),
              (QStringList{kWsh, placeholder, placeholder, placeholder, kHost,
                           QStringLiteral("{A}, 1.0, Caf\u00E9 \u201Cquoted\u201D \u20AC, "
                                          "c:\\x.dll, LibName"),
                           QString()}));
    ASSERT_EQ(catalogs.pathBox().size(), 6);
    EXPECT_EQ(catalogs.pathBox()[2], (PathBoxEntry{"c:\\junk", 2}));
    EXPECT_EQ(catalogs.pathBox()[4].itemData, 4);
    EXPECT_EQ(catalogs.PIDDefs(),
              (QStringList{"A.B, {C}, x, y, *", " ", "Z.Y, -1, -1, -1, -1", QString()}));
    EXPECT_EQ(frame.progressMax, pids.size());
    EXPECT_TRUE(
        frame.panes.last().contains(" Definitions DB: \\b 7\\b0 \\i  TypeLibs, \\b \\i0 \r\n"
                                    "4\\b0\\i  ProgIDs \\i0 loaded from CSV"));
    EXPECT_EQ(frame.statuses,
              (QStringList{"Loading TypeLib Defs...", "Loading ProgID Defs...", "Ready..."}));
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(frame.lastProgress, 0);
}

TEST_F(CatalogsTest, MissingOrEmptyFilesLeaveCatalogsWithoutRecords) {
    Catalogs catalogs(dir.path(), frame);
    // No dbTypes.dat and nothing to rebuild it with: reported, and no file is made.
    EXPECT_NE(catalogs.LoadDefs(1), 0);
    EXPECT_TRUE(frame.statuses.last().contains("cannot be rebuilt"));
    EXPECT_FALSE(QFile::exists(path("dbTypes.dat")));
    // dbTypes.dat empty and dbPID.dat missing: nothing could be read.
    writeFile(path("dbTypes.dat"), QByteArray());
    EXPECT_NE(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs(), QStringList{QString()});
    EXPECT_EQ(catalogs.PIDDefs(), QStringList{QString()});
    EXPECT_TRUE(catalogs.pathBox().isEmpty());
    EXPECT_TRUE(frame.panes.last().contains("\\b 0\\b0"));
    // A header alone reads as a catalog without records, and counts as read.
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader}));
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs(), QStringList{QString()});
}

TEST_F(CatalogsTest, RebuildRunsWhenAskedOrWhenTheTypeLibCatalogIsMissing) {
    FakeBuilders builders(dir.path());
    Catalogs catalogs(dir.path(), frame, &builders);
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs().size(), 3);
    EXPECT_EQ(catalogs.PIDDefs().size(), 2);
    EXPECT_EQ(catalogs.scriptHostVersion(), "5.6");
    EXPECT_TRUE(frame.panes.last().contains("Definitions DB: \\b 3\\b0\\i  TypeLibs, \\b 2\\b0\\i  "
                                            "ProgIDs. \\cf0"));

    // With both files present, 0 still rebuilds; a negative argument too.
    for (const qint32 always : {0, -1}) {
        writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader}));
        EXPECT_EQ(catalogs.LoadDefs(always), 0);
        EXPECT_EQ(catalogs.TLDefs().size(), 3);
    }

    // A direct load of a catalog without the script host keeps the remembered version.
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader, kWsh}));
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs().size(), 2);
    EXPECT_EQ(catalogs.scriptHostVersion(), "5.6");
}
