#include "catalog/bin_search.h"
#include "text/text_order.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using vantor::BinSearch;

namespace {

// A catalog as loaded: records in text order, then the trailing empty element.
QStringList catalog(QStringList records) {
    std::sort(records.begin(), records.end(),
              [](const QString& a, const QString& b) { return vantor::compareText(a, b) < 0; });
    records.append(QString());
    return records;
}

} // namespace

TEST(BinSearch, PrefixMatchesIgnoringCase) {
    const QStringList defs = catalog({
        "{00020430-0000-0000-C000-000000000046}, 2.0, OLE Automation, stdole2.tlb, LibName",
        "{420B2830-E718-11CF-893D-00A0C9054228}, 1.0, Microsoft Scripting Runtime, scrrun.dll, L",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, WSH 1.0, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.10, WSH 1.10, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 2.0, WSH 2.0, wshom.ocx, LibName",
    });
    qint32 index = -1;
    ASSERT_EQ(BinSearch(defs, u"{f935dc20-1cf0-11d0-adb9-00c04fd58a0b}", index), 1);
    EXPECT_TRUE(defs[index].startsWith("{F935DC20"));
    // The key covers only its own length: 1.1 matches the 1.10 record.
    ASSERT_EQ(BinSearch(defs, u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.1", index), 1);
    EXPECT_TRUE(defs[index].contains("1.10"));
    ASSERT_EQ(BinSearch(defs, u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 2.0", index), 1);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(BinSearch(defs, u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 3.0", index), 0);
}

TEST(BinSearch, MissesGiveTheInsertionPosition) {
    const QStringList defs = catalog({"b, 1", "d, 1", "f, 1"});
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

TEST(BinSearch, FindsEveryRecordOfALargeCatalog) {
    std::mt19937 random(7);
    QStringList records;
    for (int i = 0; i < 5000; ++i) {
        records.append(QStringLiteral("{%1-%2}, %3.0, help, c:\\x.dll, LibName")
                           .arg(random(), 8, 16, QLatin1Char('0'))
                           .arg(i, 4, 10, QLatin1Char('0'))
                           .arg(i % 3));
    }
    const QStringList defs = catalog(records);
    for (qint32 i = 0; i + 1 < defs.size(); ++i) {
        const QString key = defs[i].left(defs[i].indexOf(',')).toLower();
        qint32 index = -1;
        ASSERT_EQ(BinSearch(defs, key, index), 1) << key.toStdString();
        EXPECT_TRUE(vantor::startsWithText(defs[index], key));
    }
}
