#include "oracle_dump.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

QByteArray hivesHash(const QString& prefix) {
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
        h.addData(readFile(prefix + u'/' + QLatin1String(name)));
    return h.result();
}

QString text(const registry::Store& store, const QString& key, const QString& name = {}) {
    const auto v = store.value(registry::Root::ClassesRoot, key, name);
    if (!v || !registry::isStringType(v->type))
        return QStringLiteral("(none)");
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(v->data.constData()),
                              v->data.size() / 2 - 1);
}

} // namespace

// Registering a library the prefix does not know (wscript.exe's IHost) writes its TypeLib and
// Interface keys into the overlay; after a restart the library opens by GUID and version, and
// the machine's own hives are unchanged.
TEST(Registration, RegisteredLibraryIsFoundAgainAfterARestart) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    const QByteArray before = hivesHash(m.prefix().prefix());
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wscript.exe.txt"));
    ASSERT_FALSE(oracle.types.isEmpty());

    auto lib = m.open(QStringLiteral("wscript.exe"));
    const QString guid = lib->guidText();
    const int major = lib->majorVersion(), minor = lib->minorVersion(), lcid = int(lib->lcid());
    EXPECT_THROW(m.app().typeLibInfoFromRegistry(guid, major, minor, lcid), Error);
    lib->registerLibrary();

    registry::Store again(m.store().machine(), m.prefix().programFolder());
    const winpath::PrefixPaths paths(m.prefix().prefix(), again.systemRoot());
    TLIApplication app(&again, &paths);
    EXPECT_EQ(app.registeredLibraryName(guid, major, minor, lcid), oracle.name);
    // Another locale falls back to the registered one; an unknown version is not found.
    EXPECT_EQ(app.registeredLibraryName(guid, major, minor, 0x407), oracle.name);
    EXPECT_THROW(app.registeredLibraryName(guid, major + 1, minor, lcid), Error);

    const QString versionKey =
        QStringLiteral("TypeLib\\%1\\%2.%3").arg(guid).arg(major, 0, 16).arg(minor, 0, 16);
    EXPECT_EQ(text(again, versionKey + QStringLiteral("\\%1\\win64").arg(lcid, 0, 16)),
              QStringLiteral("C:\\windows\\system32\\wscript.exe"));
    EXPECT_EQ(text(again, versionKey + QStringLiteral("\\HELPDIR")),
              QStringLiteral("C:\\windows\\system32"));
    int interfaces = 0;
    for (const OracleType& t : oracle.types) {
        if (t.kind != 4 && !(t.kind == 3 && (t.flags & 0x140)))
            continue;
        ++interfaces;
    }
    int written = 0;
    for (const TypeInfoView& i :
         app.typeLibInfoFromRegistry(guid, major, minor, lcid)->interfaces()) {
        const bool automation = i.kind() == 4 || (i.typeFlags() & 0x140);
        const QString key = QStringLiteral("Interface\\") + i.guidText();
        EXPECT_EQ(text(again, key), automation ? i.name() : QStringLiteral("(none)"));
        if (automation) {
            EXPECT_EQ(text(again, key + QStringLiteral("\\TypeLib")), guid);
        }
        written += automation;
    }
    EXPECT_GT(interfaces, 0);
    EXPECT_EQ(written, interfaces);
    EXPECT_EQ(hivesHash(m.prefix().prefix()), before);
}

// The locale and version fall-backs of a registered library, on the prefix's own keys.
TEST(Registration, RegisteredLibrariesOfThePrefix) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    const QString stdole = QStringLiteral("{00020430-0000-0000-C000-000000000046}");
    EXPECT_EQ(m.app().registeredLibraryName(stdole, 2, 0, 0), QStringLiteral("stdole"));
    EXPECT_EQ(m.app().registeredLibraryName(stdole, 2, 0, 0x409), QStringLiteral("stdole"));
    EXPECT_THROW(m.app().registeredLibraryName(stdole, 3, 0, 0), Error);
    EXPECT_THROW(m.app().registeredLibraryName(QStringLiteral("{nonsense}"), 2, 0, 0), Error);
}

// A locale key written with leading zeros ("0407") is the same locale.
TEST(Registration, PaddedLocaleKeys) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wscript.exe.txt"));
    auto lib = m.open(QStringLiteral("wscript.exe"));
    const int major = lib->majorVersion(), minor = lib->minorVersion();
    const QString path = QStringLiteral("C:\\windows\\system32\\wscript.exe");
    const QString key = QStringLiteral("TypeLib\\%1\\%2.%3\\0407\\win32")
                            .arg(oracle.guid)
                            .arg(major, 0, 16)
                            .arg(minor, 0, 16);
    ASSERT_TRUE(m.store().setValue(
        registry::Root::ClassesRoot, key, QString(), registry::RegSz,
        QByteArray(reinterpret_cast<const char*>(path.utf16()), (path.size() + 1) * 2)));
    EXPECT_EQ(m.app().registeredLibraryName(oracle.guid, major, minor, 0x407), oracle.name);
    // Only the locale asked for, 0, 9 and 409 are tried.
    EXPECT_THROW(m.app().registeredLibraryName(oracle.guid, major, minor, 0x409), Error);
}
