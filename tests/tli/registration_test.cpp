#include "oracle_dump.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QCryptographicHash>
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
    // Dispinterfaces, duals and automation interfaces get an Interface key; the others none.
    const auto automation = [](int kind, quint32 flags) { return kind == 4 || (flags & 0x140); };
    int expected = 0, written = 0;
    for (const OracleType& t : oracle.types)
        expected += (t.kind == 3 || t.kind == 4) && automation(t.kind, t.flags);
    for (const TypeInfoView& i :
         app.typeLibInfoFromRegistry(guid, major, minor, lcid)->interfaces()) {
        const QString key = QStringLiteral("Interface\\") + i.guidText();
        const bool registered = automation(int(i.kind()), i.typeFlags());
        EXPECT_EQ(text(again, key), registered ? i.name() : QStringLiteral("(none)"));
        if (registered) {
            EXPECT_EQ(text(again, key + QStringLiteral("\\TypeLib")), guid);
        }
        written += registered;
    }
    EXPECT_GT(written, 0);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(hivesHash(m.prefix().prefix()), before);
}

// A locale key written with leading zeros ("0407") is the same locale; only the locale asked for,
// 0, 9 and 409 are tried.
TEST(Registration, PaddedLocaleKeys) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    auto lib = m.open(QStringLiteral("wscript.exe"));
    const QString guid = lib->guidText();
    const int major = lib->majorVersion(), minor = lib->minorVersion();
    const QString path = QStringLiteral("C:\\windows\\system32\\wscript.exe");
    const QString key = QStringLiteral("TypeLib\\%1\\%2.%3\\0407\\win32")
                            .arg(guid)
                            .arg(major, 0, 16)
                            .arg(minor, 0, 16);
    ASSERT_TRUE(m.store().setValue(
        registry::Root::ClassesRoot, key, QString(), registry::RegSz,
        QByteArray(reinterpret_cast<const char*>(path.utf16()), (path.size() + 1) * 2)));
    EXPECT_EQ(m.app().registeredLibraryName(guid, major, minor, 0x407), lib->name());
    EXPECT_THROW(m.app().registeredLibraryName(guid, major, minor, 0x409), Error);
    EXPECT_THROW(m.app().registeredLibraryName(QStringLiteral("{nonsense}"), 2, 0, 0), Error);
}

// A ProgID or CLSID leads, without running anything, to the class's coclass, its default
// interface and the containing library.
TEST(Registration, InterfaceInfoOfARegisteredClass) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wshom.ocx.txt"));
    const OracleType* shell = oracle.find(QStringLiteral("WshShell"));
    ASSERT_NE(shell, nullptr);
    const InterfaceInfo byProgId = m.app().interfaceInfoFromObject("WScript.Shell");
    EXPECT_EQ(byProgId.coClass.name(), shell->name);
    EXPECT_EQ(QStringLiteral("ref(") + byProgId.interface.name() + u')', shell->implTypes[0]);
    EXPECT_EQ(byProgId.libraryGuid, oracle.guid);
    EXPECT_TRUE(byProgId.containingFile.endsWith(QLatin1String("wshom.ocx"), Qt::CaseInsensitive));
    const InterfaceInfo byClsid = m.app().interfaceInfoFromObject(byProgId.coClass.guidText());
    EXPECT_EQ(byClsid.interface, byProgId.interface);
    EXPECT_THROW(m.app().interfaceInfoFromObject("No.Such.Class"), Error);
}
