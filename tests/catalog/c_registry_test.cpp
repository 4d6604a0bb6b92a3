#include "catalog/c_registry.h"
#include "platform/registry/test_prefix.h"
#include "platform/registry/tree_compare.h"
#include "platform/winpath/win_path.h"
#include "qt_print.h"
#include "text/error.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;
using namespace vantor::registry::test;

namespace {

// A small machine in one version-5 export.
class Fixture {
public:
    Fixture() {
        const QString text = QString::fromUtf16(
            u"Windows Registry Editor Version 5.00\r\n\r\n"
            u"[HKEY_CLASSES_ROOT\\Edge]\r\n"
            u"@=\"default\"\r\n"
            u"\"Two\"=hex(1):61,00,00,00,00,00\r\n"
            u"\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
            u"\"BE1\"=hex(5):00,00,00,01\r\n"
            u"\"BE2\"=hex(5):01,00,00,00\r\n"
            u"\"Num\"=dword:ffffffff\r\n"
            u"\"Bin\"=hex:01,02\r\n"
            u"\"Greek\"=\"\u03a9mega\"\r\n"
            u"\"Exp\"=hex(2):25,00,77,00,69,00,6e,00,64,00,69,00,72,00,25,00,5c,00,78,00,00,00\r\n"
            u"[HKEY_CLASSES_ROOT\\Edge\\Leaf]\r\n"
            u"[HKEY_CLASSES_ROOT\\Edge\\Branch]\r\n"
            u"[HKEY_CLASSES_ROOT\\.txt]\r\n"
            u"[HKEY_CLASSES_ROOT\\*]\r\n"
            u"[HKEY_CLASSES_ROOT\\{00000000-0000-0000-0000-000000000001}]\r\n"
            u"[HKEY_CLASSES_ROOT\\Foo.Bar\\CLSID]\r\n"
            u"[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\"
            u"Environment]\r\n"
            u"\"windir\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,"
            u"00,25,00,00,00\r\n");
        QFile f(prefix_.path(QStringLiteral("m.reg")));
        f.open(QIODevice::WriteOnly);
        f.write("\xFF\xFE");
        f.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        f.close();
        store_.emplace(Machine{Machine::Kind::RegFiles, {}, {f.fileName()}},
                       prefix_.programFolder());
    }
    Store& store() { return *store_; }

private:
    TestPrefix prefix_;
    std::optional<Store> store_;
};

cRegistry at(Store& store, const QString& section, const QString& value = {}) {
    cRegistry reg(store);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(section);
    reg.setValueKey(value);
    return reg;
}

QVariant read(Store& store, const QString& section, const QString& value) {
    cRegistry reg = at(store, section, value);
    return reg.Value();
}

} // namespace

TEST(cRegistry, ValuesReadByTheirType) {
    Fixture f;
    Store& s = f.store();
    EXPECT_EQ(read(s, "Edge", ""), QVariant(QStringLiteral("default")));
    // Every NUL but the last stays.
    EXPECT_EQ(read(s, "Edge", "Two"), QVariant(QStringLiteral("a") + QChar(0)));
    EXPECT_EQ(read(s, "Edge", "Multi"), QVariant(QStringLiteral("a") + QChar(0) + u'b' + QChar(0)));
    EXPECT_EQ(read(s, "Edge", "BE1"), QVariant(1));
    EXPECT_EQ(read(s, "Edge", "BE2"), QVariant(16777216));
    EXPECT_EQ(read(s, "Edge", "Num"), QVariant(-1));
    EXPECT_EQ(read(s, "Edge", "Bin"), QVariant(QByteArray("\1\2")));
    EXPECT_EQ(read(s, "Edge", "Greek"), QVariant(QStringLiteral("?mega")));
    EXPECT_EQ(read(s, "Edge", "Exp"), QVariant(QStringLiteral("C:\\windows\\x")));

    cRegistry reg = at(s, "edge\\", "BE1");
    reg.setDefault(QStringLiteral("none"));
    EXPECT_EQ(reg.Value(), QVariant(1));
    EXPECT_EQ(reg.ValueType(), 5);
    reg.setValueKey(QStringLiteral("Missing"));
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("none")));
    EXPECT_EQ(reg.ValueType(), 5); // untouched by a failed read
    reg.setClassKey(0);
    reg.setValueKey(QString());
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("none")));
}

TEST(cRegistry, ExistenceAndEnumerations) {
    Fixture f;
    cRegistry reg = at(f.store(), "Edge\\");
    EXPECT_TRUE(reg.KeyExists());
    reg.setSectionKey(QStringLiteral("Edge"));
    EXPECT_TRUE(reg.KeyExists());
    QStringList names{"stale"};
    qint32 count = 7;
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(names, QStringList({"", "Branch", "Leaf"}));
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 9);
    EXPECT_EQ(names[1], QString());
    EXPECT_EQ(names[2], QStringLiteral("Two"));

    // A name of the longest length a key may have comes back whole.
    const QString longest(255, u'L');
    ASSERT_TRUE(f.store().createKey(Root::ClassesRoot, QStringLiteral("Edge\\") + longest));
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(names.value(3), longest);

    reg.setSectionKey(QStringLiteral("Edge\\Leaf"));
    EXPECT_TRUE(reg.EnumerateSections(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.isEmpty());
    reg.setSectionKey(QStringLiteral("Nowhere"));
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    reg.setClassKey(0);
    reg.setSectionKey(QStringLiteral("Edge"));
    EXPECT_FALSE(reg.KeyExists());

    EXPECT_TRUE(EnumRootKeys(f.store(), names, count));
    EXPECT_EQ(names, QStringList({"", "Edge", "Foo.Bar"}));
    EXPECT_EQ(count, 2);
}

TEST(cRegistry, WritesByValueType) {
    Fixture f;
    Store& s = f.store();
    cRegistry reg = at(s, "Written", "S");
    reg.setValueType(1);
    reg.setValue(QStringLiteral("%a%"));
    EXPECT_EQ(reg.lastValue(), QVariant(QStringLiteral("%a%")));
    EXPECT_EQ(s.value(Root::ClassesRoot, u"Written", u"S")->type, 2u);
    reg.setValue(QStringLiteral("100%%"));
    EXPECT_EQ(s.value(Root::ClassesRoot, u"Written", u"S")->type, 1u);
    reg.setValue(QString::fromUtf16(u"\u03a9"));
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("?")));

    reg.setValueKey(QStringLiteral("N"));
    reg.setValueType(5);
    reg.setValue(42);
    EXPECT_EQ(reg.Value(), QVariant(42));
    EXPECT_EQ(reg.ValueType(), 4);
    // Not an integer: nothing is written, and the caller hears of it.
    EXPECT_THROW(reg.setValue(QStringLiteral("7")), Error);
    EXPECT_THROW(reg.setValue(7.0), Error);
    EXPECT_EQ(reg.Value(), QVariant(42));

    reg.setValueKey(QStringLiteral("B"));
    reg.setValueType(3);
    reg.setValue(QByteArray("\0\1", 2));
    EXPECT_EQ(reg.Value(), QVariant(QByteArray("\0\1", 2)));
    try {
        reg.setValue(QStringLiteral("x"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 26001);
        EXPECT_TRUE(e.description().isEmpty());
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(".cRegistry")));
    }

    reg.setValueType(0);
    try {
        reg.setValue(QStringLiteral("v"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), int(0x800469A9));
        EXPECT_EQ(e.description(), QStringLiteral("Failed to set registry value Key: "
                                                  "'-2147483648',Section: 'Written',Key: 'B' to "
                                                  "value: 'v'"));
    }

    reg.setClassKey(HKEY_CURRENT_USER);
    reg.setValueType(1);
    try {
        reg.setValue(QStringLiteral("v"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 26001);
    }
    reg.setClassKey(0);
    try {
        reg.CreateKey();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 26001);
        EXPECT_EQ(e.description(), QStringLiteral("Failed to create registry Key: 'Written"));
    }
    reg.setClassKey(HKEY_LOCAL_MACHINE);
    reg.setSectionKey(QStringLiteral("Software\\Classes\\Made"));
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(at(s, "made").KeyExists());
}

TEST(cRegistry, RealPrefix) {
    TestPrefix t;
    ASSERT_TRUE(t.valid());
    const Machine machine{Machine::Kind::Prefix, t.prefix(), {}};
    Store store(machine, t.programFolder());

    // The root keys that may be ProgIDs, and those with a CLSID key, counted from the hive text.
    QSet<QString> expected;
    QSet<QString> withClass;
    const QString lead = QStringLiteral("[software\\\\classes\\\\");
    for (const QByteArray& raw : readAll(t.prefix() + QStringLiteral("/system.reg")).split('\n')) {
        const QString line = QString::fromUtf8(raw).toLower();
        if (!line.startsWith(lead))
            continue;
        const QString first =
            line.mid(lead.size()).section(QStringLiteral("\\\\"), 0, 0).section(u']', 0, 0);
        if (!first.startsWith(u'*') && !first.startsWith(u'.') && !first.startsWith(u'{')) {
            expected.insert(first);
            if (line.startsWith(lead + first + QStringLiteral("\\\\clsid]")))
                withClass.insert(first);
        }
    }
    QStringList names;
    qint32 count = 0;
    ASSERT_TRUE(EnumRootKeys(store, names, count));
    EXPECT_EQ(count, expected.size());
    QSet<QString> got;
    for (qint32 i = 1; i <= count; ++i)
        got.insert(names[i].toLower());
    EXPECT_EQ(got, expected);
    cRegistry probe(store);
    probe.setClassKey(HKEY_CLASSES_ROOT);
    int progIds = 0;
    for (qint32 i = 1; i <= count; ++i) {
        probe.setSectionKey(names[i] + QStringLiteral("\\CLSID"));
        progIds += probe.KeyExists();
    }
    EXPECT_GT(withClass.size(), 100);
    EXPECT_EQ(progIds, withClass.size());

    cRegistry reg(store);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(QStringLiteral("TypeLib\\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}\\1.0"));
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("Windows Script Host Object Model")));
    EXPECT_EQ(reg.ValueType(), 1);
    reg.setSectionKey(reg.SectionKey() + QStringLiteral("\\0\\win64"));
    const QString path = reg.Value().toString();
    const winpath::PrefixPaths paths(t.prefix(), store.systemRoot());
    EXPECT_EQ(
        QFileInfo(paths.toHost(path)).canonicalFilePath(),
        QFileInfo(TestPrefix::wineBinaries() + QStringLiteral("/wshom.ocx")).canonicalFilePath());

    // A write lands in the overlay, survives a restart and leaves the machine's files alone.
    const QByteArray system = readAll(t.prefix() + QStringLiteral("/system.reg"));
    const QByteArray user = readAll(t.prefix() + QStringLiteral("/user.reg"));
    reg.setSectionKey(QStringLiteral("Vantor.Written\\CurVer"));
    reg.setValueType(1);
    reg.setValue(QStringLiteral("Vantor.Written.1"));
    Store again(machine, t.programFolder());
    cRegistry back(again);
    back.setClassKey(HKEY_CLASSES_ROOT);
    back.setSectionKey(QStringLiteral("vantor.written\\curver"));
    EXPECT_EQ(back.Value(), QVariant(QStringLiteral("Vantor.Written.1")));
    EXPECT_EQ(readAll(t.prefix() + QStringLiteral("/system.reg")), system);
    EXPECT_EQ(readAll(t.prefix() + QStringLiteral("/user.reg")), user);
}
