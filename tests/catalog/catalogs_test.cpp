#include "catalog/catalogs.h"
#include "recording_frame.h"
#include "text/win1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kWsh = "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, Windows Script Host Object "
                     "Model, C:\\windows\\system32\\wshom.ocx, LibName";
const QString kHost = "{60254CA0-953B-11CF-8C96-00AA00B8708C}, 5.6, Windows Script Host Object "
                      "Model, C:\\windows\\system32\\wscript.exe\\1, LibName";

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += win1252::encode(line) + "\r\n";
    return out;
}

// Builders that write the given catalog texts, as a rebuild from the registry would.
class FakeBuilders : public CatalogBuilders {
public:
    FakeBuilders(QString folder, QByteArray types, QByteArray pids)
        : folder_(std::move(folder)), types_(std::move(types)), pids_(std::move(pids)) {}
    void RegScriptHost(CatalogFrame&) override { ++registrations; }
    void EnumTL(CatalogFrame&) override { writeFile(folder_ + "/dbTypes.dat", types_); }
    void EnumPID(CatalogFrame&) override { writeFile(folder_ + "/dbPID.dat", pids_); }
    int registrations = 0;

private:
    QString folder_;
    QByteArray types_;
    QByteArray pids_;
};

class CatalogsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingFrame frame;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(CatalogsTest, OneRecordGivesTwoElementsAndOnePathBoxEntry) {
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader, kWsh}));
    writeFile(path("dbPID.dat"), crlfLines({kProgIdHeader}));
    Catalogs catalogs(dir.path(), frame);
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs(), (QStringList{kWsh, QString()}));
    EXPECT_EQ(catalogs.PIDDefs(), QStringList{QString()});
    ASSERT_EQ(catalogs.pathBox().size(), 1);
    EXPECT_EQ(catalogs.pathBox()[0], (PathBoxEntry{"C:\\windows\\system32\\wshom.ocx", 0}));
    ASSERT_FALSE(frame.panes.isEmpty());
    EXPECT_TRUE(
        frame.panes.last().contains(" Definitions DB: \\b 2\\b0 \\i  TypeLibs, \\b \\i0 \r\n"
                                    "1\\b0\\i  ProgIDs \\i0 loaded from CSV"));
    EXPECT_EQ(frame.statuses,
              (QStringList{"Loading TypeLib Defs...", "Loading ProgID Defs...", "Ready..."}));
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(frame.lastProgress, 0);
}

TEST_F(CatalogsTest, ShortLinesTakeARecordsPlaceAndTheUnterminatedTailIsIgnored) {
    QByteArray types = crlfLines({kTypeLibHeader, kWsh, "", "ab", "no fields at all", kHost});
    types += "{TRAILING}, 1.0, never read, c:\\t.dll, LibName";
    writeFile(path("dbTypes.dat"), types);
    writeFile(path("dbPID.dat"),
              crlfLines({kProgIdHeader, "A.B, {C}, x, y, *", "", "Z.Y, -1, -1, -1, -1"}) + "tail");
    Catalogs catalogs(dir.path(), frame);
    EXPECT_EQ(catalogs.LoadTLDefs(path("dbTypes.dat")), 6);
    const QString placeholder = QString::fromLatin1(kTypeLibPlaceholder);
    EXPECT_EQ(catalogs.TLDefs(),
              (QStringList{kWsh, placeholder, placeholder, placeholder, kHost, QString()}));
    ASSERT_EQ(catalogs.pathBox().size(), 5);
    EXPECT_EQ(catalogs.pathBox()[2], (PathBoxEntry{"c:\\junk", 2}));
    EXPECT_EQ(catalogs.pathBox()[4].itemData, 4);
    EXPECT_EQ(frame.progressMax, types.size());
    EXPECT_EQ(catalogs.LoadPIDDefs(path("dbPID.dat")), 4);
    EXPECT_EQ(catalogs.PIDDefs(),
              (QStringList{"A.B, {C}, x, y, *", " ", "Z.Y, -1, -1, -1, -1", QString()}));
}

TEST_F(CatalogsTest, TextIsWindows1252) {
    QByteArray types = crlfLines({kTypeLibHeader});
    types += "{A}, 1.0, Caf\xE9 \x93quoted\x94 \x80, c:\\x.dll, LibName\r\n";
    writeFile(path("dbTypes.dat"), types);
    Catalogs catalogs(dir.path(), frame);
    catalogs.LoadTLDefs(path("dbTypes.dat"));
    EXPECT_EQ(catalogs.TLDefs()[0],
              QStringLiteral("{A}, 1.0, Caf\u00E9 \u201Cquoted\u201D \u20AC, c:\\x.dll, LibName"));
}

TEST_F(CatalogsTest, MissingOrEmptyFilesLeaveCatalogsWithoutRecords) {
    writeFile(path("dbTypes.dat"), QByteArray());
    Catalogs catalogs(dir.path(), frame);
    // dbPID.dat is missing; dbTypes.dat is empty: nothing could be read.
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

TEST_F(CatalogsTest, RebuildIsReportedWhenNoBuildersExist) {
    Catalogs catalogs(dir.path(), frame);
    EXPECT_NE(catalogs.LoadDefs(1), 0);
    EXPECT_TRUE(frame.statuses.last().contains("cannot be rebuilt"));
    EXPECT_FALSE(QFile::exists(path("dbTypes.dat")));
}

TEST_F(CatalogsTest, RebuildRunsWhenAskedOrWhenTheTypeLibCatalogIsMissing) {
    const QByteArray types = crlfLines({kTypeLibHeader, kWsh, kHost});
    const QByteArray pids = crlfLines({kProgIdHeader, "WScript.Shell, {72C24DD5}, x, y, {F935}"});
    FakeBuilders builders(dir.path(), types, pids);
    Catalogs catalogs(dir.path(), frame, &builders);
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(builders.registrations, 1);
    EXPECT_EQ(catalogs.TLDefs().size(), 3);
    EXPECT_EQ(catalogs.PIDDefs().size(), 2);
    EXPECT_EQ(catalogs.scriptHostVersion(), "5.6");
    EXPECT_TRUE(frame.panes.last().contains("Definitions DB: \\b 3\\b0\\i  TypeLibs, \\b 2\\b0\\i  "
                                            "ProgIDs. \\cf0"));
    EXPECT_TRUE(frame.statuses.contains("Loading ProgID Definitions..."));

    // With both files present, 0 still rebuilds; a negative argument too.
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader}));
    EXPECT_EQ(catalogs.LoadDefs(0), 0);
    EXPECT_EQ(catalogs.TLDefs().size(), 3);
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader}));
    EXPECT_EQ(catalogs.LoadDefs(-1), 0);
    EXPECT_EQ(catalogs.TLDefs().size(), 3);

    // A direct load of a catalog without the script host keeps the remembered version.
    writeFile(path("dbTypes.dat"), crlfLines({kTypeLibHeader, kWsh}));
    frame.statuses.clear();
    EXPECT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(catalogs.TLDefs().size(), 2);
    EXPECT_EQ(catalogs.scriptHostVersion(), "5.6");
    EXPECT_EQ(frame.statuses.first(), "Loading TypeLib Defs...");
}
