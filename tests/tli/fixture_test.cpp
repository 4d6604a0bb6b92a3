#include "text/error.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

// Libraries built with widl for what Wine's own binaries lack (a 32-bit library, modules,
// unions, help contexts, defaults of every kind), each beside the dump the type services made
// of it (data/make_fixtures.sh).
TEST(Fixtures, DumpLikeTheTypeServices) {
    const QString data = QStringLiteral(VANTOR_TLI_TEST_DATA);
    for (const char* name : {"sample32", "sample64", "values"}) {
        SCOPED_TRACE(name);
        const QString base = data + u'/' + QLatin1String(name);
        const QByteArray oracle = readFile(base + QStringLiteral(".txt"));
        ASSERT_FALSE(oracle.isEmpty());
        QByteArray ours;
        try {
            ours = dumpTypeLib(*loadTypeLib(base + QStringLiteral(".tlb"), &indexLibraries()));
        } catch (const Error& e) {
            FAIL() << e.what();
        }
        EXPECT_EQ(ours.toStdString(), oracle.toStdString());
    }
}

// Module functions carry their DLL entries, which the dump does not show.
TEST(Fixtures, ModuleEntries) {
    const auto lib =
        loadTypeLib(QStringLiteral(VANTOR_TLI_TEST_DATA "/sample64.tlb"), &indexLibraries());
    const TypeInfo* module = nullptr;
    for (const TypeInfo& info : lib->typeInfos())
        if (info.kind == TypeKind::Module)
            module = &info;
    ASSERT_TRUE(module);
    EXPECT_EQ(module->dllName, QStringLiteral("sample.dll")); // dllname("sample.dll")
    const auto funcs = lib->funcs(*module);
    ASSERT_EQ(funcs.size(), 2u);
    EXPECT_EQ(funcs[1].name, QStringLiteral("ByOrdinal"));
    EXPECT_EQ(funcs[1].entryOrdinal, 12); // entry(12)
    EXPECT_EQ(funcs[0].entryOrdinal, -1); // entry("SampleBeep"), a name
}
