#include "platform/pe/pe_resources.h"
#include "text/error.h"
#include "tli/errors.h"
#include "tli/tlb_dump.h"
#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

// The description of the error a call throws; empty when it throws none.
template <class F> QString errorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

} // namespace

TEST(TypeLibFile, ResourceSuffix) {
    EXPECT_EQ(splitLibraryPath(QStringLiteral("/no/such/file.dll\\3")).file,
              QStringLiteral("/no/such/file.dll"));
    EXPECT_EQ(splitLibraryPath(QStringLiteral("/no/such/file.dll\\3")).resource, 3);
    EXPECT_FALSE(splitLibraryPath(QStringLiteral("/no/such/file.dll")).resource);
    EXPECT_FALSE(splitLibraryPath(QStringLiteral("/no/such/file.dll\\x3")).resource);
    EXPECT_FALSE(splitLibraryPath(QStringLiteral("/no/such/file.dll\\70000")).resource);
    EXPECT_FALSE(splitLibraryPath(QStringLiteral("/no/such/file.dll\\")).resource);

    // A file whose own name ends in "\N" is taken whole.
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("odd\\2"));
    QFile f(odd);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(splitLibraryPath(odd).file, odd);
    EXPECT_FALSE(splitLibraryPath(odd).resource);
}

TEST(TypeLibFile, ResourceIdsAreThoseTheIndexLists) {
    QMap<QString, QList<quint16>> expected;
    for (const IndexRow& row : readIndex())
        expected[row.file].push_back(row.resource);
    ASSERT_FALSE(expected.isEmpty());
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        std::sort(it->begin(), it->end());
        EXPECT_EQ(loadTypeLibIds(kWineDir + u'/' + it.key()), *it) << it.key().toStdString();
    }
}

// A plain .tlb file (an MSFT library on its own) reads like the resource it was taken from.
TEST(TypeLibFile, PlainLibraryReadsLikeTheResource) {
    for (const QString& name : {QStringLiteral("stdole2.tlb"), QStringLiteral("wshom.ocx")}) {
        const QByteArray pe = readFile(kWineDir + u'/' + name);
        const auto blob = pe::PeResources(pe).typelib(1);
        ASSERT_TRUE(blob);
        QTemporaryDir dir;
        const QString plain = dir.filePath(QStringLiteral("plain.tlb"));
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(blob->data(), blob->size());
        f.close();
        EXPECT_EQ(loadTypeLibIds(plain), QList<quint16>{1});
        EXPECT_EQ(dumpTypeLib(*loadTypeLib(plain, &indexLibraries())),
                  dumpTypeLib(*loadTypeLib(kWineDir + u'/' + name, &indexLibraries())));
        EXPECT_TRUE(errorOf([&] {
                        loadTypeLib(plain + QStringLiteral("\\2"), nullptr);
                    }).contains(QStringLiteral("no resource 2")));
    }
}

TEST(TypeLibFile, ErrorsNameTheFileAndTheFault) {
    const QString missing = QStringLiteral("/no/such/library.tlb");
    try {
        loadTypeLib(missing, nullptr);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), Error::FileNotFound);
        EXPECT_TRUE(e.description().startsWith(missing));
    }

    const QString text = kOracleDir + QStringLiteral("/INDEX.tsv");
    const QString notLib = errorOf([&] { loadTypeLib(text, nullptr); });
    EXPECT_TRUE(notLib.startsWith(text + QStringLiteral(": "))) << notLib.toStdString();
    EXPECT_TRUE(notLib.contains(QStringLiteral("neither a type library nor a PE file")));

    const QString wshom = kWineDir + QStringLiteral("/wshom.ocx");
    const QString noResource =
        errorOf([&] { loadTypeLib(wshom + QStringLiteral("\\7"), nullptr); });
    EXPECT_EQ(noResource, wshom + QStringLiteral(": no type library resource 7"));

    // A PE file without type libraries lists none and reads as none.
    const QString kernel = kWineDir + QStringLiteral("/kernel32.dll");
    EXPECT_TRUE(loadTypeLibIds(kernel).isEmpty());
    EXPECT_TRUE(errorOf([&] {
                    loadTypeLib(kernel, nullptr);
                }).startsWith(kernel + QStringLiteral(": no type library resource 1")));
}

// The older format is recognised and refused by name, as a file and as a resource.
TEST(TypeLibFile, SltgIsNamed) {
    QByteArray sltg("SLTG");
    sltg.append(60, '\0');
    const QString e =
        errorOf([&] { readTypeLib(sltg, std::nullopt, nullptr, QStringLiteral("old.tlb")); });
    EXPECT_TRUE(e.startsWith(QStringLiteral("old.tlb: an SLTG type library"))) << e.toStdString();
    EXPECT_EQ(typeLibIds(sltg, QStringLiteral("old.tlb")), QList<quint16>{1});
}
