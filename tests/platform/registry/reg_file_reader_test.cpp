#include "platform/registry/reg_export.h"
#include "platform/registry/reg_file_reader.h"
#include "platform/registry/tree_compare.h"
#include "platform/registry/value_type.h"
#include "platform/registry/wine_hive_reader.h"
#include "qt_print.h"
#include "text/error.h"
#include "text/win1252.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;
using namespace vantor::registry::test;

namespace {

Hive readHive(const char* name) {
    Hive hive;
    ParseIssues issues;
    readWineHive(readAll(primaryHive(name)), QString::fromLatin1(name), hive, hive.root(), issues);
    return hive;
}

QByteArray utf16(const QString& s) {
    QByteArray out("\xFF\xFE");
    out.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return out;
}

QByteArray utf16z(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), (s.size() + 1) * 2);
}

// #link lines of a hive file, counted from its text.
int linkLines(const char* name) {
    int n = 0;
    for (const QByteArray& line : readAll(primaryHive(name)).split('\n'))
        n += line.trimmed() == "#link";
    return n;
}

// Exports both real hives in `form` and reads them back; returns how many keys were left out.
int roundTrip(RegForm form) {
    int skipped = 0;
    const Hive machine = readHive("system.reg");
    const Hive user = readHive("user.reg");
    Hive back;
    ParseIssues issues;
    readRegText(exportReg(machine.root(), QStringLiteral("HKEY_LOCAL_MACHINE"), form, skipped),
                QStringLiteral("machine.reg"), back, issues);
    readRegText(exportReg(user.root(), QStringLiteral("HKEY_CURRENT_USER"), form, skipped),
                QStringLiteral("user.reg"), back, issues);
    EXPECT_TRUE(issues.empty());
    auto skip = [form](const Key* k) {
        return k->isLink() || (form == RegForm::Regedit4 && !regedit4CanHold(k));
    };
    EXPECT_EQ(treeDifferences(machine.root(), back.root()->subkey(u"HKEY_LOCAL_MACHINE"), skip),
              "");
    EXPECT_EQ(treeDifferences(user.root(), back.root()->subkey(u"hkey_current_user"), skip), "");
    return skipped;
}

} // namespace

TEST(RegFileReader, ExportsOfTheRealHivesRoundTrip) {
    const int links = linkLines("system.reg") + linkLines("user.reg");
    EXPECT_EQ(roundTrip(RegForm::Version5), links);
    // REGEDIT4 also leaves out at least user.reg's key named outside Windows-1252.
    EXPECT_GT(roundTrip(RegForm::Regedit4), links);
}

TEST(RegFileReader, ValuesDeletionsAndContinuations) {
    const QString text = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "; comment\r\n"
        "[HKEY_CLASSES_ROOT\\Foo.Bar]\r\n"
        "@=\"Foo \\\"Bar\\\" C:\\\\x\\nY\"\r\n"
        "\"Num\"=dword:0000002a\r\n"
        "\"Exp\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,00,\\\r\n"
        "  25,00,00,00\r\n"
        "\"Gone\"=\"x\"\r\n"
        "\"Gone\"=-\r\n"
        "\"Bin\"=hex: 01 , 02\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\Foo.Bar\\CLSID]\r\n"
        "@=\"{1}\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\Doomed\\Child]\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Doomed]\r\n"
        "[HKCU\\Software\\Abbreviated]\r\n"
        "\"Lost\"=\"1\"\r\n"
        "[HKEY_LOCAL_MACHINE\\Software]\r\n"
        "\"Bad\"=dword:xyz\r\n"
        "\"Broken\"=hex:01,zz,\\\r\n"
        "  02\r\n"
        "\"After\"=\"ok\"\r\n");
    Hive hive;
    ParseIssues issues;
    readRegText(utf16(text), QStringLiteral("x.reg"), hive, issues);
    const Key* foo = hive.find(hive.root(), u"HKEY_CLASSES_ROOT\\foo.bar");
    ASSERT_NE(foo, nullptr);
    EXPECT_EQ(foo->value(u"")->text(), QStringLiteral("Foo \"Bar\" C:\\x\nY") + QChar(0));
    EXPECT_EQ(foo->value(u"num")->data(), QByteArray("\x2a\0\0\0", 4));
    EXPECT_EQ(foo->value(u"Exp")->type(), RegExpandSz);
    EXPECT_EQ(foo->value(u"Exp")->data(), utf16z(QStringLiteral("%SystemRoot%")));
    EXPECT_EQ(foo->value(u"Gone"), nullptr);
    EXPECT_EQ(foo->value(u"Bin")->data(), QByteArray("\1\2"));
    EXPECT_NE(foo->subkey(u"CLSID"), nullptr);
    const Key* software = hive.find(hive.root(), u"HKEY_CURRENT_USER\\Software");
    ASSERT_NE(software, nullptr);
    EXPECT_TRUE(software->subkeys().empty());
    const Key* lm = hive.find(hive.root(), u"HKEY_LOCAL_MACHINE\\Software");
    ASSERT_NE(lm, nullptr);
    EXPECT_NE(lm->value(u"After"), nullptr);
    std::vector<int> lines;
    for (const ParseIssue& i : issues)
        lines.push_back(i.line);
    EXPECT_EQ(lines, (std::vector<int>{17, 18, 20, 21}));
}

TEST(RegFileReader, Regedit4StringsAreWindows1252) {
    const QByteArray text = "REGEDIT4\r\n\r\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Caf\xe9]\r\n"
                            "\"Price\"=\"\x80 5\"\r\n"
                            "\"Exp\"=hex(2):25,80,25,00\r\n"
                            "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                            "\"Raw\"=hex(3):80\r\n";
    Hive hive;
    ParseIssues issues;
    readRegText(text, QStringLiteral("x.reg"), hive, issues);
    EXPECT_TRUE(issues.empty());
    const Key* key =
        hive.find(hive.root(), QString::fromUtf16(u"HKEY_LOCAL_MACHINE\\Software\\CAF\u00c9"));
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->name(), QString::fromUtf16(u"Caf\u00e9"));
    EXPECT_EQ(key->value(u"Price")->data(), utf16z(QString::fromUtf16(u"\u20ac 5")));
    EXPECT_EQ(key->value(u"Exp")->data(), utf16z(QString::fromUtf16(u"%\u20ac%")));
    EXPECT_EQ(key->value(u"Multi")->data(),
              utf16z(QStringLiteral("a") + QChar(0) + u'b' + QChar(0)));
    EXPECT_EQ(key->value(u"Raw")->data(), QByteArray("\x80"));
}

TEST(RegFileReader, TextThatIsNoExportIsAnError) {
    Hive hive;
    ParseIssues issues;
    EXPECT_THROW(readRegText("WINE REGISTRY Version 2\n", QStringLiteral("x"), hive, issues),
                 Error);
    EXPECT_THROW(readRegText(QByteArray(), QStringLiteral("x"), hive, issues), Error);
    EXPECT_THROW(readRegFile(QStringLiteral("/nonexistent.reg"), hive, issues), Error);
    EXPECT_TRUE(hive.root()->subkeys().empty());
}
