#include "text/text_order.h"
#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

std::shared_ptr<const TypeLib> wineLibrary(const QString& name) {
    return loadTypeLib(kWineDir + u'/' + name, &indexLibraries());
}

} // namespace

// uianimation.dll stores several type infos under one name; a name is stored once, and the
// type services reach a type info only through its name's entry, so references to the others
// reach nothing while the model still knows which type info the file meant.
TEST(Model, ReferencesToUnreachableTypeInfosKeepWhatTheFileNames) {
    const auto lib = wineLibrary(QStringLiteral("uianimation.dll"));
    const auto infos = lib->typeInfos();
    int unreachable = 0;
    auto check = [&](TypeId id) {
        while (lib->type(id).vt == vt::Ptr)
            id = lib->type(id).inner;
        const TypeDesc& t = lib->type(id);
        if (t.vt != vt::UserDefined || lib->ref(t.ref).library >= 0 || lib->ref(t.ref).index >= 0)
            return;
        ++unreachable;
        const qint32 stored = lib->ref(t.ref).stored;
        ASSERT_GE(stored, 0);
        ASSERT_LT(size_t(stored), infos.size());
        // Another type info of the same name is the one the name leads to.
        int sameName = 0;
        for (const TypeInfo& other : infos)
            sameName += equalsText(other.name, infos[stored].name);
        EXPECT_GT(sameName, 1) << infos[stored].name.toStdString();
    };
    for (const TypeInfo& info : infos)
        for (const Func& f : lib->funcs(info)) {
            check(f.returnType);
            for (const Param& p : lib->params(f))
                check(p.type);
        }
    EXPECT_GT(unreachable, 0);
}

// msado15.dll has defaults the type services refuse to copy: the functions stay in the model
// with all their parameters, and the bad value is marked as such.
TEST(Model, FunctionsWithBadDefaultsKeepTheirParameters) {
    const auto lib = wineLibrary(QStringLiteral("msado15.dll"));
    int bad = 0;
    auto visit = [&](const TypeInfo& info) {
        for (const Func& f : lib->funcs(info)) {
            if (!f.badDefault)
                continue;
            ++bad;
            EXPECT_FALSE(f.name.isEmpty());
            int invalid = 0;
            for (const Param& p : lib->params(f)) {
                EXPECT_GE(p.type, 0);
                if (p.defaultValue >= 0)
                    invalid += lib->value(p.defaultValue).state == Value::State::Invalid;
            }
            EXPECT_GT(invalid, 0) << f.name.toStdString();
        }
    };
    for (const TypeInfo& info : lib->typeInfos()) {
        visit(info);
        if (const TypeInfo* view = lib->interfaceView(info))
            visit(*view);
    }
    // As many as the type services' own dump shows failing.
    const QByteArray oracle = readFile(kOracleDir + QStringLiteral("/dumps/msado15.dll.txt"));
    EXPECT_EQ(bad, oracle.count("ERR(0x80020008)"));
    EXPECT_GT(bad, 0);
}

// Every dual interface of every library: the dispatch view holds IUnknown's and IDispatch's
// functions before the interface's own, all called through Invoke, with no [retval] or [lcid]
// parameter left; the interface view keeps the declared signatures.
TEST(Model, DualInterfacesHaveBothViews) {
    int duals = 0;
    for (const IndexRow& row : readIndex()) {
        const auto lib = loadTypeLib(row.path(), &indexLibraries());
        for (const TypeInfo& info : lib->typeInfos()) {
            const TypeInfo* iface = lib->interfaceView(info);
            if (!iface)
                continue;
            ++duals;
            SCOPED_TRACE(info.name.toStdString());
            EXPECT_EQ(info.kind, TypeKind::Dispatch);
            EXPECT_EQ(iface->kind, TypeKind::Interface);
            EXPECT_TRUE(iface->flags & flag::TypeOleAutomation);
            EXPECT_FALSE(info.flags & flag::TypeOleAutomation);
            const auto dispatch = lib->funcs(info), own = lib->funcs(*iface);
            ASSERT_GE(dispatch.size(), own.size() + 7);
            EXPECT_EQ(dispatch[0].name, QStringLiteral("QueryInterface"));
            EXPECT_EQ(dispatch[6].name, QStringLiteral("Invoke"));
            for (const Func& f : dispatch) {
                EXPECT_EQ(f.funcKind, 4);
                for (const Param& p : lib->params(f))
                    EXPECT_FALSE(p.flags & (flag::ParamRetval | flag::ParamLcid));
            }
            // The interface's own functions close the dispatch view, in order.
            const size_t base = dispatch.size() - own.size();
            for (size_t i = 0; i < own.size(); ++i) {
                EXPECT_EQ(dispatch[base + i].memid, own[i].memid);
                EXPECT_EQ(dispatch[base + i].invokeKind, own[i].invokeKind);
                EXPECT_EQ(own[i].funcKind, 1);
            }
        }
    }
    EXPECT_GT(duals, 0);
}
