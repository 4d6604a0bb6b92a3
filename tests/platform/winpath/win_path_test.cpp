#include "platform/winpath/win_path.h"
#include "qt_print.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vantor::winpath;

TEST(WinPath, ResourceNumbersAreKeptApart) {
    EXPECT_EQ(splitResource(u"C:\\windows\\system32\\vbscript.dll\\3").path,
              QStringLiteral("C:\\windows\\system32\\vbscript.dll"));
    EXPECT_EQ(splitResource(u" \"C:\\x\\vbscript.dll\\12\" ").resource, 12);
    EXPECT_EQ(splitResource(u"C:\\x\\scrrun.dll").path, QStringLiteral("C:\\x\\scrrun.dll"));
    EXPECT_EQ(splitResource(u"C:\\x\\file2").resource, 0); // digits inside a name are no number
    EXPECT_EQ(splitResource(u"3").resource, 0);
}

TEST(WinPath, ComponentsMatchIgnoringCase) {
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/prefix");
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/drive_c/Windows/System32")));
    for (const char* name : {"Wshom.ocx", "Dup.txt", "dup.txt"})
        ASSERT_TRUE(QFile(prefix + "/drive_c/Windows/System32/" + name).open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/"), prefix + QStringLiteral("/dosdevices/z:")));
    const QString drive = QDir(prefix + QStringLiteral("/drive_c")).canonicalPath();
    const QString file = drive + QStringLiteral("/Windows/System32/Wshom.ocx");

    const PrefixPaths paths(prefix);
    EXPECT_EQ(paths.toHost(u"C:\\WINDOWS\\SYSTEM32\\WSHOM.OCX"), file);
    EXPECT_EQ(paths.toHost(u"\"c:/Windows/./system32/../System32//wshom.ocx\""), file);
    EXPECT_EQ(paths.toHost(u"\\\\?\\C:\\Windows\\System32\\wshom.ocx"), file);
    // With two spellings of a name the exact one wins.
    EXPECT_EQ(paths.toHost(u"C:\\windows\\system32\\dup.txt"),
              drive + QStringLiteral("/Windows/System32/dup.txt"));
    EXPECT_EQ(paths.toHost(u"C:\\windows\\system32\\Dup.txt"),
              drive + QStringLiteral("/Windows/System32/Dup.txt"));
    // What does not exist stays as written.
    EXPECT_EQ(paths.toHost(u"C:\\Windows\\Missing\\x.dll"),
              drive + QStringLiteral("/Windows/Missing/x.dll"));
    EXPECT_EQ(paths.toHost(u"Z:\\tmp"), QStringLiteral("/tmp"));
    EXPECT_EQ(paths.toHost(u"/opt/lib/x.dll"), QStringLiteral("/opt/lib/x.dll"));
    EXPECT_EQ(paths.toHost(u"D:\\x.dll"), QString()); // no such drive
    EXPECT_EQ(paths.toHost(u"x.dll"), QString());
    EXPECT_EQ(PrefixPaths(prefix, QStringLiteral("C:\\Windows\\SYSTEM32")).windowsFolder(),
              drive + QStringLiteral("/Windows/System32"));
    EXPECT_EQ(PrefixPaths(QString()).toHost(u"C:\\x"), QString());
}
