#include "platform/registry/machine.h"
#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor::registry;

namespace {

QProcessEnvironment env(std::initializer_list<std::pair<const char*, QString>> vars) {
    QProcessEnvironment e;
    for (const auto& [k, v] : vars)
        e.insert(QString::fromLatin1(k), v);
    return e;
}

} // namespace

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
    QFile f(home.path() + QStringLiteral("/.wine/system.reg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
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
