#include "catalog/c_registry.h"
#include "qt_print.h"
#include "small_machine.h"
#include "text/error.h"

#include <gtest/gtest.h>

// The catalog builders' tests read the real prefix through cRegistry; these cover the
// conversions and write rules it adds to the Store.
using namespace vantor;
using namespace vantor::registry;

namespace {

// Values of every type, in a version-5 export so that any character can be stored.
const QString kExport = QStringLiteral(
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CLASSES_ROOT\\Edge]\r\n"
    "@=\"default\"\r\n"
    "\"Two\"=hex(1):61,00,00,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"BE\"=hex(5):00,00,00,01\r\n"
    "\"Num\"=dword:ffffffff\r\n"
    "\"Bin\"=hex:01,02\r\n"
    "\"Greek\"=\"\u03a9mega\"\r\n"
    "\"Exp\"=hex(2):25,00,77,00,25,00,5c,00,78,00,00,00\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment]\r\n"
    "\"w\"=\"D:\"\r\n");

cRegistry at(Store& store, const QString& section, const QString& value = {}) {
    cRegistry reg(store);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(section);
    reg.setValueKey(value);
    return reg;
}

// The number of the error a call raises; 0 when it raises none.
template <class Call> int errorOf(Call call) {
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(cRegistry, ValuesReadByTheirTypeAndTheirNames) {
    SmallMachine m(kExport);
    Store& s = m.store();
    EXPECT_EQ(at(s, "Edge", "").Value(), QVariant(QStringLiteral("default")));
    // Every NUL but the last stays.
    EXPECT_EQ(at(s, "Edge", "Two").Value(), QVariant(QStringLiteral("a") + QChar(0)));
    EXPECT_EQ(at(s, "Edge", "Multi").Value(),
              QVariant(QStringLiteral("a") + QChar(0) + u'b' + QChar(0)));
    EXPECT_EQ(at(s, "Edge", "BE").Value(), QVariant(1));
    EXPECT_EQ(at(s, "Edge", "Num").Value(), QVariant(-1));
    EXPECT_EQ(at(s, "Edge", "Bin").Value(), QVariant(QByteArray("\1\2")));
    EXPECT_EQ(at(s, "Edge", "Greek").Value(), QVariant(QStringLiteral("?mega")));
    EXPECT_EQ(at(s, "Edge", "Exp").Value(), QVariant(QStringLiteral("D:\\x")));

    cRegistry reg = at(s, "edge\\", "BE");
    reg.setDefault(QStringLiteral("none"));
    EXPECT_EQ(reg.Value(), QVariant(1));
    EXPECT_EQ(reg.ValueType(), 5);
    reg.setValueKey(QStringLiteral("Missing"));
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("none")));
    EXPECT_EQ(reg.ValueType(), 5); // untouched by a failed read
    reg.setClassKey(0);
    reg.setValueKey(QString());
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("none")));

    // Value names: 1-based, replacing whatever the list held.
    QStringList names{"stale"};
    qint32 count = 0;
    EXPECT_TRUE(at(s, "Edge").EnumerateValues(names, count));
    EXPECT_EQ(count, 8);
    EXPECT_EQ(names.mid(0, 3), QStringList({"", "", "Two"}));
    EXPECT_TRUE(at(s, "Nowhere").EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.isEmpty());
}

TEST(cRegistry, WritesByValueType) {
    SmallMachine m(kExport);
    Store& s = m.store();
    cRegistry reg = at(s, "Written", "S");
    reg.setValueType(1);
    // Two percent signs with something between make an expandable string.
    reg.setValue(QStringLiteral("%a%"));
    EXPECT_EQ(s.value(Root::ClassesRoot, u"Written", u"S")->type, 2u);
    reg.setValue(QStringLiteral("100%%"));
    EXPECT_EQ(s.value(Root::ClassesRoot, u"Written", u"S")->type, 1u);

    reg.setValueKey(QStringLiteral("N"));
    reg.setValueType(5);
    reg.setValue(42);
    EXPECT_EQ(reg.Value(), QVariant(42));
    EXPECT_EQ(reg.ValueType(), 4);
    // Not an integer: nothing is written, and the caller hears of it.
    EXPECT_EQ(errorOf([&] { reg.setValue(QStringLiteral("7")); }), int(0x800469A9));
    EXPECT_EQ(reg.Value(), QVariant(42));

    reg.setValueKey(QStringLiteral("B"));
    reg.setValueType(3);
    reg.setValue(QByteArray("\0\1", 2));
    EXPECT_EQ(reg.Value(), QVariant(QByteArray("\0\1", 2)));
    EXPECT_EQ(errorOf([&] { reg.setValue(QStringLiteral("x")); }), 26001);
    reg.setValueType(0);
    EXPECT_EQ(errorOf([&] { reg.setValue(QStringLiteral("v")); }), int(0x800469A9));
    reg.setClassKey(0);
    EXPECT_EQ(errorOf([&] { reg.CreateKey(); }), 26001);
}
