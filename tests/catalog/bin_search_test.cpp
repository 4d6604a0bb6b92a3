#include "catalog/bin_search.h"

#include <gtest/gtest.h>

using vantor::BinSearch;

// Catalogs as loaded: records in text order, then the trailing empty element.
TEST(BinSearch, PrefixMatchesIgnoringCase) {
    const QStringList defs{
        "{00020430-0000-0000-C000-000000000046}, 2.0, OLE Automation, stdole2.tlb, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, WSH 1.0, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.10, WSH 1.10, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 2.0, WSH 2.0, wshom.ocx, LibName", QString()};
    qint32 index = -1;
    // The key covers only its own length: 1.1 matches the 1.10 record.
    ASSERT_EQ(BinSearch(defs, u"{f935dc20-1cf0-11d0-adb9-00c04fd58a0b}, 1.1", index), 1);
    EXPECT_EQ(index, 2);
    ASSERT_EQ(BinSearch(defs, u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 2.0", index), 1);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(BinSearch(defs, u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 3.0", index), 0);
}

TEST(BinSearch, MissesGiveTheInsertionPosition) {
    const QStringList defs{"b, 1", "d, 1", "f, 1", QString()};
    qint32 index = -1;
    EXPECT_EQ(BinSearch(defs, u"a", index), 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(BinSearch(defs, u"c", index), 0);
    EXPECT_EQ(index, 1);
    // Greater than every record: the upper bound + 1.
    EXPECT_EQ(BinSearch(defs, u"z", index), 0);
    EXPECT_EQ(index, defs.size());
    // A catalog without records still answers.
    EXPECT_EQ(BinSearch(QStringList{QString()}, u"{G}", index), 0);
    EXPECT_EQ(BinSearch(QStringList{}, u"{G}", index), 0);
    EXPECT_EQ(index, 0);
}
