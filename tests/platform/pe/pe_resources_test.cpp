#include "pe_builder.h"
#include "pe_test_support.h"
#include "platform/pe/pe_resources.h"
#include "text/error.h"

#include <QDir>
#include <QMap>
#include <QtEndian>
#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

using testing::buildPe;
using testing::FixtureResource;

const QString kTypelib = QStringLiteral("TYPELIB");

// file name -> TYPELIB ids, as the oracle's index lists them.
QMap<QString, QList<quint16>> indexedTypelibs() {
    QMap<QString, QList<quint16>> index;
    QFile f(QStringLiteral(VANTOR_SHARED_DIR "/oracle/INDEX.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return index;
    f.readLine(); // header
    while (!f.atEnd()) {
        const QList<QByteArray> cols = f.readLine().trimmed().split('\t');
        if (cols.size() > 2)
            index[QString::fromUtf8(cols[0])].append(cols[1].toUShort());
    }
    for (auto& ids : index)
        std::sort(ids.begin(), ids.end());
    return index;
}

TEST(PeResources, ReadsEveryWineBinaryAndFindsTheIndexedTypelibs) {
    const auto index = indexedTypelibs();
    ASSERT_FALSE(index.isEmpty());
    const QStringList files = testing::wineBinaries();
    ASSERT_GT(files.size(), 100);
    // Anything else in the folder is no PE file: a clean error, not a crash.
    for (const QString& name : QDir(testing::kWineDir).entryList(QDir::Files)) {
        if (files.contains(name))
            continue;
        EXPECT_FALSE(testing::readEverything(testing::readWineFile(name)).isEmpty())
            << name.toStdString();
    }
    QMap<QString, QList<quint16>> found;
    for (const QString& name : files) {
        const QByteArray bytes = testing::readWineFile(name);
        const QString error = testing::readEverything(bytes);
        // Every file here is a PE file the Windows loader accepts.
        EXPECT_TRUE(error.isEmpty()) << name.toStdString() << ": " << error.toStdString();
        if (!error.isEmpty())
            continue;
        PeResources pe(bytes, name);
        const QList<quint16> ids = pe.typelibIds();
        if (ids.isEmpty())
            continue;
        found[name] = ids;
        for (quint16 id : ids) {
            const auto data = pe.typelib(id);
            ASSERT_TRUE(data.has_value()) << name.toStdString() << " " << id;
            EXPECT_TRUE(data->startsWith("MSFT")) << name.toStdString() << " " << id;
        }
    }
    EXPECT_EQ(found, index);
}

// Wine's one 32-bit PE file.
TEST(PeResources, ReadsThePe32Zlib) {
    // Beside Wine's 64-bit binaries, or where its mingw package installs it.
    QByteArray bytes = testing::readFile(testing::kWine32Dir + QStringLiteral("/zlib1.dll"));
    if (bytes.isEmpty())
        bytes = testing::readFile(QStringLiteral("/usr/i686-w64-mingw32/lib/zlib1.dll"));
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(testing::readEverything(bytes).isEmpty());
    PeResources pe(bytes);
    EXPECT_FALSE(pe.isPe32Plus());
    EXPECT_TRUE(pe.find(RtVersion, quint16(1)).has_value());
}

TEST(PeResources, FindsResourcesByNamedAndNumericTypeInBothFormats) {
    for (bool plus : {false, true}) {
        const auto built = buildPe({{QStringLiteral("TYPELIB"), quint16(3), 0, "MSFTthree"},
                                    {QStringLiteral("TYPELIB"), quint16(1), 0, "MSFTone"},
                                    {QStringLiteral("TYPELIB"), QStringLiteral("NAMED"), 0, "x"},
                                    {quint16(RtVersion), quint16(1), 0x0409, "english"},
                                    {quint16(RtVersion), quint16(1), 0x0407, "german"}},
                                   plus);
        PeResources pe(built.bytes);
        EXPECT_EQ(pe.isPe32Plus(), plus);
        EXPECT_EQ(pe.typelibIds(), (QList<quint16>{1, 3}));
        EXPECT_EQ(pe.typelib(3), QByteArrayView("MSFTthree"));
        EXPECT_EQ(pe.typelib(1), QByteArrayView("MSFTone"));
        EXPECT_FALSE(pe.typelib(2).has_value());
        EXPECT_EQ(pe.find(QStringLiteral("typelib"), QStringLiteral("named")), QByteArrayView("x"));
        EXPECT_EQ(pe.find(RtVersion, quint16(1)), QByteArrayView("english"));
        EXPECT_FALSE(pe.find(RtIcon, quint16(1)).has_value());
        EXPECT_EQ(pe.entries().size(), 5);
    }
}

TEST(PeResources, FileWithoutResourceDirectoryHasNoResources) {
    auto built = buildPe({{kTypelib, quint16(1), 0, "MSFT"}});
    qToLittleEndian<quint32>(0, built.bytes.data() + built.optionalHeader + 112 + 16);
    PeResources pe(built.bytes);
    EXPECT_FALSE(pe.hasResources());
    EXPECT_TRUE(pe.typelibIds().isEmpty());
    EXPECT_TRUE(pe.entries().isEmpty());
}

// Each corruption of the headers must be rejected when the reader is constructed, with a
// description naming the file and the fault.
TEST(PeResources, RejectsBrokenHeaders) {
    const auto built = buildPe({{kTypelib, quint16(1), 0, "MSFT"}});
    const quint32 oh = built.optionalHeader;
    const QList<std::pair<const char*, std::function<void(QByteArray&)>>> cases = {
        {"no MZ", [](QByteArray& b) { b[0] = 'X'; }},
        {"short", [](QByteArray& b) { b.truncate(0x20); }},
        {"lfanew past end",
         [](QByteArray& b) { qToLittleEndian<quint32>(0xFFFFFFF0u, b.data() + 0x3C); }},
        {"no PE signature", [](QByteArray& b) { b[0x41] = 'X'; }},
        {"bad magic", [oh](QByteArray& b) { qToLittleEndian<quint16>(0x0107, b.data() + oh); }},
        {"optional header past end",
         [oh](QByteArray& b) { qToLittleEndian<quint16>(0xFFFF, b.data() + oh - 4); }},
        {"sections past end",
         [oh](QByteArray& b) { qToLittleEndian<quint16>(0xFFFF, b.data() + oh - 18); }},
        {"resource rva in no section",
         [oh](QByteArray& b) { qToLittleEndian<quint32>(0x90000, b.data() + oh + 112 + 16); }},
        {"truncated after headers", [](QByteArray& b) { b.truncate(0x200); }},
    };
    for (const auto& [what, corrupt] : cases) {
        QByteArray bytes = built.bytes;
        corrupt(bytes);
        try {
            PeResources pe(bytes, QStringLiteral("broken.dll"));
            ADD_FAILURE() << what << ": accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), Error::InvalidCall) << what;
            EXPECT_TRUE(e.description().startsWith(u"broken.dll: Invalid PE file: "))
                << what << ": " << e.description().toStdString();
        }
    }
}

quint32 u32At(const QByteArray& b, quint32 at) {
    return qFromLittleEndian<quint32>(b.data() + at);
}

// Corruptions inside the tree leave the file readable but fail the lookups that reach them.
TEST(PeResources, DetectsLoopsAndOutOfRangeOffsetsInTheTree) {
    const auto built =
        buildPe({{kTypelib, quint16(1), 0, "MSFT"}, {quint16(RtIcon), quint16(1), 0, "icon"}});
    const quint32 dir = built.resourceDirectory;
    // Root: 1 named (TYPELIB) + 1 id entry. Follow TYPELIB to its name and language levels.
    const quint32 typeDir = u32At(built.bytes, dir + 16 + 4) & 0x7FFFFFFF;
    const quint32 nameEntry = dir + typeDir + 16;
    const quint32 langDir = u32At(built.bytes, nameEntry + 4) & 0x7FFFFFFF;
    const quint32 langEntry = dir + langDir + 16;
    const quint32 dataEntry = dir + u32At(built.bytes, langEntry + 4);

    const QList<std::tuple<const char*, quint32, quint32, const char*>> cases = {
        {"name level back to root", nameEntry + 4, 0x80000000u, "loops"},
        {"name level to itself", nameEntry + 4, 0x80000000u | typeDir, "loops"},
        {"language level to itself", langEntry + 4, 0x80000000u | langDir, "nested deeper"},
        {"subdirectory past the section", nameEntry + 4, 0x80100000u, "past the end"},
        {"data entry past the section", langEntry + 4, 0x00100000u, "past the end"},
        {"data rva outside every section", dataEntry, 0x50000, "outside the file"},
        {"data size past the raw data", dataEntry + 4, 0x10000, "outside the file"},
        {"data size overflowing", dataEntry + 4, 0xFFFFFFFFu, "outside the file"},
        {"entry count past the section", dir + typeDir + 12, 0xFFFFFFFFu, "past the end"},
        {"name past the section", dir + 16, 0x80100000u, "past the end"},
    };
    for (const auto& [what, at, value, expected] : cases) {
        QByteArray bytes = built.bytes;
        qToLittleEndian<quint32>(value, bytes.data() + at);
        try {
            PeResources pe(bytes);
            pe.typelibIds();
            pe.typelib(1);
            ADD_FAILURE() << what << ": accepted";
        } catch (const Error& e) {
            EXPECT_TRUE(e.description().contains(QLatin1String(expected)))
                << what << ": " << e.description().toStdString();
        }
    }
    // A fault in the TYPELIB branch does not hide the rest of the tree.
    QByteArray bytes = built.bytes;
    qToLittleEndian<quint32>(0x50000, bytes.data() + dataEntry);
    PeResources pe(bytes);
    EXPECT_EQ(pe.find(RtIcon, quint16(1)), QByteArrayView("icon"));
}

// Directories shared between branches, and names overlapping each other, could make a full
// walk do far more work than the file's size; both are refused.
TEST(PeResources, RefusesSharedDirectoriesAndOverlappingNames) {
    const auto built = buildPe(
        {{quint16(RtIcon), quint16(1), 0, "one"}, {quint16(RtVersion), quint16(1), 0, "two"}});
    const quint32 dir = built.resourceDirectory;
    QByteArray shared = built.bytes;
    // Both id entries of the root point at the first type's name directory.
    qToLittleEndian<quint32>(u32At(shared, dir + 16 + 4), shared.data() + dir + 24 + 4);
    PeResources pe(shared);
    EXPECT_EQ(pe.find(RtVersion, quint16(1)), QByteArrayView("one"));
    try {
        pe.entries();
        ADD_FAILURE() << "shared directory accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().contains(u"loops")) << e.description().toStdString();
    }

    const QString longName(300, u'N');
    const auto named = buildPe({{QStringLiteral("A"), quint16(1), 0, "a"},
                                {QStringLiteral("B"), quint16(1), 0, "b"},
                                {QStringLiteral("C"), quint16(1), 0, "c"},
                                {QStringLiteral("D"), quint16(1), 0, "d"},
                                {longName, quint16(1), 0, "long"}});
    QByteArray overlapping = named.bytes;
    const quint32 longEntry = named.resourceDirectory + 16 + 4 * 8;
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<quint32>(u32At(overlapping, longEntry),
                                 overlapping.data() + named.resourceDirectory + 16 + 8 * i);
    EXPECT_EQ(PeResources(named.bytes).types().size(), 5);
    EXPECT_EQ(PeResources(overlapping).find(longName, quint16(1)), QByteArrayView("a"));
    try {
        PeResources(overlapping).types();
        ADD_FAILURE() << "overlapping names accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().contains(u"overlap")) << e.description().toStdString();
    }
}

TEST(PeResources, EveryTruncationReadsOrFailsCleanly) {
    const auto built = buildPe(
        {{kTypelib, quint16(1), 0, "MSFT library"}, {kTypelib, quint16(2), 0x0409, "MSFT second"}});
    const qsizetype dataEnd = built.bytes.indexOf("MSFT second") + 11;
    for (qsizetype length = 0; length <= built.bytes.size(); ++length) {
        const QString error = testing::readEverything(built.bytes.first(length));
        // Padding past the last resource's bytes may go; nothing before it may.
        EXPECT_EQ(error.isEmpty(), length >= dataEnd) << length << " " << error.toStdString();
    }
}

} // namespace
} // namespace vantor::pe
