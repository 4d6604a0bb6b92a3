#include "app/ini_file.h"
#include "app/mru_slots.h"
#include "test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantor;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("vantor.ini");
    IniFile ini{path};

    void writeRaw(const QByteArray& bytes) { ASSERT_TRUE(test::writeFile(path, bytes)); }
    QByteArray readRaw() const { return test::readFile(path); }
};

} // namespace

TEST_F(IniFileTest, ProfileSemantics) {
    writeRaw("; comment line\r\n"
             "[frmspecs]\r\n"
             "  HEIGHT = 7200 \r\n"
             "Empty=\r\n"
             "fklCHM=0\r\n"
             "\r\n"
             "[FrmSpecs]\r\n"
             "Height=1\r\n");
    bool defaulted = true;
    // Sections and keys match ignoring case; values are trimmed; the first section wins.
    EXPECT_EQ(ini.ReadIni(u"FrmSpecs", u"Height", "6800", &defaulted), "7200");
    EXPECT_FALSE(defaulted);
    // An empty value gives the default and sets the flag.
    EXPECT_EQ(ini.ReadIni(u"FrmSpecs", u"Empty", "dflt", &defaulted), "dflt");
    EXPECT_TRUE(defaulted);
    EXPECT_EQ(ini.ReadIni(u"Nowhere", u"x", "d", &defaulted), "d");
    EXPECT_FALSE(defaulted);
    // A key with an empty default is flagged when it is missing.
    EXPECT_EQ(ini.ReadIni(settings::GroupByTK, &defaulted), "");
    EXPECT_TRUE(defaulted);
}

TEST_F(IniFileTest, LongValuesAreCutToTheReadLimit) {
    const QString longValue(300, QChar(u'x'));
    ASSERT_TRUE(ini.WriteIni(u"TLB_MRU", u"mru01", longValue));
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"mru01", "").size(), 254);
    EXPECT_EQ(ini.ReadWhole(u"TLB_MRU", u"mru01"), longValue);
}

TEST_F(IniFileTest, WritesKeepEverythingElseAndTheKeysSpelling) {
    writeRaw("; Vantor settings\r\n"
             "[FrmSpecs]\r\n"
             "Top=100 ; stays\r\n"
             "HEIGHT=6800\r\n"
             "\r\n"
             "[Unknown]\r\n"
             "whatever = kept\r\n");
    ASSERT_TRUE(ini.WriteIni(u"frmspecs", u"height", 7000));
    ASSERT_TRUE(ini.WriteIni(u"FrmSpecs", u"Width", 8265.5f));
    ASSERT_TRUE(ini.WriteIni(u"FrmSpecs", u"Left", 1.0f));
    ASSERT_TRUE(ini.WriteIni(u"LastTLB", u"lt_Last", QStringLiteral("{G}:1.0.Caf\u00E9")));
    EXPECT_EQ(readRaw(), QByteArray("; Vantor settings\r\n"
                                    "[FrmSpecs]\r\n"
                                    "Top=100 ; stays\r\n"
                                    "HEIGHT=7000\r\n"
                                    "Width=8265.5\r\n"
                                    "Left=1\r\n"
                                    "\r\n"
                                    "[Unknown]\r\n"
                                    "whatever = kept\r\n"
                                    "\r\n"
                                    "[LastTLB]\r\n"
                                    "lt_Last={G}:1.0.Caf\xE9\r\n"));
    ASSERT_TRUE(ini.DeleteIniKey(u"FRMSPECS", u"top"));
    ASSERT_TRUE(ini.DeleteIniKey(u"FrmSpecs", u"NoSuchKey"));
    EXPECT_FALSE(readRaw().contains("Top="));
    EXPECT_EQ(ini.ReadIni(u"Unknown", u"whatever", ""), "kept");
    // A line break in a value cannot split it into lines of its own.
    ASSERT_TRUE(ini.WriteIni(u"LastTLB", u"lt_Home", QStringLiteral("a\r\n[Evil]\nb")));
    EXPECT_EQ(ini.ReadIni(u"LastTLB", u"lt_Home", ""), "a  [Evil] b");
    EXPECT_FALSE(readRaw().contains("\n[Evil]"));
}

TEST_F(IniFileTest, UnixLineEndsStayUnixLineEnds) {
    writeRaw("[A]\nx=1\n");
    ASSERT_TRUE(ini.WriteIni(u"A", u"y", 2));
    EXPECT_EQ(readRaw(), QByteArray("[A]\nx=1\ny=2\n"));
}

// A write that dies or fails half way, here by the file size limit (a full disk does the same),
// leaves the old file whole and no temporary file behind.
TEST_F(IniFileTest, InterruptedWriteLeavesTheOldFileIntact) {
    const QByteArray before = "[TLB_MRU]\r\ncount=1\r\nmru01={G}#1.0#Help#Lib#dll\r\n";
    writeRaw(before);
    for (const bool killed : {true, false}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            const rlimit limit{64, 64};
            setrlimit(RLIMIT_FSIZE, &limit);
            IniFile inChild(path);
            const bool ok = inChild.WriteIni(u"TLB_MRU", u"mru02", QString(4000, QChar(u'y')));
            _exit(ok ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (killed)
            EXPECT_TRUE(WIFSIGNALED(status));
        else
            EXPECT_EQ(WEXITSTATUS(status), 3) << "the failed write must report failure";
        EXPECT_EQ(readRaw(), before);
    }
    // The killed writer may leave its temporary file; the failed one must not.
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.removeAll("vantor.ini");
    EXPECT_LE(left.size(), 1) << left.join(", ").toStdString();
    // And the next write works.
    ASSERT_TRUE(ini.WriteIni(u"TLB_MRU", u"count", 2));
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"mru01", ""), "{G}#1.0#Help#Lib#dll");
}

// Removing a slot moves the last entry into it (the list view's test); the entry moves whole.
TEST_F(IniFileTest, RemovingAnMruSlotMovesALongEntryWhole) {
    EXPECT_EQ(mruKey(100), "mru100");
    const QString longEntry = "{G}#1.0#" + QString(400, QChar(u'h')) + "#Lib#ocx";
    ini.WriteIni(u"TLB_MRU", u"mru01", QStringLiteral("{F}#1.0#Help#Lib#dll"));
    ini.WriteIni(u"TLB_MRU", u"mru02", longEntry);
    EXPECT_EQ(RemoveMruSlot(ini, u"TLB_MRU", u"mru01", 2), 1);
    EXPECT_EQ(ini.ReadWhole(u"TLB_MRU", u"mru01"), longEntry);
    EXPECT_FALSE(ini.ReadWhole(u"TLB_MRU", u"mru02"));
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"count", ""), "1");
}
