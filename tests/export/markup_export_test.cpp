// The HTML and XML documents of every Wine library, read by independent tools.
#include "doc_test_support.h"
#include "tli/tli_test_support.h"

#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::doctest;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString output;
};

ToolRun run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(600000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAll())};
}

// Types, functions, variables and parameters: of the oracle's dump, or of our XML (parameters
// of a function the type services refuse to read left out, as the dump has none).
using Counts = std::array<int, 4>;

Counts dumpCounts(const QByteArray& dump) {
    Counts c{};
    for (const QByteArray& line : dump.split('\n'))
        for (int k = 0; k < 4; ++k)
            if (line.startsWith(
                    std::array{"  typeinfo ", "    func ", "    var ", "      param "}[k]))
                ++c[k];
    return c;
}

Counts xmlCounts(const QByteArray& xml) {
    Counts c{};
    bool unreadable = false;
    for (QXmlStreamReader r(xml); !r.atEnd();) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = r.name();
        if (name == u"type")
            ++c[0];
        else if (name == u"function") {
            ++c[1];
            unreadable = r.attributes().hasAttribute(QStringLiteral("unreadableDefault"));
        } else if (name == u"variable")
            ++c[2];
        else if (name == u"parameter" && !unreadable)
            ++c[3];
    }
    return c;
}

// Every Wine library exported in one format into one folder; the files written.
QStringList exportAll(DocExporter::Format format, const QString& folder,
                      QList<std::pair<QString, QString>>* dumps = nullptr) {
    QStringList files;
    for (const tli::testing::IndexRow& row : tli::testing::readIndex()) {
        Export e(row.path(), true);
        if (!e.ready())
            continue;
        e.exporter.exportDocument(format);
        const QString file = folder + u'/' + QFileInfo(row.dump).completeBaseName() +
                             (format == DocExporter::Format::Html ? ".html" : ".xml");
        if (prototest::writeFile(file, e.frame.clipboard.toUtf8()))
            files.append(file);
        if (dumps)
            dumps->append({file, tli::testing::kOracleDir + "/dumps/" + row.dump});
    }
    return files;
}

} // namespace

TEST(HtmlDocument, EveryWineLibraryParsesStrictlyWithEveryLinkAnchored) {
    QTemporaryDir dir;
    const QStringList files = exportAll(DocExporter::Format::Html, dir.path());
    ASSERT_GE(files.size(), 40);
    const ToolRun r = run(QStringLiteral("/usr/bin/python3"), QStringList{"-c", R"(
import sys, html5lib
links = 0
for f in sys.argv[1:]:
    doc = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(open(f, 'rb'))
    ids = {e.get('id') for e in doc.iter() if e.get('id')}
    for a in doc.iter('a'):
        href = a.get('href', '')
        links += href.startswith('#')
        if href.startswith('#') and href[1:] not in ids:
            sys.exit(f + ': no anchor for ' + href)
if not links:
    sys.exit('no in-page links')
print('links', links)
)"} + files);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.startsWith("links ")) << r.output.toStdString();
}

TEST(XmlDocument, EveryWineLibraryValidatesAndCountsLikeTheOracle) {
    QTemporaryDir dir;
    QList<std::pair<QString, QString>> dumps;
    const QStringList files = exportAll(DocExporter::Format::Xml, dir.path(), &dumps);
    ASSERT_GE(files.size(), 40);
    const QString schema = QStringLiteral(VANTOR_SOURCE_DIR "/docs/vantor-library.xsd");
    const ToolRun valid =
        run(QStringLiteral("xmllint"), QStringList{"--noout", "--schema", schema} + files);
    EXPECT_EQ(valid.exitCode, 0) << valid.output.left(2000).toStdString();
    for (const auto& [xml, dump] : dumps) {
        SCOPED_TRACE(dump.toStdString());
        EXPECT_EQ(xmlCounts(prototest::readFile(xml)), dumpCounts(prototest::readFile(dump)));
    }
    // A kind the schema does not know fails it.
    const QString broken = dir.filePath("broken.xml");
    ASSERT_TRUE(prototest::writeFile(
        broken, prototest::readFile(files.first()).replace("kind=\"", "kind=\"x")));
    EXPECT_NE(run("xmllint", {"--noout", "--schema", schema, broken}).exitCode, 0);
}
