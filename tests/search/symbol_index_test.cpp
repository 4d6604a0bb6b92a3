// The symbol index over the test prefix's type library catalog.
#include "browser/browsing_machine.h"
#include "catalog/type_lib_record.h"
#include "search/index_builder.h"
#include "search/symbol_index.h"
#include "test_files.h"
#include "text/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

using namespace vantor;

namespace {

struct Indexed {
    test::BrowsingMachine machine;
    QStringList records;
    QString path;
    SymbolIndex index;
    IndexUpdate first;

    Indexed() {
        CatalogFrame frame;
        Catalogs catalogs(machine.programFolder(), frame);
        catalogs.LoadDefs(1);
        records = catalogs.TLDefs();
        path = machine.programFolder() + QStringLiteral("/index/test.sqlite");
        index.open(path);
        first = update();
    }
    IndexUpdate update() {
        return index.update(records,
                            [this](const QString& w) { return machine.paths().toHost(w); });
    }
    // Replaces a system32 file (a link to Wine's) by a copy of its first `size` bytes.
    void replace(const QString& name, qsizetype size = -1) {
        const QString file = machine.prefix().prefix() + "/drive_c/Windows/System32/" + name;
        QByteArray bytes = test::readFile(file);
        ASSERT_FALSE(bytes.isEmpty());
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(test::writeFile(file, size < 0 ? bytes : bytes.left(size)));
    }
    int recordsOf(const QString& file) const {
        int n = 0;
        for (const QString& r : records)
            n += TypeLibRecord::parse(r).path.endsWith(file, Qt::CaseInsensitive);
        return n;
    }
};

template <typename Test> bool has(const SymbolResults& r, Test test) {
    return std::any_of(r.hits.begin(), r.hits.end(), test);
}

Indexed& shared() {
    static Indexed indexed;
    return indexed;
}

} // namespace

TEST(SymbolIndex, FindsEveryKindBestMatchFirst) {
    Indexed& x = shared();
    ASSERT_TRUE(x.machine.built());
    EXPECT_EQ(x.first.failed + x.first.read, x.first.libraries);
    EXPECT_GT(x.first.read, 30);
    EXPECT_GT(x.index.symbolCount(), 20000);

    EXPECT_TRUE(has(x.index.query(QStringLiteral("tristatetrue")), [](const SymbolHit& h) {
        return h.match == match::Exact && h.entry.kind == SymbolKind::Constant &&
               h.entry.name == "TristateTrue" && h.entry.value == "-1 (&HFFFFFFFF)" &&
               h.path.endsWith("scrrun.dll", Qt::CaseInsensitive);
    }));

    // The interface in every MSXML library, a library's higher version first.
    const SymbolResults node =
        x.index.query(QStringLiteral("IXMLDOMNode"), match::Exact, kinds::Types);
    ASSERT_GE(node.hits.size(), 3);
    for (qsizetype i = 0; i < node.hits.size(); ++i) {
        EXPECT_TRUE(node.hits[i].path.contains("msxml", Qt::CaseInsensitive));
        if (i > 0 && node.hits[i].library == node.hits[i - 1].library) {
            EXPECT_GE(node.hits[i - 1].major * 100 + node.hits[i - 1].minor,
                      node.hits[i].major * 100 + node.hits[i].minor);
        }
    }

    // Each kind of match, the kinds in their order: exact, prefix, substring, help words.
    struct Case {
        const char* text;
        int match;
        const char* name;
    };
    for (const Case& c : {Case{"LoadPic", match::Prefix, "LoadPicture"},
                          Case{"DOMNod", match::Substring, "IXMLDOMNode"},
                          Case{"move a file", match::HelpWords, "MoveFile"}}) {
        const SymbolResults r = x.index.query(QString::fromLatin1(c.text));
        EXPECT_TRUE(has(r, [&](const SymbolHit& h) {
            return h.match == c.match && h.entry.name == c.name;
        })) << c.text;
        EXPECT_TRUE(std::is_sorted(r.hits.begin(), r.hits.end(),
                                   [](const SymbolHit& a, const SymbolHit& b) {
                                       return a.match < b.match ||
                                              (a.match == b.match && a.entry.kind < b.entry.kind);
                                   }))
            << c.text;
    }

    // At most the limit, with the full count; hidden entries only when asked for.
    const SymbolResults many = x.index.query(QStringLiteral("get"), match::All, kinds::All, true);
    EXPECT_EQ(many.hits.size(), 500);
    EXPECT_GT(many.total, 500);
    const SymbolResults shown = x.index.query(QStringLiteral("get"), match::All, kinds::All, false);
    EXPECT_LT(shown.total, many.total);
    // IPicture is a hidden interface.
    EXPECT_TRUE(has(x.index.query(QStringLiteral("IPicture"), match::Exact, kinds::Types, true),
                    [](const SymbolHit& h) { return h.entry.hidden; }));
    EXPECT_EQ(x.index.query(QStringLiteral("IPicture"), match::Exact, kinds::Types).total, 0);
    for (const SymbolHit& h : shown.hits)
        EXPECT_FALSE(h.entry.hidden);
}

// A changed file is read again and no other; a truncated one is recorded with its reason.
TEST(SymbolIndex, ReadsOnlyWhatChangedAndSkipsWhatItCannotRead) {
    Indexed& x = shared();
    ASSERT_TRUE(x.machine.built());
    EXPECT_EQ(x.update().read, 0);
    const qint64 symbols = x.index.symbolCount();
    const qint64 documents = x.index.query(QStringLiteral("HTMLDocument")).total;
    x.replace(QStringLiteral("mshtml.tlb"));
    EXPECT_EQ(x.update().read, x.recordsOf(QStringLiteral("mshtml.tlb")));
    // Read again, the library replaces its entries rather than adding to them.
    EXPECT_EQ(x.index.symbolCount(), symbols);
    EXPECT_EQ(x.index.query(QStringLiteral("HTMLDocument")).total, documents);
    x.replace(QStringLiteral("mshtml.tlb"), 3000);
    const IndexUpdate broken = x.update();
    EXPECT_EQ(broken.read, 0);
    EXPECT_EQ(broken.failed, x.recordsOf(QStringLiteral("mshtml.tlb")));
    bool listed = false;
    for (const UnreadLibrary& u : x.index.unread())
        if (u.record.contains("mshtml.tlb", Qt::CaseInsensitive))
            listed = !u.reason.isEmpty();
    EXPECT_TRUE(listed);
    EXPECT_FALSE(has(x.index.query(QStringLiteral("IHTMLDocument2")), [](const SymbolHit& h) {
        return h.path.endsWith("mshtml.tlb", Qt::CaseInsensitive);
    }));
    EXPECT_FALSE(x.index.query(QStringLiteral("TristateTrue"), match::Exact).hits.isEmpty());
}

// Searches made while the index fills answer from the libraries done so far; the builder's
// thread fills it to the end.
TEST(SymbolIndex, AnswersWhileTheBuildRuns) {
    Indexed& x = shared();
    ASSERT_TRUE(x.machine.built());
    const auto hostPath = [&](const QString& w) { return x.machine.paths().toHost(w); };
    const QString path = x.machine.programFolder() + QStringLiteral("/index/fresh.sqlite");
    SymbolIndex writer, reader;
    writer.open(path);
    reader.open(path);
    qint64 midway = -1;
    writer.update(x.records, hostPath, [&](int done, int total) {
        if (done == total / 2)
            midway = reader.query(QStringLiteral("a"), match::Substring).total;
    });
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, reader.query(QStringLiteral("a"), match::Substring).total);

    const QString threaded = x.machine.programFolder() + QStringLiteral("/index/thread.sqlite");
    std::optional<IndexUpdate> finished;
    IndexBuilder builder(threaded, hostPath, QCoreApplication::instance(),
                         {{}, [&](const IndexUpdate& u) { finished = u; }, {}});
    builder.start(x.records);
    QElapsedTimer bound;
    bound.start();
    while (!finished && bound.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->read + finished->failed, finished->libraries);
    x.update();
    reader.open(threaded);
    EXPECT_EQ(reader.symbolCount(), x.index.symbolCount());
}

// A file that is not a sound index of ours is put aside and a new index made.
TEST(SymbolIndex, PutsADamagedOrForeignFileAside) {
    const QDir dir(shared().machine.programFolder());
    const QString foreign = dir.filePath(QStringLiteral("foreign.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "foreign");
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE symbols(x)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    const QString garbage = dir.filePath(QStringLiteral("garbage.sqlite"));
    ASSERT_TRUE(test::writeFile(garbage, QByteArray(5000, 'x')));
    const auto storeOne = [](SymbolIndex& index) {
        index.store(QStringLiteral("{00000000-0000-0000-0000-000000000001}, 1.0, \"x\", x.tlb, X"),
                    "X", 1, 0, {{SymbolKind::Type, "Thing", "Thing", {}, {}, 0, 0, false}});
    };
    for (const QString& path : {foreign, garbage}) {
        const QByteArray before = test::readFile(path);
        SymbolIndex index;
        index.open(path);
        EXPECT_EQ(index.putAside(), path + ".damaged");
        EXPECT_EQ(test::readFile(index.putAside()), before);
        storeOne(index);
        EXPECT_EQ(index.query(QStringLiteral("thing")).total, 1);
    }
    // Damage past the first pages (the header and the version) shows when the index is read.
    const QString hurt = dir.filePath(QStringLiteral("hurt.sqlite"));
    {
        SymbolIndex index;
        index.open(hurt);
        storeOne(index);
    }
    QFile::remove(hurt + "-wal");
    const QByteArray sound = test::readFile(hurt);
    ASSERT_GT(sound.size(), 4 * 4096);
    ASSERT_TRUE(
        test::writeFile(hurt, sound.left(3 * 4096) + QByteArray(sound.size() - 3 * 4096, 'x')));
    SymbolIndex index;
    index.open(hurt);
    EXPECT_TRUE(index.putAside().isEmpty());
    EXPECT_THROW(index.query(QStringLiteral("thing")), Error);
    ASSERT_TRUE(index.damaged());
    index.rebuild();
    EXPECT_EQ(index.putAside(), hurt + ".damaged");
    EXPECT_EQ(index.symbolCount(), 0);
}
