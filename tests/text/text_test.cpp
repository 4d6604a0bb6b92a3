#include "text/string_helpers.h"
#include "text/text_order.h"
#include "text/win1252.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(TextOrder, IgnoresCaseAndPutsShorterFirst) {
    EXPECT_EQ(compareText(u"{ABCDEF}", u"{abcdef}"), 0);
    EXPECT_LT(compareText(u"abc", u"ABCD"), 0);
    EXPECT_GT(compareText(u"abd", u"ABC"), 0);
    // Letters compare as lower case, so they sort after "_" (0x5F), upper case included.
    EXPECT_GT(compareText(u"Z", u"_"), 0);
    EXPECT_EQ(compareText(u"\u00C9T\u00C9", u"\u00E9t\u00E9"), 0);
    EXPECT_FALSE(equalsText(u"abc", u"abcd"));
    EXPECT_TRUE(startsWithText(u"{F935DC20-1CF0}, 1.0", u"{f935dc20"));
    EXPECT_FALSE(startsWithText(u"{F9", u"{F935"));
    EXPECT_EQ(indexOfText(u"aXbxc", u"x", 2), 3);
    EXPECT_EQ(indexOfText(u"abc", u"abcd"), -1);
}

TEST(StringHelpers, ReplaceAllIgnoresCaseAndNeverRescans) {
    EXPECT_EQ(ReplaceAll("Foo fOO", u"foo", u"bar"), "bar bar");
    // The replacement contains the pattern: not scanned again.
    EXPECT_EQ(ReplaceAll("aa", u"a", u"aa"), "aaaa");
    EXPECT_EQ(ReplaceAll("aaa", u"aa", u"b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", u"", u"y"), "abc");
    EXPECT_EQ(TrimSpaces(u"  a b\t "), "a b\t");
}

TEST(Win1252, AllBytesRoundTripTheHighHalfIsNotLatin1AndOthersAreQuestionMarks) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = win1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(win1252::encode(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    // The five undefined bytes keep their C1 code points.
    for (char16_t c : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text[c], QChar(c));
    // Outside the code page: U+0080 (unmapped), a CJK character, an emoji (a surrogate pair).
    EXPECT_EQ(win1252::encode(QString::fromUtf8("a\xC2\x80"
                                                "b\xE4\xB8\xAD[\xF0\x9F\x98\x80]")),
              QByteArray("a?b?[?]"));
}
