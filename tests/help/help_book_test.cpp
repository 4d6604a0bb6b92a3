// Compiled help files the build made with chmcmd, read through the reader process.
#include "help/chm_link.h"
#include "help/help_book.h"
#include "test_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor::help;

namespace {

const QString kScript = QStringLiteral(VANTOR_TEST_SCRIPT_CHM);
const QString kVantor = QStringLiteral(VANTOR_HELP_CHM);

} // namespace

TEST(HelpBook, ContentsIndexMapAndPages) {
    HelpBook book(kScript);
    ASSERT_TRUE(book.open());
    EXPECT_EQ(book.system().title, QByteArray("Script Help"));
    EXPECT_EQ(book.system().lcid, 0x409u);
    EXPECT_EQ(book.defaultPage(), QStringLiteral("/html/wsconwshbasics.htm"));
    ASSERT_EQ(book.contents().size(), 3);
    EXPECT_EQ(book.contents()[2].name, QStringLiteral("Run Method"));
    EXPECT_EQ(book.contents()[2].depth, 2);
    ASSERT_EQ(book.index().size(), 3);
    EXPECT_EQ(book.index()[1].locals.size(), 2);
    EXPECT_EQ(book.index()[2].name, QStringLiteral("WshShell & friends"));
    const auto hit = book.findKeyword(QStringLiteral("Nothing;run METHOD;Run"));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->keyword, QStringLiteral("run METHOD"));
    EXPECT_EQ(hit->entry, 0);
    // chmcmd wrote the build folder in front of the topic.
    EXPECT_EQ(book.contextPage(0x200), QStringLiteral("/html/wsmthrun.htm"));
    EXPECT_FALSE(book.contextPage(9));
    const auto image = book.object(QStringLiteral("/HTML/Run.png"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->startsWith("\x89PNG"));
    EXPECT_FALSE(book.object(QStringLiteral("/html/none.htm")));
    EXPECT_FALSE(book.broken());

    HelpBook own(kVantor);
    ASSERT_TRUE(own.open());
    for (const char* keyword : {"View Menu", "About Menu", "Search Menu", "Find Menu",
                                "LibDocs Menu", "MRU ListView", "RichText ProtoType", "Search Box",
                                "Path Box", "Status Message", "PopUp Menu", "TLBMru Menu"})
        EXPECT_TRUE(own.findKeyword(QString::fromLatin1(keyword))) << keyword;
    EXPECT_EQ(own.contextPage(9), QStringLiteral("/popup.htm"));
    EXPECT_EQ(own.contextPage(10), QStringLiteral("/mrumenu.htm"));
}

TEST(HelpBook, LinksStayInsideTheFile) {
    using K = LinkTarget::Kind;
    struct Case {
        const char* href;
        K kind;
        const char* path;
        const char* anchor;
    };
    const Case cases[] = {
        {"wsmthrun.htm#remarks", K::Page, "/html/wsmthrun.htm", "remarks"},
        {"ms-its:script56.chm::/html/x.htm", K::Page, "/html/x.htm", ""},
        {"mk:@MSITStore:C:\\windows\\help\\SCRIPT56.CHM::/a/../b.htm", K::Page, "/b.htm", ""},
        {"../../../etc/passwd", K::Page, "/etc/passwd", ""},
        {"..\\img\\.\\a.png", K::Page, "/img/a.png", ""},
        {"#top", K::Page, "/html/wsconwshbasics.htm", "top"},
        {"http://example.com/", K::External, "", ""},
        {"MAILTO:a@b.c", K::External, "", ""},
        {"ms-its:other.chm::/x.htm", K::OtherFile, "", ""},
        {"javascript:alert(1)", K::None, "", ""},
        {"file:///etc/passwd", K::None, "", ""},
    };
    for (const Case& c : cases) {
        const LinkTarget t = resolveLink(QString::fromLatin1(c.href),
                                         QStringLiteral("/html/wsconwshbasics.htm"), kScript);
        EXPECT_EQ(t.kind, c.kind) << c.href;
        EXPECT_EQ(t.path, QString::fromLatin1(c.path)) << c.href;
        EXPECT_EQ(t.anchor, QString::fromLatin1(c.anchor)) << c.href;
    }
}

// Truncated and corrupted copies of real help files: the reader process may fail or die, the
// book reports it and this process goes on.
TEST(HelpBook, DamagedFilesNeverTakeDownTheWindowProcess) {
    QTemporaryDir dir;
    int broken = 0, opened = 0;
    for (const QString& source : {kScript, kVantor}) {
        const QByteArray original = vantor::test::readFile(source);
        ASSERT_FALSE(original.isEmpty());
        QList<QByteArray> damaged;
        for (qsizetype cut : {qsizetype(0), qsizetype(0x30), qsizetype(0x60), qsizetype(0x1000),
                              original.size() / 3, original.size() / 2, original.size() - 9})
            damaged.append(original.left(cut));
        for (qsizetype at = 0; at < original.size();
             at += qMax<qsizetype>(97, original.size() / 60)) {
            QByteArray b = original;
            for (qsizetype i = at; i < qMin(at + 8, b.size()); ++i)
                b[i] = char(0xFF - uchar(b[i]));
            damaged.append(b);
        }
        for (const QByteArray& bytes : damaged) {
            const QString path = dir.filePath(QStringLiteral("damaged.chm"));
            ASSERT_TRUE(vantor::test::writeFile(path, bytes));
            HelpBook book(path);
            if (book.open()) {
                ++opened;
                book.object(book.defaultPage());
                book.findKeyword(QStringLiteral("Run"));
                book.contextPage(9);
            }
            broken += book.broken() ? 1 : 0;
        }
    }
    EXPECT_GT(broken, 0);
    EXPECT_GT(opened, 0);
}
