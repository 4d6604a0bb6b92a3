#include "robustness.h"
#include "text/error.h"
#include "tli/session.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_machine.h"
#include "wine_library.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

// The index names every TYPELIB resource of Wine's binaries the oracle dumped.
TEST(Oracle, IndexListsEveryLibrary) {
    EXPECT_EQ(readIndex().size(), 51) << "no oracle index under " << kOracleDir.toStdString();
}

// Our reading of the library against the dump the type services themselves made of the same
// file; references into other libraries resolve through the registry of a fresh Wine prefix, as
// they did for the type services. Damaged copies (a sample of robust-tli's run) give a model or
// an error that names the file and the fault.
TEST_P(WineLibrary, ReadsLikeTheTypeServicesAndSurvivesDamage) {
    const IndexRow& row = GetParam();
    const QByteArray file = readFile(kWineDir + u'/' + row.file);
    ASSERT_EQ(QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex(), row.sha256)
        << row.file.toStdString()
        << " is not the file the oracle read; install libwine 8.0~repack-4";
    const QByteArray oracle = readFile(kOracleDir + QStringLiteral("/dumps/") + row.dump);
    ASSERT_FALSE(oracle.isEmpty());
    PrefixMachine machine;
    ASSERT_TRUE(machine.valid());
    QByteArray ours;
    try {
        ours = dumpTypeLib(*loadTypeLib(row.path(), machine.app().session().get()));
    } catch (const Error& e) {
        ours = dumpLoadError(e.number());
    }
    EXPECT_TRUE(ours == oracle) << firstDifference(ours, oracle);

    const ShakeReport r = shakeLibrary(row.path(), {4, 40, 1}, &indexLibraries());
    EXPECT_GT(r.errors, 0);
    EXPECT_TRUE(r.unclearErrors.isEmpty()) << r.unclearErrors.value(0).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Oracle, WineLibrary, ::testing::ValuesIn(readIndex()),
                         [](const ::testing::TestParamInfo<IndexRow>& info) {
                             QString name = info.param.dump;
                             name.chop(4); // ".txt"
                             return name
                                 .replace(QRegularExpression(QStringLiteral("\\W")),
                                          QStringLiteral("_"))
                                 .toStdString();
                         });

// Libraries built with widl for what Wine's own binaries lack (32-bit libraries, modules,
// unions, help contexts, defaults of every kind, aliases of every size), each beside the dump the
// type services made of it (data/make_fixtures.sh).
TEST(Oracle, FixturesDumpLikeTheTypeServices) {
    for (const char* name : {"sample32", "sample64", "values", "aliases32"}) {
        SCOPED_TRACE(name);
        const QString base = QStringLiteral(VANTOR_TLI_TEST_DATA "/") + QLatin1String(name);
        const QByteArray oracle = readFile(base + QStringLiteral(".txt"));
        ASSERT_FALSE(oracle.isEmpty());
        const QByteArray ours =
            dumpTypeLib(*loadTypeLib(base + QStringLiteral(".tlb"), &indexLibraries()));
        EXPECT_TRUE(ours == oracle) << firstDifference(ours, oracle);
    }
}
