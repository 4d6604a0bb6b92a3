#include "text/string_helpers.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(StringHelpers, Split) {
    EXPECT_TRUE(Split(QString(), u"#").isEmpty());
    EXPECT_EQ(Split("a##b#", u"#"), (QStringList{"a", "", "b", ""}));
    EXPECT_EQ(Split("a|b", u""), QStringList{"a|b"});
    EXPECT_EQ(Split("axXb", u"X"), (QStringList{"ax", "b"}));
}

TEST(StringHelpers, ReplaceAllIgnoresCaseAndNeverRescans) {
    EXPECT_EQ(ReplaceAll("a\\b\\", u"\\", u"\\\\"), "a\\\\b\\\\");
    EXPECT_EQ(ReplaceAll("Foo fOO", u"foo", u"bar"), "bar bar");
    // The replacement contains the pattern: not scanned again.
    EXPECT_EQ(ReplaceAll("aa", u"a", u"aa"), "aaaa");
    EXPECT_EQ(ReplaceAll("aaa", u"aa", u"b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", u"x", u"y"), "abc");
    EXPECT_EQ(ReplaceAll("abc", u"", u"y"), "abc");
}

TEST(StringHelpers, ReverseAndLastOccurrence) {
    EXPECT_EQ(Reverse(u"abc"), "cba");
    EXPECT_EQ(Reverse(u""), "");
    const QString pair = QString::fromUtf8("a\xF0\x9F\x98\x80z");
    EXPECT_EQ(Reverse(pair), QString::fromUtf8("z\xF0\x9F\x98\x80"
                                               "a"));
    EXPECT_EQ(TrimSpaces(u"  a b\t "), "a b\t");
}
