#include "app/program_folder.h"
#include "app/start_up_rules.h"
#include "text/error.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kWshGuid = "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}";
const QString kHostGuid = "{60254CA0-953B-11CF-8C96-00AA00B8708C}";
const QString kTliGuid = "{8B217740-717D-11CE-AB5B-D41203C10000}";

const QStringList kDefs = {
    kHostGuid + ", 5.6, Windows Script Host Object Model, C:\\windows\\system32\\wscript.exe\\1, L",
    kTliGuid + ", 1.0, TypeLib Information, C:\\windows\\system32\\tlbinf32.dll, LibName",
    kWshGuid + ", 1.0, Windows Script Host Object Model, C:\\windows\\system32\\wshom.ocx, L",
    QString(),
};

class FakeCheck : public LibraryFileCheck {
public:
    bool newer = false;
    Identity identity;
    bool fails = false;
    QStringList asked;
    bool isNewerThanCatalog(const QString& path) override {
        asked.append(path);
        return newer;
    }
    Identity readIdentity(const QString&) override {
        if (fails)
            throw Error(Error::FileNotFound, "test", "File not found");
        return identity;
    }
};

} // namespace

TEST(StartUpRules, SplitsTheRememberedLibrary) {
    EXPECT_EQ(parseLibraryReference(kWshGuid + ":1.0.WSHShell"),
              (LibraryReference{kWshGuid, "1.0", "WSHShell"}));
    // The last "." ends the version; the first ":" ends the GUID.
    EXPECT_EQ(parseLibraryReference("{A}:2.10.Name.Space"),
              (LibraryReference{"{A}", "2.10.Name", "Space"}));
    EXPECT_EQ(parseLibraryReference("no dot at all"), LibraryReference{});
    EXPECT_EQ(parseLibraryReference("{A}.TypeInfo"), (LibraryReference{"", "", "TypeInfo"}));
    EXPECT_EQ(parseLibraryReference("{A}:.X"), (LibraryReference{"{A}", "", "X"}));
    EXPECT_EQ(formatLibraryReference({"{A}", "2.10", "Name"}), "{A}:2.10.Name");
}

TEST(StartUpRules, NormalOpAndGeometry) {
    for (const char* zero : {"0", "00", " 0 "})
        EXPECT_TRUE(refusesToStart(zero)) << zero;
    for (const char* other : {"1", "", "zero"})
        EXPECT_FALSE(refusesToStart(other)) << other;

    QTemporaryDir dir;
    IniFile ini(dir.filePath("vantor.ini"));
    ini.WriteIni(u"FrmSpecs", u"Height", QStringLiteral("tall"));
    ini.WriteIni(u"FrmSpecs", u"Width", 9000);
    ini.WriteIni(u"FrmSpecs", u"Top", QStringLiteral("-120"));
    const WindowGeometry read = readGeometry(ini);
    EXPECT_EQ(read.height, 6800);
    EXPECT_EQ(read.width, 9000);
    EXPECT_EQ(read.top, -120);
}

TEST(StartUpRules, NoGuidTakesTheFirstFallbackWithAnyVersion) {
    FakeCheck check;
    const StartLibrary start = chooseStartLibrary(parseLibraryReference("{A}.X"), kDefs, check);
    EXPECT_EQ(start.index, 0);
    EXPECT_EQ(start.typeInfo, "IHOST_CLASS");
    // The resource number is dropped before the file is looked at.
    EXPECT_EQ(check.asked, QStringList{"C:\\windows\\system32\\wscript.exe"});
}

TEST(StartUpRules, ChangedFilesAndMissingLibraries) {
    FakeCheck check;
    check.newer = true;
    check.identity = {"{00000000-0000-0000-0000-000000000001}", 1, 0};
    StartLibrary start = chooseStartLibrary({kWshGuid, "1.0", "WSHShell"}, kDefs, check);
    EXPECT_EQ(start.index, 1);
    EXPECT_EQ(start.typeInfo, "TypeLibInfo");
    EXPECT_EQ(start.status, "the TypeLib has been modified");

    check.identity = {kWshGuid.toLower(), 1, 1};
    start = chooseStartLibrary({kWshGuid, "1.0", "WSHShell"}, kDefs, check);
    EXPECT_EQ(start.index, 2);
    EXPECT_EQ(start.typeInfo, "WSHShell");
    EXPECT_EQ(start.status, "the TypeLib version is new.");

    check.newer = false;
    EXPECT_EQ(chooseStartLibrary({"{NOT-THERE}", "1.0", "X"}, kDefs, check).index, 1);
    EXPECT_EQ(chooseStartLibrary({"{NOT-THERE}", "1.0", "X"}, {QString()}, check).index, -1);

    check.newer = true;
    check.fails = true;
    EXPECT_THROW(chooseStartLibrary({kWshGuid, "1.0", "WSHShell"}, kDefs, check), Error);
}

TEST(ProgramFolder, ExecutableFolderInABuildTreeElseUserDataFolder) {
    QProcessEnvironment env;
    env.insert("HOME", "/home/ann");
    const auto buildTree = [](const QString&) { return true; };
    const auto installed = [](const QString&) { return false; };
    EXPECT_EQ(ProgramFolder("/opt/vantor/bin/", env, buildTree), "/opt/vantor/bin");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, installed), "/home/ann/.local/share/vantor");
    env.insert("XDG_DATA_HOME", "/data/ann");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, installed), "/data/ann/vantor");
    // A relative XDG_DATA_HOME is ignored, as the base directory rules say.
    env.insert("XDG_DATA_HOME", "relative");
    EXPECT_EQ(ProgramFolder("/usr/bin", env, installed), "/home/ann/.local/share/vantor");
}
