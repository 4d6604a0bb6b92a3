#include "pe_test_support.h"

#include <QMap>
#include <gtest/gtest.h>
#include <random>

namespace vantor::pe {
namespace {

// Damaged copies of real files: every reader either reads or fails with a vantor::Error that
// names the file; nothing crashes, hangs or escapes. VANTOR_PE_CORRUPTIONS sets how many
// single-byte corruptions each file gets (the sanitizer run uses 2,000).
int corruptionsPerFile() {
    const int n = qEnvironmentVariableIntValue("VANTOR_PE_CORRUPTIONS");
    return n > 0 ? n : 150;
}

QStringList sampleFiles() {
    QStringList files;
    QFile index(QStringLiteral(VANTOR_SHARED_DIR "/oracle/INDEX.tsv"));
    if (index.open(QIODevice::ReadOnly)) {
        index.readLine();
        while (!index.atEnd()) {
            const QString file = QString::fromUtf8(index.readLine().split('\t').first());
            if (!files.contains(file))
                files.append(file);
        }
    }
    // Icons and version resources too.
    files << QStringLiteral("winemine.exe") << QStringLiteral("notepad.exe");
    // And a PE32 file.
    files << testing::kWine32Dir + QStringLiteral("/zlib1.dll");
    return files;
}

QByteArray load(const QString& name) {
    return name.startsWith(u'/') ? testing::readFile(name) : testing::readWineFile(name);
}

struct Region {
    qsizetype from, to;
};

// The bytes a resource reader reads: the headers, the resource tree, the resources' own bytes.
QList<Region> readRegions(const QByteArray& bytes) {
    QList<Region> regions{{0, std::min<qsizetype>(bytes.size(), 1024)}};
    PeResources pe(bytes);
    const qsizetype tree = pe.resourceDirectoryOffset();
    qsizetype firstData = bytes.size();
    for (const ResourceEntry& e : pe.entries()) {
        const qsizetype at = e.data.data() - bytes.data();
        firstData = std::min(firstData, at);
        const bool wanted = e.type.matches(QStringLiteral("TYPELIB")) ||
                            e.type.matches(RtVersion) || e.type.matches(RtGroupIcon);
        if (wanted && !e.data.isEmpty())
            regions.append({at, at + std::min<qsizetype>(e.data.size(), 4096)});
    }
    if (tree >= 0 && firstData > tree)
        regions.append({tree, firstData});
    return regions;
}

void expectCleanOutcome(QByteArrayView bytes, const QString& what) {
    const QString error = testing::readEverything(bytes);
    if (!error.isEmpty()) {
        EXPECT_TRUE(error.startsWith(u"sample: "))
            << what.toStdString() << ": " << error.toStdString();
    }
}

TEST(PeCorruption, TruncatedRealFilesReadOrFailCleanly) {
    for (const QString& name : sampleFiles()) {
        const QByteArray bytes = load(name);
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        ASSERT_TRUE(testing::readEverything(bytes).isEmpty()) << name.toStdString();
        for (int step = 0; step < 64; ++step) {
            const qsizetype length = bytes.size() * step / 64;
            expectCleanOutcome(QByteArrayView(bytes).first(length),
                               name + QStringLiteral(" cut at %1").arg(length));
        }
    }
}

TEST(PeCorruption, CorruptedHeadersAndTreesReadOrFailCleanly) {
    std::mt19937 random(20261206);
    const int perFile = corruptionsPerFile();
    int failures = 0, total = 0;
    for (const QString& name : sampleFiles()) {
        QByteArray bytes = load(name);
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        const QList<Region> regions = readRegions(bytes);
        for (int n = 0; n < perFile; ++n) {
            const Region r = regions[random() % regions.size()];
            const qsizetype at = r.from + qsizetype(random() % quint64(r.to - r.from));
            const char original = bytes[at];
            bytes[at] = char(original ^ char(1 + random() % 255));
            const QString error = testing::readEverything(bytes);
            if (!error.isEmpty()) {
                ++failures;
                EXPECT_TRUE(error.startsWith(u"sample: "))
                    << name.toStdString() << " at " << at << ": " << error.toStdString();
            }
            ++total;
            bytes[at] = original;
        }
    }
    // The corruptions must reach the checks, not only bytes nobody reads.
    EXPECT_GT(failures, total / 50);
    std::printf("%d of %d corruptions rejected\n", failures, total);
}

} // namespace
} // namespace vantor::pe
