// The helpers the catalogs are cut, searched and sorted with.
#include "catalog/bin_search.h"
#include "catalog/cstack.h"
#include "catalog/get_token.h"
#include "catalog/sort_strings.h"
#include "text/error.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

bool textLess(const QString& a, const QString& b) {
    return compareText(a, b) < 0;
}

// The names of the keys directly under Software\Classes and Software\Classes\CLSID in the
// real prefix hive, once each ignoring case: what the catalog builders sort.
QStringList realClassNames() {
    QFile file(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/system.reg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression key(
        QStringLiteral(R"(^\[Software\\\\Classes\\\\(?:CLSID\\\\)?([^\\\]]+))"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QMap<QString, QString> names;
    for (auto it = key.globalMatch(win1252::decode(file.readAll())); it.hasNext();) {
        const QString name = it.next().captured(1);
        names.insert(name.toLower(), name);
    }
    return names.values();
}

} // namespace

// Plain records are cut on real catalogs by the catalog builders' tests.
TEST(GetToken, QuotedFieldsTrimmingAndMissingFields) {
    EXPECT_EQ(GetToken(2, QStringLiteral("a,   b  , c, d, e")), "b");
    EXPECT_EQ(GetToken(5, QStringLiteral("a, b, c, d,  e ")), " e ");
    const QString quoted = "{00020813-0000-0000-C000-000000000046}, 1.9, \"Excel, Object "
                           "Library\", c:\\x.olb, Lib, Name, with, commas";
    EXPECT_EQ(GetToken(3, quoted), "\"Excel, Object Library\"");
    EXPECT_EQ(GetToken(4, quoted), "c:\\x.olb");
    EXPECT_EQ(GetToken(5, quoted), "Lib, Name, with, commas");
    // Lines without the field, and an unterminated quote, cannot be cut.
    for (const auto& [field, line] : {std::pair{2, "no commas here"},
                                      {4, "a, b"},
                                      {1, ""},
                                      {0, "a, b, c, d, e"},
                                      {3, "a, b, \"open quote, c"}})
        EXPECT_THROW(GetToken(field, QString::fromLatin1(line)), Error) << line;
    // Field 5 always exists: it may be empty.
    EXPECT_EQ(GetToken(5, QStringLiteral("x")), "");
}

// Catalogs as loaded: records in text order, then the trailing empty element.
TEST(BinSearch, PrefixMatchesIgnoringCaseAndMissesGiveTheInsertionPosition) {
    const QStringList defs{
        "{00020430-0000-0000-C000-000000000046}, 2.0, OLE Automation, stdole2.tlb, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0, WSH 1.0, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.10, WSH 1.10, wshom.ocx, LibName",
        "{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 2.0, WSH 2.0, wshom.ocx, LibName", QString()};
    // The key covers only its own length: 1.1 matches the 1.10 record. Greater than every
    // record: the upper bound + 1.
    const QString wsh = QStringLiteral("{f935dc20-1cf0-11d0-adb9-00c04fd58a0b}, ");
    for (const auto& [version, found, at] :
         {std::tuple{"1.1", 1, 2}, {"2.0", 1, 3}, {"1.05", 0, 2}, {"3.0", 0, int(defs.size())}}) {
        qint32 index = -1;
        EXPECT_EQ(BinSearch(defs, wsh + QLatin1String(version), index), found) << version;
        EXPECT_EQ(index, at) << version;
    }
    qint32 index = -1;
    // A catalog without records still answers.
    EXPECT_EQ(BinSearch(QStringList{QString()}, u"{G}", index), 0);
    EXPECT_EQ(BinSearch(QStringList{}, u"{G}", index), 0);
    EXPECT_EQ(index, 0);
}

TEST(CStack, GrowsAndShrinksInStepsOfTen) {
    CStack stack;
    EXPECT_EQ(stack.Pop(), 0);
    for (int i = 0; i < 21; ++i)
        stack.Push(i);
    ASSERT_EQ(stack.Capacity(), 30);
    // Capacity drops by 10 once count + 2 is below capacity - 10.
    while (stack.Count() > 17)
        stack.Pop();
    EXPECT_EQ(stack.Capacity(), 20);
    EXPECT_EQ(stack.Pop(), 16);
}

TEST(SortStrings, SortsTheRealPrefixClassKeysRangesAndDuplicates) {
    QStringList names = realClassNames();
    ASSERT_GT(names.size(), 1000) << "the prefix hive should hold the classes of a Wine install";
    std::reverse(names.begin(), names.end());
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(), textLess);
    SortStrings(names);
    // The same elements, only moved (names here are unique ignoring case).
    EXPECT_EQ(names, expected);

    QStringList list{"z", "Y", "b", "A", "c", "a2", "0"};
    SortStrings(list, 1, 4); // a range
    EXPECT_EQ(list, (QStringList{"z", "A", "b", "c", "Y", "a2", "0"}));
    // Many elements equal ignoring case: sorted, none lost or repeated.
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(i % 2 ? QStringLiteral("Key%1").arg(i % 17)
                          : QStringLiteral("KEY%1").arg(i % 13));
    const QStringList before = many;
    SortStrings(many);
    EXPECT_TRUE(std::is_sorted(many.begin(), many.end(), textLess));
    EXPECT_TRUE(std::is_permutation(many.begin(), many.end(), before.begin(), before.end()));
}
