#include "app/mru_slots.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

QString entry(int n) {
    return QStringLiteral("{%1}#1.0#Library %1, with comma#Lib%1#dll").arg(n);
}

void fill(IniFile& ini, int count) {
    ini.WriteIni(u"TLB_MRU", u"count", count);
    for (int n = 1; n <= count; ++n)
        ini.WriteIni(u"TLB_MRU", mruKey(n), entry(n));
}

} // namespace

TEST(MruSlots, KeysHaveAtLeastTwoDigits) {
    EXPECT_EQ(mruKey(3), "mru03");
    EXPECT_EQ(mruKey(42), "mru42");
    EXPECT_EQ(mruKey(100), "mru100");
}

TEST(MruSlots, RemovingMovesTheLastEntryIntoTheFreedSlot) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("vantor.ini"));
    fill(ini, 5);
    EXPECT_EQ(RemoveMruSlot(ini, u"TLB_MRU", mruKey(2), 5), 4);
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"count", ""), "4");
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"mru02", ""), entry(5));
    EXPECT_FALSE(ini.ReadWhole(u"TLB_MRU", u"mru05").has_value());
    for (int n : {1, 3, 4})
        EXPECT_EQ(ini.ReadIni(u"TLB_MRU", mruKey(n), ""), entry(n));

    // The last entry reads and writes back its own slot, then goes.
    EXPECT_EQ(RemoveMruSlot(ini, u"TLB_MRU", mruKey(4), 4), 3);
    EXPECT_FALSE(ini.ReadWhole(u"TLB_MRU", u"mru04").has_value());
    EXPECT_EQ(ini.ReadIni(u"TLB_MRU", u"count", ""), "3");
}

TEST(MruSlots, ALongEntryMovesWhole) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("vantor.ini"));
    fill(ini, 2);
    const QString longEntry = "{G}#1.0#" + QString(400, QChar(u'h')) + "#Lib#ocx";
    ini.WriteIni(u"TLB_MRU", u"mru02", longEntry);
    RemoveMruSlot(ini, u"TLB_MRU", u"mru01", 2);
    EXPECT_EQ(ini.ReadWhole(u"TLB_MRU", u"mru01"), longEntry);
}
