#include "platform/registry/machine.h"
#include "platform/registry/store.h"
#include "platform/registry/test_prefix.h"
#include "platform/registry/tree_compare.h"
#include "platform/registry/value_type.h"
#include "qt_print.h"
#include "test_files.h"
#include "text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;
using namespace vantor::registry::test;
using vantor::test::readFile;
using vantor::test::utf16z;
using vantor::test::writeFile;

namespace {

Machine prefixMachine(const QString& dir) {
    return {Machine::Kind::Prefix, dir, {}};
}

QProcessEnvironment env(std::initializer_list<std::pair<const char*, QString>> vars) {
    QProcessEnvironment e;
    for (const auto& [k, v] : vars)
        e.insert(QString::fromLatin1(k), v);
    return e;
}

} // namespace

TEST(Store, ClassesRootAndEnvironmentOfThePrefix) {
    TestPrefix t;
    ASSERT_TRUE(t.valid());
    const Store store(prefixMachine(t.prefix()), t.programFolder());
    EXPECT_TRUE(store.issues().empty());
    // Listing against the hive text is cRegistry.RootKeysOfTheRealPrefix; the WOW64 view is a
    // link to the same key.
    const QStringList libs = store.subkeyNames(Root::ClassesRoot, u"TypeLib");
    ASSERT_GT(libs.size(), 10);
    EXPECT_EQ(store.subkeyNames(Root::ClassesRoot, u"Wow6432Node\\TypeLib"), libs);
    EXPECT_EQ(store.defaultText(Root::ClassesRoot,
                                u"TYPELIB\\{f935dc20-1cf0-11d0-adb9-00c04fd58a0b}\\1.0"),
              QStringLiteral("Windows Script Host Object Model"));
    // HKLM holds the same key under Software\Classes.
    EXPECT_TRUE(store.keyExists(Root::LocalMachine, u"Software\\Classes\\TypeLib\\"));
    EXPECT_FALSE(store.keyExists(Root::ClassesRoot, u"TypeLib\\{no such}"));
    EXPECT_FALSE(store.keyExists(Root::CurrentConfig, u""));
    // The environment comes from the machine.
    EXPECT_EQ(store.systemRoot(), QStringLiteral("C:\\windows"));
    EXPECT_EQ(store.expandEnvironment(u"%WINDIR%\\x;%SystemRoot%;%nope%;50%"),
              QStringLiteral("C:\\windows\\x;C:\\windows;%nope%;50%"));
}

TEST(Store, WritesGoToTheOverlayAndSurviveARestart) {
    TestPrefix t;
    ASSERT_TRUE(t.valid());
    const QByteArray system = readFile(t.prefix() + QStringLiteral("/system.reg"));
    const QByteArray user = readFile(t.prefix() + QStringLiteral("/user.reg"));
    const Machine machine = prefixMachine(t.prefix());
    QString overlay;
    {
        Store store(machine, t.programFolder());
        overlay = store.overlayPath();
        EXPECT_EQ(QFileInfo(overlay).fileName(), machine.id() + QStringLiteral(".reg"));
        Store::Batch batch(store);
        ASSERT_TRUE(store.setValue(Root::ClassesRoot, u"Vantor.Test\\CLSID", u"", RegSz,
                                   utf16z(QStringLiteral("{1}"))));
        // An overlay value shadows the machine's own.
        ASSERT_TRUE(store.setValue(Root::ClassesRoot,
                                   u"Typelib\\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}\\1.0", u"",
                                   RegSz, utf16z(QStringLiteral("Mine"))));
        EXPECT_FALSE(store.createKey(Root::CurrentUser, u"Software\\X"));
        // A batch of writes is saved once, when it ends; reads see the writes before.
        EXPECT_FALSE(readFile(overlay).contains("Vantor"));
        EXPECT_TRUE(store.keyExists(Root::ClassesRoot, u"vantor.test\\clsid"));
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(readFile(t.prefix() + QStringLiteral("/system.reg")), system);
    EXPECT_EQ(readFile(t.prefix() + QStringLiteral("/user.reg")), user);
    EXPECT_TRUE(readFile(overlay).contains("[Software\\\\Classes\\\\Vantor.Test\\\\CLSID]"));

    const Store again(machine, t.programFolder());
    EXPECT_TRUE(again.issues().empty());
    EXPECT_EQ(again.defaultText(Root::ClassesRoot, u"vantor.test\\clsid"), QStringLiteral("{1}"));
    EXPECT_EQ(again.defaultText(Root::ClassesRoot,
                                u"TypeLib\\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}\\1.0"),
              QStringLiteral("Mine"));
    // The machine's subkeys are still there beside the overlay's.
    EXPECT_EQ(again.subkeyNames(Root::ClassesRoot,
                                u"TypeLib\\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}\\1.0"),
              QStringList({"0", "FLAGS"}));
    // Another machine does not see these registrations.
    const Store other(Machine{}, t.programFolder());
    EXPECT_FALSE(other.keyExists(Root::ClassesRoot, u"Vantor.Test"));
}

TEST(Store, ADamagedOverlayIsReportedAndKeptAside) {
    TestPrefix t;
    ASSERT_TRUE(t.valid());
    const Machine machine{};
    QDir().mkpath(t.programFolder() + QStringLiteral("/overlay"));
    const QByteArray damaged =
        "WINE REGISTRY Version 2\n[Software\\\\Kept] 1\n\"A\"=\"1\"\n\"B\"=dword:\n";
    const QString path = t.programFolder() + QStringLiteral("/overlay/none.reg");
    ASSERT_TRUE(writeFile(path, damaged));
    Store store(machine, t.programFolder());
    ASSERT_EQ(store.issues().size(), 1u);
    EXPECT_EQ(store.issues()[0].file, path);
    EXPECT_EQ(store.issues()[0].line, 4);
    EXPECT_EQ(store.valueText(Root::LocalMachine, u"Software\\Kept", u"A"), QStringLiteral("1"));
    ASSERT_TRUE(store.createKey(Root::LocalMachine, u"Software\\New"));
    EXPECT_EQ(readFile(path + QStringLiteral(".bad")), damaged);
    const Store again(machine, t.programFolder());
    EXPECT_TRUE(again.issues().empty());
    EXPECT_TRUE(again.keyExists(Root::LocalMachine, u"Software\\Kept"));
    EXPECT_TRUE(again.keyExists(Root::LocalMachine, u"Software\\New"));

    // Not a hive at all: reported, and set aside as well before the next save.
    writeFile(path, "garbage");
    Store third(machine, t.programFolder());
    EXPECT_EQ(third.issues().size(), 1u);
    ASSERT_TRUE(third.createKey(Root::LocalMachine, u"Software\\Third"));
    EXPECT_EQ(readFile(path + QStringLiteral(".bad2")), QByteArray("garbage"));
}

TEST(Store, RegFilesMergeClassesAsWindowsDoes) {
    TestPrefix t;
    const QString file = t.path(QStringLiteral("m.reg"));
    writeFile(
        file,
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Both]\r\n\"V\"=\"machine\"\r\n\"M\"=\"m\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Both\\FromMachine]\r\n"
        "[HKEY_CURRENT_USER\\Software\\Classes\\both]\r\n\"v\"=\"user\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Classes\\both\\FromUser]\r\n"
        "[HKEY_CLASSES_ROOT\\Direct]\r\n@=\"d\"\r\n");
    const Store store(Machine{Machine::Kind::RegFiles, {}, {file}}, t.programFolder());
    EXPECT_TRUE(store.issues().empty());
    EXPECT_EQ(store.valueText(Root::ClassesRoot, u"Both", u"V"), QStringLiteral("user"));
    EXPECT_EQ(store.valueText(Root::ClassesRoot, u"Both", u"M"), QStringLiteral("m"));
    EXPECT_EQ(store.valueNames(Root::ClassesRoot, u"Both"), QStringList({"v", "M"}));
    EXPECT_EQ(store.subkeyNames(Root::ClassesRoot, u"Both"),
              QStringList({"FromMachine", "FromUser"}));
    EXPECT_EQ(store.subkeyNames(Root::ClassesRoot, u""), QStringList({"both", "Direct"}));
    EXPECT_THROW(
        Store(Machine{Machine::Kind::RegFiles, {}, {t.path("missing.reg")}}, t.programFolder()),
        Error);
}

TEST(Store, LinksAreFollowedAndCyclesEnd) {
    TestPrefix t;
    auto link = [](const QString& target) {
        const QByteArray bytes(reinterpret_cast<const char*>(target.utf16()), target.size() * 2);
        return "#link\n\"SymbolicLinkValue\"=hex(6):" + bytes.toHex(',') + "\n";
    };
    QDir().mkpath(t.path(QStringLiteral("links")));
    writeFile(t.path(QStringLiteral("links/system.reg")),
              "WINE REGISTRY Version 2\n[Software\\\\Classes\\\\Loop] 1\n" +
                  link(QStringLiteral("\\Registry\\Machine\\Software\\Classes\\Loop")) +
                  "[Software\\\\Classes\\\\Real\\\\Sub] 1\n"
                  "[Software\\\\Classes\\\\ToReal] 1\n" +
                  link(QStringLiteral("\\REGISTRY\\Machine\\Software\\Classes\\Real")));
    const Store store(prefixMachine(t.path(QStringLiteral("links"))), t.programFolder());
    EXPECT_TRUE(store.issues().empty());
    EXPECT_FALSE(store.keyExists(Root::ClassesRoot, u"Loop"));
    EXPECT_EQ(store.subkeyNames(Root::ClassesRoot, u"ToReal"), QStringList({"Sub"}));
    EXPECT_TRUE(store.keyExists(Root::ClassesRoot, u"toreal\\sub"));
}

TEST(Machine, ChoiceFollowsTheOrderOfSources) {
    QTemporaryDir home;
    const QProcessEnvironment none;
    const QStringList args = {"--prefix", "/p", "{GUID}:1.0.X", "--registry", "x"};

    MachineChoice c = chooseMachine(args, QStringLiteral("/ini"), env({{"WINEPREFIX", "/w"}}));
    EXPECT_EQ(c.machine.kind, Machine::Kind::Prefix);
    EXPECT_EQ(c.machine.prefix, QStringLiteral("/p"));
    EXPECT_EQ(c.commandLine, QStringLiteral("{GUID}:1.0.X --registry x"));

    c = chooseMachine({"--registry=a.reg", "--registry", "b.reg", "WScript.Shell"}, {}, none);
    EXPECT_EQ(c.machine.kind, Machine::Kind::RegFiles);
    EXPECT_EQ(c.machine.regFiles, QStringList({"a.reg", "b.reg"}));
    EXPECT_EQ(c.commandLine, QStringLiteral("WScript.Shell"));

    c = chooseMachine({"a", "b"}, home.path(), env({{"WINEPREFIX", "/w"}}));
    EXPECT_EQ(c.machine.kind, Machine::Kind::Prefix); // the setting names a folder
    EXPECT_EQ(c.machine.prefix, home.path());
    EXPECT_EQ(c.commandLine, QStringLiteral("a b"));

    c = chooseMachine({}, QStringLiteral("/x/export.reg"), none);
    EXPECT_EQ(c.machine.kind, Machine::Kind::RegFiles);

    c = chooseMachine({}, {}, env({{"WINEPREFIX", "/w"}, {"HOME", home.path()}}));
    EXPECT_EQ(c.machine.prefix, QStringLiteral("/w"));

    // ~/.wine only counts when it holds a registry.
    c = chooseMachine({}, {}, env({{"HOME", home.path()}}));
    EXPECT_EQ(c.machine.kind, Machine::Kind::None);
    EXPECT_EQ(c.machine.id(), QStringLiteral("none"));
    QDir(home.path()).mkpath(QStringLiteral(".wine"));
    ASSERT_TRUE(writeFile(home.path() + QStringLiteral("/.wine/system.reg"), {}));
    c = chooseMachine({}, {}, env({{"HOME", home.path()}}));
    EXPECT_EQ(c.machine.prefix, home.path() + QStringLiteral("/.wine"));

    // A dangling option value is no option: it stays in the command line.
    c = chooseMachine({"--prefix"}, {}, none);
    EXPECT_EQ(c.commandLine, QStringLiteral("--prefix"));
}

TEST(Machine, IdIsStableAndFollowsTheCanonicalPath) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("a/b"));
    QFile::link(dir.path() + QStringLiteral("/a/b"), dir.path() + QStringLiteral("/link"));
    const Machine direct{Machine::Kind::Prefix, dir.path() + QStringLiteral("/a/b"), {}};
    const Machine viaLink{Machine::Kind::Prefix, dir.path() + QStringLiteral("/link/"), {}};
    const Machine dotted{Machine::Kind::Prefix, dir.path() + QStringLiteral("/a/./b"), {}};
    const Machine other{Machine::Kind::Prefix, dir.path() + QStringLiteral("/a"), {}};
    EXPECT_EQ(direct.id(), viaLink.id());
    EXPECT_EQ(direct.id(), dotted.id());
    EXPECT_NE(direct.id(), other.id());
    const Machine files{Machine::Kind::RegFiles, {}, {dir.path() + QStringLiteral("/a/b")}};
    EXPECT_EQ(files.canonicalPath(), direct.canonicalPath());
}
