#include "browser/rtf_text.h"
#include "text/error.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(RtfText, Escaping) {
    EXPECT_EQ(RtfEscape(u"a\\b"), "a\\\\b");
    EXPECT_EQ(RtfEscape(u"{x}"), "\\{x\\}");
    EXPECT_EQ(RtfEscape(u"a\tb"), "a\\tab b");
    // A backslash before a brace: the backslash doubles, then the brace is escaped.
    EXPECT_EQ(RtfEscape(u"\\{"), "\\\\\\{");
    EXPECT_EQ(EscapeBraces(u"\\{"), "\\\\{");
    EXPECT_EQ(EscapeBraces(u"{00020430-0000-0000-C000-000000000046}"),
              "\\{00020430-0000-0000-C000-000000000046\\}");
}

TEST(RtfText, PaneHeaderAndLinks) {
    const QString header = paneRtfHeader(u"  \\red1\\green2\\blue3; ");
    EXPECT_TRUE(header.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(header.contains("{\\f5\\fnil\\fcharset0 MS Sans Serif;}}\r\n"
                                "{\\colortbl ;\\red1\\green2\\blue3;}\r\n"));
    EXPECT_TRUE(header.endsWith("\\lang2057\\f0\\fs18 {\r\n"));
    EXPECT_TRUE(paneRtfHeader(u"").contains("{\\colortbl ;}\r\n"));
    EXPECT_EQ(inLibraryLink(u"IFileSystem", 12), "\\v <file: \\v0 IFileSystem\\v |12/>\\v0");
    EXPECT_EQ(
        externalLink(u"stdole.IDispatch", u"{00020430-0000-0000-C000-000000000046}:2.0.IDispatch"),
        "\\v <file: \\v0 stdole.IDispatch\\v |\\{00020430-0000-0000-C000-000000000046\\}:2.0."
        "IDispatch> \\v0");
    EXPECT_THROW(readWholeFile("/nonexistent/file.htm"), Error);
}
