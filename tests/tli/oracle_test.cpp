#include "text/error.h"
#include "tli/session.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QCryptographicHash>
#include <cstdio>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

// Our reading of every type library in Wine's binaries against the dump the type services
// themselves made of the same file; references into other libraries resolve through the
// registry of a fresh Wine prefix, as they did for the type services.
TEST(Oracle, EveryLibraryDumpsLikeTheTypeServices) {
    PrefixMachine machine;
    ASSERT_TRUE(machine.valid());
    const QList<IndexRow> rows = readIndex();
    ASSERT_FALSE(rows.isEmpty()) << "no oracle index under " << kOracleDir.toStdString();
    int equal = 0;
    for (const IndexRow& row : rows) {
        SCOPED_TRACE(row.dump.toStdString());
        const QByteArray file = readFile(kWineDir + u'/' + row.file);
        const QByteArray sha = QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex();
        if (sha != row.sha256) {
            ADD_FAILURE() << row.file.toStdString() << " is not the file the oracle read (sha256 "
                          << sha.toStdString() << "); install libwine 8.0~repack-4";
            continue;
        }
        const QByteArray oracle = readFile(kOracleDir + QStringLiteral("/dumps/") + row.dump);
        ASSERT_FALSE(oracle.isEmpty());
        QByteArray ours;
        try {
            ours = dumpTypeLib(*loadTypeLib(row.path(), machine.app().session().get()));
        } catch (const Error& e) {
            ours = dumpLoadError(e.number());
        }
        if (ours == oracle)
            ++equal;
        else
            ADD_FAILURE() << firstDifference(ours, oracle);
    }
    std::printf("%d of %d libraries equal\n", equal, int(rows.size()));
    EXPECT_EQ(equal, rows.size());
}

// Libraries built with widl for what Wine's own binaries lack (32-bit libraries, modules,
// unions, help contexts, defaults of every kind, aliases of every size), each beside the dump the
// type services made of it (data/make_fixtures.sh).
TEST(Oracle, FixturesDumpLikeTheTypeServices) {
    for (const char* name : {"sample32", "sample64", "values", "aliases32"}) {
        SCOPED_TRACE(name);
        const QString base = QStringLiteral(VANTOR_TLI_TEST_DATA "/") + QLatin1String(name);
        const QByteArray oracle = readFile(base + QStringLiteral(".txt"));
        ASSERT_FALSE(oracle.isEmpty());
        try {
            const QByteArray ours =
                dumpTypeLib(*loadTypeLib(base + QStringLiteral(".tlb"), &indexLibraries()));
            EXPECT_TRUE(ours == oracle) << firstDifference(ours, oracle);
        } catch (const Error& e) {
            ADD_FAILURE() << e.what();
        }
    }
}
