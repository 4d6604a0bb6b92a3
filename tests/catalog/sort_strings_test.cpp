#include "catalog/sort_strings.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>

using vantor::compareText;
using vantor::SortStrings;

namespace {

bool sortedInTextOrder(const QStringList& list, qsizetype from = 0, qsizetype to = -1) {
    if (to < 0)
        to = list.size() - 1;
    for (qsizetype i = from; i < to; ++i) {
        if (compareText(list[i], list[i + 1]) > 0)
            return false;
    }
    return true;
}

// The names of the keys directly under Software\Classes and Software\Classes\CLSID in the
// real prefix hive: what the catalog builders sort.
QStringList realClassNames() {
    QFile file(QStringLiteral(VANTOR_SHARED_DIR "/testdata/wine-prefix/system.reg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = vantor::win1252::decode(file.readAll());
    static const QRegularExpression key(
        QStringLiteral(R"(^\[Software\\\\Classes\\\\(?:CLSID\\\\)?([^\\\]]+))"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QSet<QString> seen;
    QStringList names;
    for (auto it = key.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!seen.contains(name.toLower())) {
            seen.insert(name.toLower());
            names.append(name);
        }
    }
    return names;
}

} // namespace

TEST(SortStrings, SortsTheRealPrefixClassKeys) {
    QStringList names = realClassNames();
    ASSERT_GT(names.size(), 1000) << "the prefix hive should hold the classes of a Wine install";
    std::reverse(names.begin(), names.end());
    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    SortStrings(names);
    EXPECT_TRUE(sortedInTextOrder(names));
    // The same elements, only moved (names here are unique ignoring case).
    EXPECT_EQ(names, expected);
}

TEST(SortStrings, SortsOnlyTheGivenRange) {
    QStringList list{"z", "Y", "b", "A", "c", "a2", "0"};
    SortStrings(list, 1, 4);
    EXPECT_EQ(list, (QStringList{"z", "A", "b", "c", "Y", "a2", "0"}));
    QStringList two{"B", "a"};
    SortStrings(two);
    EXPECT_EQ(two, (QStringList{"a", "B"}));
    QStringList empty;
    SortStrings(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(SortStrings, HandlesDuplicatesAndCaseVariants) {
    QStringList list;
    for (int i = 0; i < 300; ++i)
        list.append(i % 2 ? QStringLiteral("Key%1").arg(i % 17)
                          : QStringLiteral("KEY%1").arg(i % 13));
    SortStrings(list);
    EXPECT_TRUE(sortedInTextOrder(list));
    EXPECT_EQ(list.size(), 300);
}
