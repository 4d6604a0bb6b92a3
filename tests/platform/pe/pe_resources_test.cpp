#include "pe_damage.h"
#include "pe_test_support.h"
#include "platform/pe/pe_layout.h"
#include "platform/pe/pe_resources.h"
#include "text/error.h"

#include <QDir>
#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

// Byte by byte: a 4-byte read through data() makes gcc's bounds check, under the sanitizers,
// warn about the 1-byte buffer of an empty array.
quint32 u32At(const QByteArray& b, qsizetype at) {
    quint32 v = 0;
    for (qsizetype i = 3; i >= 0; --i)
        v = v << 8 | uchar(b.at(at + i));
    return v;
}

// The error reading every resource gives once `value` is written at `at`; empty when none.
QString errorAfter(const QByteArray& file, qsizetype at, quint32 value) {
    QByteArray bytes = file;
    qToLittleEndian<quint32>(value, bytes.data() + at);
    return test::errorText([&] { PeResources(bytes, QStringLiteral("broken.dll")).entries(); });
}

TEST(PeResources, ReadsEveryWineBinaryAndFindsTheIndexedTypelibs) {
    const auto index = testing::indexedTypelibs();
    ASSERT_FALSE(index.isEmpty());
    const QStringList files = testing::wineBinaries();
    ASSERT_GT(files.size(), 100);
    // Anything else in the folder is no PE file: a clean error, not a crash.
    for (const QString& name : QDir(testing::kWineDir).entryList(QDir::Files)) {
        if (!files.contains(name)) {
            EXPECT_FALSE(testing::readEverything(testing::readWineFile(name)).isEmpty());
        }
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
        EXPECT_TRUE(pe.isPe32Plus());
        const QList<quint16> ids = pe.typelibIds();
        if (ids.isEmpty())
            continue;
        found[name] = ids;
        for (quint16 id : ids) {
            const auto data = pe.typelib(id);
            ASSERT_TRUE(data.has_value()) << name.toStdString() << " " << id;
            EXPECT_TRUE(data->startsWith("MSFT")) << name.toStdString() << " " << id;
            // Named types match whatever their case.
            EXPECT_EQ(pe.find(QStringLiteral("typelib"), id), data);
        }
        EXPECT_FALSE(pe.typelib(ids.last() + 1).has_value());
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

// Each corruption of the headers must be rejected when the reader is constructed, with a
// description naming the file and the fault.
TEST(PeResources, RejectsBrokenHeaders) {
    const QByteArray file = testing::readWineFile(QStringLiteral("vbscript.dll"));
    ASSERT_FALSE(file.isEmpty());
    using namespace layout;
    const quint32 nt = u32At(file, mz::NtOffset), oh = nt + coff::At + coff::Size;
    const quint32 resourceRva =
        oh + optional::directories(true) + optional::ResourceDirectory * optional::DirectorySize;
    const QList<std::pair<const char*, std::function<void(QByteArray&)>>> cases = {
        {"no MZ", [](QByteArray& b) { b[0] = 'X'; }},
        {"short", [](QByteArray& b) { b.truncate(0x20); }},
        {"lfanew past end",
         [](QByteArray& b) { qToLittleEndian<quint32>(0xFFFFFFF0u, b.data() + mz::NtOffset); }},
        {"no PE signature", [nt](QByteArray& b) { b[nt + 1] = 'X'; }},
        {"bad magic", [oh](QByteArray& b) { qToLittleEndian<quint16>(0x0107, b.data() + oh); }},
        {"optional header past end", [oh](QByteArray& b) { b.truncate(oh + 100); }},
        {"sections past end",
         [nt](QByteArray& b) {
             qToLittleEndian<quint16>(0xFFFF, b.data() + nt + coff::At + coff::SectionCount);
         }},
        {"resource rva in no section",
         [=](QByteArray& b) { qToLittleEndian<quint32>(0xF0000000u, b.data() + resourceRva); }},
        {"truncated after headers", [](QByteArray& b) { b.truncate(0x1000); }},
    };
    for (const auto& [what, corrupt] : cases) {
        QByteArray bytes = file;
        corrupt(bytes);
        const QString error =
            test::errorText([&] { PeResources(bytes, QStringLiteral("broken.dll")); });
        EXPECT_TRUE(error.startsWith(u"broken.dll: Invalid PE file: "))
            << what << ": " << error.toStdString();
    }
    // No resource directory at all is no fault.
    QByteArray bare = file;
    qToLittleEndian<quint32>(0, bare.data() + resourceRva);
    EXPECT_FALSE(PeResources(bare).hasResources());
    EXPECT_TRUE(PeResources(bare).entries().isEmpty());
}

// Corruptions inside vbscript.dll's tree (TYPELIB, WINE_REGISTRY, strings, version) fail the
// walks that reach them; the rest of the tree stays readable.
TEST(PeResources, DetectsLoopsSharingOverlapsAndOutOfRangeOffsetsInTheTree) {
    const QByteArray file = testing::readWineFile(QStringLiteral("vbscript.dll"));
    const PeResources intact(file);
    ASSERT_EQ(intact.types().size(), 4);
    const quint32 dir = quint32(intact.resourceDirectoryOffset());
    // Follow the first type (TYPELIB) to its first name and language.
    const quint32 typeDir = u32At(file, dir + 16 + 4) & 0x7FFFFFFF;
    const quint32 nameEntry = dir + typeDir + 16;
    const quint32 langDir = u32At(file, nameEntry + 4) & 0x7FFFFFFF;
    const quint32 langEntry = dir + langDir + 16;
    const quint32 dataEntry = dir + u32At(file, langEntry + 4);

    const QList<std::tuple<const char*, quint32, quint32, const char*>> cases = {
        {"name level back to root", nameEntry + 4, 0x80000000u, "loops"},
        {"name level to itself", nameEntry + 4, 0x80000000u | typeDir, "loops"},
        {"version type shares the TYPELIB branch", dir + 16 + 3 * 8 + 4, u32At(file, dir + 20),
         "loops"},
        {"language level to itself", langEntry + 4, 0x80000000u | langDir, "nested deeper"},
        {"subdirectory past the section", nameEntry + 4, 0x80100000u, "past the end"},
        {"data entry past the section", langEntry + 4, 0x00100000u, "past the end"},
        {"data rva outside every section", dataEntry, 0xF0000000u, "outside the file"},
        {"data size past the raw data", dataEntry + 4, 0x01000000u, "outside the file"},
        {"data size overflowing", dataEntry + 4, 0xFFFFFFFFu, "outside the file"},
        {"entry count past the section", dir + typeDir + 12, 0xFFFFFFFFu, "past the end"},
        {"name past the section", dir + 16, 0x80100000u, "past the end"},
    };
    for (const auto& [what, at, value, expected] : cases) {
        const QString error = errorAfter(file, at, value);
        EXPECT_TRUE(error.startsWith(u"broken.dll: ") && error.contains(QLatin1String(expected)))
            << what << ": " << error.toStdString();
    }
    // A fault in the TYPELIB branch does not hide the rest of the tree.
    QByteArray bytes = file;
    qToLittleEndian<quint32>(0xF0000000u, bytes.data() + dataEntry);
    EXPECT_EQ(PeResources(bytes).find(RtVersion, quint16(1)), intact.find(RtVersion, quint16(1)));

    // Names overlapping each other could make a walk read far more than the tree holds: here
    // all four types name one string of 16K units at the tree's start, each a third of the tree.
    QByteArray overlapping = file;
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<quint32>(0x80000000u, overlapping.data() + dir + 16 + 8 * i);
    EXPECT_TRUE(errorAfter(overlapping, dir, 0x4000).contains(u"overlap"));
}

// Damaged real files: every reader either reads or fails with a vantor::Error that names the
// file; nothing crashes, hangs or escapes. The full run (2,000 corruptions a file) is robust-pe
// under the sanitizers in fuzz/run.sh; this is a sample.
TEST(PeCorruption, TruncatedAndCorruptedRealFilesReadOrFailCleanly) {
    const QStringList files = testing::damageSample();
    ASSERT_GT(files.size(), 10);
    int reads = 0, errors = 0;
    for (const QString& path : files) {
        const auto report = testing::damageFile(path, 64, 150, quint32(qHash(path)));
        EXPECT_TRUE(report.unclearErrors.isEmpty()) << report.unclearErrors.first().toStdString();
        reads += report.reads;
        errors += report.errors;
    }
    // The damage must reach the checks, not only bytes nobody reads.
    EXPECT_GT(errors, reads / 20);
}

// Bytes past the last resource may go; a file cut one byte short of it must not read.
TEST(PeCorruption, AFileCutInsideItsResourcesFails) {
    for (const QString& path : testing::damageSample()) {
        const QByteArray bytes = testing::readFile(path);
        qsizetype end = 0;
        for (const ResourceEntry& e : PeResources(bytes).entries())
            end = std::max(end, qsizetype(e.data.data() - bytes.data() + e.data.size()));
        EXPECT_TRUE(testing::readEverything(bytes.first(end)).isEmpty()) << path.toStdString();
        EXPECT_FALSE(testing::readEverything(bytes.first(end - 1)).isEmpty()) << path.toStdString();
    }
}

} // namespace
} // namespace vantor::pe
