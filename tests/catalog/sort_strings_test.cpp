#include "catalog/sort_strings.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

using vantor::compareText;
using vantor::SortStrings;

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
    for (auto it = key.globalMatch(vantor::win1252::decode(file.readAll())); it.hasNext();) {
        const QString name = it.next().captured(1);
        names.insert(name.toLower(), name);
    }
    return names.values();
}

} // namespace

TEST(SortStrings, SortsTheRealPrefixClassKeys) {
    QStringList names = realClassNames();
    ASSERT_GT(names.size(), 1000) << "the prefix hive should hold the classes of a Wine install";
    std::reverse(names.begin(), names.end());
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(), textLess);
    SortStrings(names);
    // The same elements, only moved (names here are unique ignoring case).
    EXPECT_EQ(names, expected);
}

TEST(SortStrings, RangesAndDuplicates) {
    QStringList list{"z", "Y", "b", "A", "c", "a2", "0"};
    SortStrings(list, 1, 4);
    EXPECT_EQ(list, (QStringList{"z", "A", "b", "c", "Y", "a2", "0"}));
    QStringList two{"B", "a"};
    SortStrings(two);
    EXPECT_EQ(two, (QStringList{"a", "B"}));
    QStringList empty;
    SortStrings(empty);
    EXPECT_TRUE(empty.isEmpty());

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
