#include "pe_damage.h"
#include "pe_test_support.h"

#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

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
