// The RTF document: order of types, head, completeness; and where its file may go.
#include "doc_test_support.h"
#include "export/rtf_export.h"
#include "text/win1252.h"
#include "tli/tli_test_support.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::doctest;

namespace {

// The captions of the document's type headers, in order.
QStringList headerCaptions(const QString& rtf) {
    QStringList captions;
    static const QRegularExpression header(
        QStringLiteral(R"(\\par\\f3\\fs22 \w+ \\b (.*)\\b0\\par)"));
    for (auto it = header.globalMatch(rtf); it.hasNext();)
        captions.append(it.next().captured(1));
    return captions;
}

// Whether the group depth never drops below 0 and ends at 0.
bool complete(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i;
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

} // namespace

TEST(RtfDocument, TypesInKindOrderOrListOrder) {
    Export e(QStringLiteral("wshom.ocx"), true);
    ASSERT_TRUE(e.ready());
    const DocSource& s = e.frame.source;
    prototest::RecordingFrame proto;
    for (const bool group : {true, false}) {
        SCOPED_TRACE(group);
        e.frame.options.groupByKind = group;
        e.exporter.exportDocument(DocExporter::Format::RichText);
        QStringList expected;
        for (const qint32 row : visitedRows(s, group))
            if (!tli::isGlobalsSearchData(s.rows[row].itemData))
                expected.append(s.rows[row].text);
        EXPECT_EQ(headerCaptions(e.frame.clipboard), expected);
        const qint32 n = BuildDocLines(s, 2, group, proto).lines.size();
        EXPECT_EQ(e.frame.statuses.last(),
                  QStringLiteral("Writing ") + QString::number(n) + " RichText OK");
        EXPECT_EQ(e.frame.docMode, 2);
    }
}

TEST(RtfDocument, GlobalsRowGivesMemberLinesWithoutHeader) {
    Export e(QStringLiteral("stdole2.tlb"));
    ASSERT_TRUE(e.ready());
    ASSERT_TRUE(tli::isGlobalsSearchData(e.frame.source.rows[0].itemData));
    const qsizetype globals = e.opened.lib->members(e.frame.source.rows[0].itemData).size();
    ASSERT_GT(globals, 0);
    prototest::RecordingFrame proto;
    const DocLines listed = BuildDocLines(e.frame.source, 2, false, proto);
    const DocLines grouped = BuildDocLines(e.frame.source, 2, true, proto);
    EXPECT_EQ(listed.lines.size(), grouped.lines.size() + globals);
    EXPECT_TRUE(listed.lines[0].startsWith("Function ") || listed.lines[0].startsWith("Sub "));
}

TEST(RtfDocument, HeadNamesTheSelectedLibraryRowAndTheHelpFile) {
    Export e(QStringLiteral("wshom.ocx"), true);
    ASSERT_TRUE(e.ready());
    e.frame.head = {QString(), QString(), QStringLiteral("C:\\windows\\system32\\wshom.ocx"), {}};
    e.exporter.exportDocument(DocExporter::Format::RichText);
    EXPECT_TRUE(e.frame.clipboard.contains(
        "\\fs22 Library: \\b \\b0 \\par\r\n\\fs18\\tab C:\\\\windows\\\\system32\\\\wshom.ocx "
        "\\par\r\n\\tab Description:  \\par\r\n\\par"));
    e.frame.head.libraryName = QStringLiteral("IWshRuntimeLibrary");
    e.frame.head.description = QStringLiteral("Windows Script Host Object Model");
    e.exporter.setHelpFile([] { return QStringLiteral("C:\\help\\wsh{5}.chm"); });
    e.exporter.exportDocument(DocExporter::Format::RichText);
    EXPECT_TRUE(e.frame.clipboard.contains(
        "Library: \\b IWshRuntimeLibrary\\b0 \\par\r\n\\fs18\\tab C:\\\\windows\\\\system32\\\\"
        "wshom.ocx \\par\r\n\\tab Description: Windows Script Host Object Model \\par\r\n"
        "\\tab HelpFile: C:\\\\help\\\\wsh\\{5\\}.chm \\par\r\n"));
    EXPECT_TRUE(e.frame.clipboard.endsWith("}}\r\n"));
}

// Every library's document closes what it opens; an independent reader shows every member.
TEST(RtfDocument, EveryWineLibraryIsComplete) {
    for (const tli::testing::IndexRow& row : tli::testing::readIndex()) {
        SCOPED_TRACE(row.path().toStdString());
        Export e(row.path());
        if (!e.ready())
            continue;
        e.exporter.exportDocument(DocExporter::Format::RichText);
        const QString file = e.file(DocOutput::RichText, safeFileName(e.opened.lib->name()));
        const QByteArray bytes = prototest::readFile(file);
        EXPECT_TRUE(complete(bytes));
        if (row.file != QStringLiteral("wshom.ocx"))
            continue;
        QProcess unrtf;
        unrtf.start(QStringLiteral("unrtf"), {QStringLiteral("--text"), file});
        ASSERT_TRUE(unrtf.waitForFinished(60000));
        const QString text = win1252::decode(unrtf.readAllStandardOutput());
        for (const GroupPair& p : e.frame.source.kindOrder)
            for (const tli::MemberView& m :
                 e.opened.lib->members(e.frame.source.rows[p.row].itemData))
                EXPECT_TRUE(text.contains(m.name())) << m.name().toStdString();
    }
}

TEST(DocFiles, LibraryNamesStayInsideTheirFolder) {
    for (const auto& [name, file] : {std::pair{"", "_"},
                                     {".", "_"},
                                     {"..", "_"},
                                     {"../x", ".._x"},
                                     {"a\\b\tc", "a_b_c"},
                                     {"MSXML2.v6", "MSXML2.v6"}})
        EXPECT_EQ(safeFileName(QString::fromLatin1(name)), QString::fromLatin1(file));
    // A library whose own name climbs out: stdole32's name patched to "../../".
    QTemporaryDir dir;
    QByteArray bytes = prototest::readFile(prototest::wineFile("stdole32.tlb"));
    ASSERT_EQ(bytes.count("stdole"), 1);
    bytes.replace("stdole", "../../");
    const QString copy = dir.filePath("crafted.tlb");
    ASSERT_TRUE(prototest::writeFile(copy, bytes));
    Export e(copy);
    ASSERT_TRUE(e.ready());
    ASSERT_EQ(e.opened.lib->name(), QStringLiteral("../../"));
    e.exporter.exportDocument(DocExporter::Format::RichText);
    const QString rtf = e.file(DocOutput::RichText, QStringLiteral(".._.._"));
    QDirIterator it(e.folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_EQ(it.next(), rtf);
    EXPECT_FALSE(it.hasNext()) << it.next().toStdString();
}

TEST(DocFiles, FailedWriteKeepsThePreviousFileAndSaysWhy) {
    Export e(QStringLiteral("wshom.ocx"));
    ASSERT_TRUE(e.ready());
    const QString file = e.file(DocOutput::RichText, QStringLiteral("IWshRuntimeLibrary"));
    // A folder where the file belongs: the write fails and leaves nothing beside it.
    ASSERT_TRUE(QDir().mkpath(file));
    e.exporter.exportDocument(DocExporter::Format::RichText);
    EXPECT_EQ(e.frame.statuses,
              QStringList{"export failed: Cannot write " + file + ": Is a directory"});
    EXPECT_EQ(QDir(QFileInfo(file).path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    // A previous document stays whole when the writer fails.
    QDir().rmdir(file);
    e.exporter.exportDocument(DocExporter::Format::RichText);
    const QByteArray previous = prototest::readFile(file);
    ASSERT_FALSE(previous.isEmpty());
    e.exporter.setFileWriter([](const QString&, QByteArrayView, QString* error) {
        *error = QStringLiteral("No space left on device");
        return false;
    });
    e.exporter.exportDocument(DocExporter::Format::RichText);
    EXPECT_EQ(e.frame.statuses.last(), QStringLiteral("export failed: No space left on device"));
    EXPECT_EQ(prototest::readFile(file), previous);
}
