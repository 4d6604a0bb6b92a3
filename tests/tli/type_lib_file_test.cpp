#include "platform/pe/pe_resources.h"
#include "text/error.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

// The description of the error loading `path` throws; empty when it throws none.
QString loadError(const QString& path) {
    return test::errorText([&] { loadTypeLib(path, nullptr); });
}

// Writes `bytes` to a new file `name` in `dir`; its path.
QString fileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    return writeFile(dir.filePath(name), bytes) ? dir.filePath(name) : QString();
}

} // namespace

// "PATH\N" names resource N of a file.
TEST(TypeLibFile, ResourcePaths) {
    const QString file = QStringLiteral("/no/such/file.dll");
    EXPECT_EQ(splitLibraryPath(file + QStringLiteral("\\3")).file, file);
    EXPECT_EQ(splitLibraryPath(file + QStringLiteral("\\3")).resource, 3);
    for (const char* notAnId : {"", "\\x3", "\\70000", "\\"})
        EXPECT_FALSE(splitLibraryPath(file + QLatin1String(notAnId)).resource) << notAnId;
    // A file whose own name ends in "\N" is taken whole.
    QTemporaryDir dir;
    const QString odd = fileIn(dir, QStringLiteral("odd\\2"), "");
    ASSERT_FALSE(odd.isEmpty());
    EXPECT_EQ(splitLibraryPath(odd).file, odd);
    EXPECT_FALSE(splitLibraryPath(odd).resource);
    // The ids a file lists (every file's against the oracle's index: the PE reader's test).
    EXPECT_EQ(loadTypeLibIds(kWineDir + QStringLiteral("/vbscript.dll")),
              (QList<quint16>{1, 2, 3}));
}

// A plain .tlb file (an MSFT library on its own) reads like the resource it was taken from.
TEST(TypeLibFile, PlainLibraryReadsLikeTheResource) {
    for (const QString& name : {QStringLiteral("stdole2.tlb"), QStringLiteral("wshom.ocx")}) {
        const QByteArray bytes = readFile(kWineDir + u'/' + name);
        const pe::PeResources resources(bytes);
        const auto blob = resources.typelib(1);
        ASSERT_TRUE(blob);
        QTemporaryDir dir;
        const QString plain = fileIn(dir, QStringLiteral("plain.tlb"), blob->toByteArray());
        EXPECT_EQ(loadTypeLibIds(plain), QList<quint16>{1});
        EXPECT_EQ(dumpTypeLib(*loadTypeLib(plain, &indexLibraries())),
                  dumpTypeLib(*loadTypeLib(kWineDir + u'/' + name, &indexLibraries())));
        EXPECT_TRUE(loadError(plain + QStringLiteral("\\2")).contains("no resource 2"));
    }
}

TEST(TypeLibFile, ErrorsNameTheFileAndTheFault) {
    const QString missing = QStringLiteral("/no/such/library.tlb");
    EXPECT_TRUE(loadError(missing).startsWith(missing + u':')) << loadError(missing).toStdString();

    const QString text = kOracleDir + QStringLiteral("/INDEX.tsv");
    EXPECT_EQ(loadError(text), text + QStringLiteral(": neither a type library nor a PE file"));
    const QString wshom = kWineDir + QStringLiteral("/wshom.ocx");
    EXPECT_EQ(loadError(wshom + QStringLiteral("\\7")),
              wshom + QStringLiteral(": no type library resource 7"));
    // A PE file without type libraries lists none and reads as none.
    const QString kernel = kWineDir + QStringLiteral("/kernel32.dll");
    EXPECT_TRUE(loadTypeLibIds(kernel).isEmpty());
    EXPECT_TRUE(
        loadError(kernel).startsWith(kernel + QStringLiteral(": no type library resource 1")));

    // An SLTG library without blocks is refused by what is wrong.
    QTemporaryDir dir;
    const QString sltg = fileIn(dir, QStringLiteral("old.tlb"), "SLTG" + QByteArray(60, '\0'));
    EXPECT_TRUE(loadError(sltg).startsWith(sltg + QStringLiteral(": the header claims 0 blocks")))
        << loadError(sltg).toStdString();
    EXPECT_EQ(loadTypeLibIds(sltg), QList<quint16>{1});
}

// The dump shows ERR for msado15.dll's functions whose defaults the type services refuse to
// copy; the model keeps them browsable with all their parameters, the bad value marked.
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
