#include "text/text_order.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(TextOrder, IgnoresCaseAndPutsShorterFirst) {
    EXPECT_EQ(compareText(u"{ABCDEF}", u"{abcdef}"), 0);
    EXPECT_LT(compareText(u"abc", u"ABCD"), 0);
    EXPECT_GT(compareText(u"abd", u"ABC"), 0);
    EXPECT_LT(compareText(u"", u"a"), 0);
    // Letters compare as lower case, so they sort after "_" (0x5F), upper case included.
    EXPECT_GT(compareText(u"Z", u"_"), 0);
    EXPECT_EQ(compareText(u"\u00C9T\u00C9", u"\u00E9t\u00E9"), 0);
    EXPECT_TRUE(equalsText(u"Software\\Classes", u"SOFTWARE\\classes"));
    EXPECT_FALSE(equalsText(u"abc", u"abcd"));
}

TEST(TextOrder, PrefixAndSearch) {
    EXPECT_TRUE(startsWithText(u"{F935DC20-1CF0}, 1.0", u"{f935dc20"));
    EXPECT_FALSE(startsWithText(u"{F9", u"{F935"));
    EXPECT_EQ(indexOfText(u"aXbxc", u"x"), 1);
    EXPECT_EQ(indexOfText(u"aXbxc", u"x", 2), 3);
    EXPECT_EQ(indexOfText(u"abc", u"abcd"), -1);
}
