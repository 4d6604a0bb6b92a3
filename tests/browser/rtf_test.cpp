#include "app/settings_keys.h"
#include "browser/rtf_content.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

const QString kDefaultColourList = QString::fromLatin1(settings::ClrTbl.defaultValue);

QString visibleText(const RtfContent& content) {
    QStringList paragraphs;
    for (const RtfParagraph& p : content.paragraphs) {
        QString text;
        for (const RtfRun& run : p.runs)
            if (!run.format.hidden)
                text += run.text;
        paragraphs.append(text);
    }
    return paragraphs.join(u'\n');
}

} // namespace

TEST(RtfText, EscapingAndTheHeader) {
    EXPECT_EQ(RtfEscape(u"a\tb"), "a\\tab b");
    // A backslash before a brace: the backslash doubles, then the brace is escaped.
    EXPECT_EQ(RtfEscape(u"\\{x}"), "\\\\\\{x\\}");
    EXPECT_EQ(EscapeBraces(u"\\{"), "\\\\{");
    const QString header = paneRtfHeader(u"  \\red1\\green2\\blue3; ");
    EXPECT_TRUE(header.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    EXPECT_TRUE(header.contains("{\\f5\\fnil\\fcharset0 MS Sans Serif;}}\r\n"
                                "{\\colortbl ;\\red1\\green2\\blue3;}\r\n"));
    EXPECT_TRUE(header.endsWith("\\lang2057\\f0\\fs18 {\r\n"));
    EXPECT_TRUE(paneRtfHeader(u"").contains("{\\colortbl ;}\r\n"));
}

TEST(RtfDocument, FindsLinksAndFonts) {
    const QList<RtfLink> links = findLinks("x <file: A|1/> y <file: B|{G}:1.0.B> <file: open");
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[0].target, "file: A|1/");
    EXPECT_EQ(links[1].target, "file: B|{G}:1.0.B");
    EXPECT_EQ(hostFontFamily("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(hostFontFamily("courier new"), "Liberation Mono");
    EXPECT_EQ(hostFontFamily("Fira Code"), "Fira Code");
}

TEST(RtfContent, FormatsHiddenTextAndEscapes) {
    const QString fragment =
        "Function \\cf1\\b\\f1 Item\\b0 (\\i \\b Index \\b0 As \\i0 Long\\b0\\i0 )\\b0\\fs18  As "
        "\\cf1\\ul\\b " +
        inLibraryLink(u"Folder", 7) +
        "\\cf1\\ulnone \\cf0\\b\\f0\\fs18 \\par \r\n\\b0 \\cf1\\f1\\fs16\\cf1\\f1\\fs18   a "
        "\\{b\\} "
        "\\\\ c\\tab d \\'93q\\'94\\u8364?\\f2\\par ";
    const RtfContent content = parseRtf(paneRtfHeader(kDefaultColourList) + fragment + "}");
    EXPECT_EQ(visibleText(content),
              QStringLiteral("Function Item(Index As Long) As Folder\n  a {b} \\ c\td "
                             "\u201Cq\u201D\u20AC\n"));
    const QList<RtfRun>& runs = content.paragraphs[0].runs;
    ASSERT_GE(runs.size(), 3);
    EXPECT_EQ(runs[0].text, "Function ");
    EXPECT_FALSE(runs[0].format.bold);
    EXPECT_EQ(runs[1].text, "Item");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[1].format.colour, 1);
    EXPECT_EQ(runs[1].format.font, 1);
    EXPECT_EQ(runs[1].format.halfPoints, 18);
    // The link's hidden parts are text too, marked hidden.
    QString hidden;
    for (const RtfRun& run : runs)
        if (run.format.hidden)
            hidden += run.text;
    EXPECT_EQ(hidden, "<file: |7/>");
    EXPECT_EQ(content.paragraphs[0].leftIndent, 84);
    EXPECT_EQ(content.paragraphs[0].firstIndent, -5);
}

TEST(RtfContent, SurvivesBrokenInput) {
    for (const QString& bad : {QStringLiteral("{\\rtf1 {{{{ unclosed \\b bold"),
                               QStringLiteral("}}}} text {\\*\\unknown skipped} after"),
                               QStringLiteral("\\'zz \\' \\'4"), QStringLiteral("\\"),
                               QStringLiteral("\\fs99999999999999999999 big \\cf-5 neg"),
                               QString(500, u'{') + "deep" + QString(10, u'}')}) {
        const RtfContent content = parseRtf(bad);
        EXPECT_FALSE(content.paragraphs.isEmpty());
    }
    EXPECT_EQ(visibleText(parseRtf(u"}}}} text {\\*\\unknown skipped} after")), " text  after");
    EXPECT_EQ(visibleText(parseRtf(u"{\\rtf1 {{{{ unclosed \\b bold")), " unclosed bold");
}
