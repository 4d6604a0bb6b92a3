// Prototypes of real members as the pane shows them: header + fragment rendered to a document.
#include "app/settings_keys.h"
#include "browser/proto_test_support.h"
#include "browser/rtf_document.h"
#include "browser/rtf_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::prototest;

namespace {

void renderPane(const QString& fragment, QTextDocument& doc) {
    renderRtf(paneRtfHeader(QString::fromLatin1(settings::ClrTbl.defaultValue)) + fragment, doc);
}

// The document's runs of visible text with their formats.
QList<QTextFragment> runs(const QTextDocument& doc) {
    QList<QTextFragment> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append(it.fragment());
    return out;
}

QMap<QString, QString> anchors(const QTextDocument& doc) {
    QMap<QString, QString> out;
    for (const QTextFragment& f : runs(doc))
        if (f.charFormat().isAnchor())
            out.insert(f.text(), f.charFormat().anchorHref());
    return out;
}

// The format of the last run with this text (a link comes after a parameter of its name).
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    QTextCharFormat format;
    for (const QTextFragment& f : runs(doc))
        if (f.text() == text)
            format = f.charFormat();
    return format;
}

} // namespace

TEST(ProtoRender, WhatAPersonReadsAndClicks) {
    Opened scripting = openLibrary("scrrun.dll", true);
    ASSERT_TRUE(scripting.lib);
    QTextDocument doc;
    renderPane(scripting.call("IFile", "OpenAsTextStream").screen(), doc);
    EXPECT_EQ(doc.toPlainText(),
              "Function OpenAsTextStream([IOMode As IOMode = ForReading], [Format As Tristate = "
              "TristateFalse]) As ITextStream\n  member of Scripting.IFile\n   \n");
    // A click reports the text between the angle brackets: the type info's number inside the
    // library.
    const QMap<QString, QString> links = anchors(doc);
    EXPECT_EQ(links.value("IOMode"), "file: IOMode|7/");
    EXPECT_EQ(links.value("Tristate"), "file: Tristate|8/");
    EXPECT_EQ(links.value("ITextStream"), "file: ITextStream|9/");
    EXPECT_EQ(links.size(), 3);
    const QTextCharFormat name = formatOf(doc, "OpenAsTextStream");
    EXPECT_EQ(name.fontWeight(), QFont::Bold);
    EXPECT_EQ(name.foreground().color(), QColor(0, 0, 0));
    EXPECT_EQ(name.fontFamilies().toStringList(), QStringList{"Liberation Sans"}); // Arial here
    EXPECT_EQ(name.fontPointSize(), 9);
    EXPECT_TRUE(formatOf(doc, "IOMode").fontUnderline());

    // A type of another library: magenta, underlined, and the reference text behind it.
    renderPane(scripting.call("IDictionary", "QueryInterface").screen(), doc);
    // The blank after an external type's "\\b0\\i0" is doubled in the declaration text.
    EXPECT_EQ(doc.toPlainText(), "Sub QueryInterface(riid  As stdole.GUID, ByVal ppvObj As Any)\n"
                                 "  member of Scripting.IDictionary\n   \n");
    EXPECT_EQ(anchors(doc).value("stdole.GUID"),
              "file: stdole.GUID|{00020430-0000-0000-C000-000000000046}:2.0.GUID");
    EXPECT_EQ(formatOf(doc, "stdole.GUID").foreground().color(), QColor(200, 0, 200));
    EXPECT_TRUE(formatOf(doc, "stdole.GUID").fontUnderline());

    // A constant's value in red; the document form has no links.
    const MemberCall archive = scripting.call("FileAttribute", "Archive");
    renderPane(archive.screen(), doc);
    EXPECT_EQ(doc.toPlainText(), "Const Archive = 32 (&H20)\n  member of Scripting.FileAttribute\n"
                                 "   \n");
    EXPECT_EQ(formatOf(doc, "32 (&H20)").foreground().color(), QColor(220, 40, 40));
    renderPane(scripting.call("IFile", "OpenAsTextStream").document(), doc);
    EXPECT_TRUE(anchors(doc).isEmpty());
    // Document names keep the blank that a link's hidden text takes in the screen form.
    EXPECT_EQ(doc.toPlainText(), "Function OpenAsTextStream([IOMode As IOMode  = ForReading], \n"
                                 "\t[Format As Tristate  = TristateFalse]) As ITextStream \n   \n");
}
