#include "robustness.h"
#include "tli_test_support.h"

#include <gtest/gtest.h>

using namespace vantor::tli;
using namespace vantor::tli::testing;

// A sample of the damage the fuzz script's full run (robust-tli, under the sanitizers) deals
// to every library: truncations and corruptions give a model or a clear error.
TEST(Robustness, DamagedLibrariesGiveAModelOrAClearError) {
    const QList<IndexRow> rows = readIndex();
    ASSERT_FALSE(rows.isEmpty());
    ShakeOptions options;
    options.truncations = 16;
    options.corruptions = 150;
    int models = 0, errors = 0;
    for (const IndexRow& row : rows) {
        // Every fourth library of the index.
        if (rows.indexOf(row) % 4)
            continue;
        SCOPED_TRACE(row.file.toStdString());
        const ShakeReport r = shakeLibrary(row.path(), options, &indexLibraries());
        EXPECT_GT(r.attempts, options.truncations);
        EXPECT_TRUE(r.unclearErrors.isEmpty()) << r.unclearErrors.first().toStdString();
        models += r.models;
        errors += r.errors;
    }
    // And the two libraries in the older SLTG format.
    for (const char* file : {"olepro32.dll", "XL5EN32.OLB"}) {
        const ShakeReport r =
            shakeLibrary(QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/") + file, options,
                         &indexLibraries());
        EXPECT_TRUE(r.unclearErrors.isEmpty()) << r.unclearErrors.first().toStdString();
        EXPECT_GT(r.models, 0) << file;
        EXPECT_GT(r.errors, 0) << file;
    }
    // Both outcomes occur: damage in padding or unused fields still reads.
    EXPECT_GT(models, 0);
    EXPECT_GT(errors, 0);
}
