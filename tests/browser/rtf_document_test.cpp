#include "app/settings_keys.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

using namespace vantor;

namespace {

// The fragment the prototype pane shows for a method taking a type of the loaded library and
// returning one of another library.
QString paneText() {
    return paneRtfHeader(QString::fromLatin1(settings::ClrTbl.defaultValue)) +
           "Function \\cf1\\b\\f1 CopyFolder\\b0 (\\i \\b Source\\b0  As \\i0 \\cf1\\ul\\b" +
           inLibraryLink(u"Folder", 7) + "\\cf0\\ulnone\\b0\\i0 )\\b0\\i0  As \\cf2\\ul\\b " +
           externalLink(u"stdole.IFontDisp",
                        u"{00020430-0000-0000-C000-000000000046}:2.0.IFontDisp") +
           "\\cf0\\ulnone \\cf0\\b\\f0\\fs18 \\par \r\n\\b0 \\cf1\\f1\\fs16   member of "
           "\\f0\\fs18 \\cf2\\ul\\b\\f1\\fs18 "
           "Scripting.FileSystemObject\\cf0\\ulnone\\b0\\f0\\fs18 "
           "\\par \r\n\\cf1\\f1\\fs18   Copies a folder. \\f2\\par }";
}

struct Fragment {
    QString text;
    QTextCharFormat format;
};

QList<Fragment> fragments(const QTextDocument& doc) {
    QList<Fragment> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat()});
    return out;
}

} // namespace

TEST(RtfDocument, RendersWhatAPersonReads) {
    QTextDocument doc;
    renderRtf(paneText(), doc);
    EXPECT_EQ(doc.toPlainText(), "Function CopyFolder(Source As Folder) As stdole.IFontDisp\n"
                                 "  member of Scripting.FileSystemObject\n  Copies a folder. \n");
    QMap<QString, QString> anchors;
    bool boldName = false;
    for (const Fragment& f : fragments(doc)) {
        if (f.format.isAnchor())
            anchors.insert(f.text, f.format.anchorHref());
        if (f.text == "CopyFolder") {
            boldName = f.format.fontWeight() == QFont::Bold;
            EXPECT_EQ(f.format.foreground().color(), QColor(0, 0, 0));
            EXPECT_EQ(f.format.fontFamilies().toStringList(), QStringList{"Liberation Sans"});
            EXPECT_EQ(f.format.fontPointSize(), 9);
        }
        if (f.text == "stdole.IFontDisp") {
            EXPECT_EQ(f.format.foreground().color(), QColor(200, 0, 200));
            EXPECT_TRUE(f.format.fontUnderline());
        }
    }
    EXPECT_TRUE(boldName);
    // What a click reports: the text between the angle brackets.
    EXPECT_EQ(anchors.value("Folder"), "file: Folder|7/");
    EXPECT_EQ(anchors.value("stdole.IFontDisp"),
              "file: stdole.IFontDisp|{00020430-0000-0000-C000-000000000046}:2.0.IFontDisp");
    EXPECT_EQ(anchors.size(), 2);
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
