#include "app/settings_keys.h"
#include "browser/rtf_content.h"
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

TEST(RtfContent, ReadsThePaneHeaderTables) {
    const RtfContent content = parseRtf(paneRtfHeader(kDefaultColourList) + "}");
    EXPECT_EQ(content.fonts.value(0), "Arial");
    EXPECT_EQ(content.fonts.value(2), "Times New Roman");
    EXPECT_EQ(content.fonts.value(5), "MS Sans Serif");
    ASSERT_EQ(content.colours.size(), 5);
    EXPECT_TRUE(content.colour(0).automatic);
    EXPECT_EQ(content.colour(2), (RtfColour{false, 200, 0, 200}));
    EXPECT_EQ(content.colour(4), (RtfColour{false, 220, 40, 40}));
    EXPECT_TRUE(content.colour(99).automatic);
    EXPECT_EQ(visibleText(content), "");
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
