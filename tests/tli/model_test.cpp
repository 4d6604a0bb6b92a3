#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

// What the model holds beyond the dump: the dump shows neither module entries nor the functions
// whose defaults the type services refuse to copy.

// Module functions carry their DLL entries (the sample fixture's module).
TEST(Model, ModuleEntries) {
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

// msado15.dll's functions with such defaults stay browsable with all their parameters; the bad
// value is marked as such.
TEST(Model, FunctionsWithBadDefaultsKeepTheirParameters) {
    const auto lib = loadTypeLib(kWineDir + QStringLiteral("/msado15.dll"), &indexLibraries());
    int bad = 0;
    for (const TypeInfo& info : lib->typeInfos())
        for (const TypeInfo* view : {&info, lib->interfaceView(info)})
            for (const Func& f : view ? lib->funcs(*view) : std::span<const Func>()) {
                if (!f.badDefault)
                    continue;
                ++bad;
                int invalid = 0;
                for (const Param& p : lib->params(f)) {
                    EXPECT_GE(p.type, 0);
                    if (p.defaultValue >= 0)
                        invalid += lib->value(p.defaultValue).state == Value::State::Invalid;
                }
                EXPECT_GT(invalid, 0) << f.name.toStdString();
            }
    EXPECT_GT(bad, 0);
}
