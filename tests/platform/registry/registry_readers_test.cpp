#include "platform/registry/reg_export.h"
#include "platform/registry/reg_file_reader.h"
#include "platform/registry/tree_compare.h"
#include "platform/registry/value_type.h"
#include "platform/registry/wine_hive_reader.h"
#include "platform/registry/wine_hive_writer.h"
#include "qt_print.h"
#include "test_files.h"
#include "text/error.h"
#include "text/win1252.h"

#include <QSet>
#include <cstring>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;
using namespace vantor::registry::test;
using vantor::test::readFile;
using vantor::test::utf16z;

namespace {

Hive parse(const QByteArray& text, ParseIssues& issues) {
    Hive hive;
    readWineHive(text, QStringLiteral("t.reg"), hive, hive.root(), issues);
    return hive;
}

int countValues(const Key* key) {
    int n = int(key->values().size());
    for (const Key* s : key->subkeys())
        n += countValues(s);
    return n;
}

// Checks a value line (continuations joined) whose text holds no escapes, decoded here the
// simple way, against the key read from it; false when the line was not checked.
bool decodesAsWritten(const Key* key, const QString& line) {
    const qsizetype eq = line.startsWith(u'@') ? 1 : line.indexOf(QStringLiteral("\"="), 1) + 1;
    const QString valueName = line.startsWith(u'@') ? QString() : line.mid(1, eq - 2);
    const QString data = line.mid(eq + 1);
    if (!key || valueName.contains(u'\\'))
        return false;
    const Value* v = key->value(valueName);
    EXPECT_NE(v, nullptr) << line.toStdString();
    if (!v)
        return false;
    if (data.startsWith(u'"') && !data.contains(u'\\')) {
        EXPECT_EQ(v->type(), RegSz);
        EXPECT_EQ(v->data(), utf16z(data.mid(1, data.size() - 2)));
    } else if (data.startsWith(QStringLiteral("dword:"))) {
        const quint32 n = data.mid(6).toUInt(nullptr, 16);
        EXPECT_EQ(v->type(), RegDword);
        EXPECT_EQ(v->data(), QByteArray(reinterpret_cast<const char*>(&n), 4));
    } else if (data.startsWith(QStringLiteral("hex"))) {
        const qsizetype colon = data.indexOf(u':');
        const QString typeText = data.left(colon);
        QByteArray bytes;
        for (const QString& b : data.mid(colon + 1).split(u',', Qt::SkipEmptyParts))
            bytes.append(char(b.trimmed().toInt(nullptr, 16)));
        EXPECT_EQ(v->type(),
                  typeText == u"hex" ? 3 : typeText.mid(4).chopped(1).toUInt(nullptr, 16))
            << line.toStdString();
        EXPECT_EQ(v->data(), bytes) << line.toStdString();
    } else {
        return false;
    }
    return true;
}

} // namespace

// The real hive files against their text, read line by line with plain Qt string handling
// (independent of the reader under test): every key path and value line is in the tree; the
// writer writes the same tree back.
TEST(WineHiveReader, RealHivesHaveEveryKeyAndValueOfTheirTextAndWriteBack) {
    int checked = 0, valueLines = 0;
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        SCOPED_TRACE(name);
        const QByteArray text = readFile(primaryHive(name));
        ASSERT_FALSE(text.isEmpty());
        ParseIssues issues;
        const Hive hive = parse(text, issues);
        EXPECT_TRUE(issues.empty());
        QSet<QString> keyPaths; // every path prefix, lower-cased raw text
        int values = 0;
        const Key* key = nullptr; // only for paths without escapes
        const QList<QByteArray> lines = text.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QString line = QString::fromUtf8(lines[i]);
            if (line.startsWith(u'[')) {
                const QString path = line.mid(1, line.lastIndexOf(u']') - 1);
                const QStringList parts = path.split(QStringLiteral("\\\\"));
                for (qsizetype n = 1; n <= parts.size(); ++n)
                    keyPaths.insert(parts.first(n).join(u'\n').toLower());
                const bool plain = path.count(u'\\') == 2 * (parts.size() - 1);
                key = plain ? hive.find(hive.root(), parts.join(u'\\')) : nullptr;
                EXPECT_TRUE(key || !plain) << path.toStdString();
            } else if (line.startsWith(u'@') || line.startsWith(u'"')) {
                while (line.endsWith(u'\\') && i + 1 < lines.size())
                    line = line.chopped(1) + QString::fromUtf8(lines[++i]).trimmed();
                ++values;
                checked += decodesAsWritten(key, line);
            }
        }
        EXPECT_EQ(countKeys(hive.root()), keyPaths.size());
        EXPECT_EQ(countValues(hive.root()), values);
        valueLines += values;
        // And written back, they read as the same tree.
        const Hive again =
            parse(writeWineHive(hive.root(), QStringLiteral("REGISTRY\\Machine")), issues);
        EXPECT_TRUE(issues.empty());
        EXPECT_EQ(treeDifferences(hive.root(), again.root()), "");
    }
    EXPECT_GT(checked, valueLines / 2);
}

TEST(WineHiveReader, EscapesAndValueForms) {
    const QByteArray text = "WINE REGISTRY Version 2\n"
                            ";; comment\n"
                            "#arch=win64\n"
                            "\n"
                            "[A\\\\B\\[x\\]\\\\\\xd83c\\xdf0e\\x41z] 1\r\n"
                            "#time=1dd85595eda2872\n"
                            "@=\"tab\\there \\\"q\\\" \\0017\\x41\\\\\"\n"
                            "\"M\"=str(7):\"a\\0b\\0\"\n"
                            "\"E\"=str(2):\"%SystemRoot%\"\n"
                            "\"D\"=dword:0000002a\n"
                            "\"Q\"=hex(b):01,02,03,04,\\\n"
                            "  05,06,07,08\n"
                            "\"N\"=hex(ffff0007):\n"
                            "\"U\"=\"\xc3\xa9\"\n"
                            "[a\\\\b] 2\n"
                            "\"Second\"=\"line\"\n";
    ParseIssues issues;
    const Hive hive = parse(text, issues);
    EXPECT_TRUE(issues.empty());
    const Key* a = hive.root()->subkey(u"A");
    const Key* uni = hive.find(hive.root(), QString::fromUtf16(u"A\\B[x]\\\U0001F30EAz"));
    ASSERT_TRUE(a && uni);
    ASSERT_EQ(a->subkeys().size(), 2u);
    EXPECT_EQ(uni->value(u"")->text(),
              QStringLiteral("tab\there \"q\" ") + QChar(1) + QStringLiteral("7A\\") + QChar(0));
    EXPECT_EQ(uni->value(u"m")->type(), RegMultiSz);
    EXPECT_EQ(uni->value(u"M")->data(), utf16z(QStringLiteral("a") + QChar(0) + u'b' + QChar(0)));
    EXPECT_EQ(uni->value(u"E")->type(), RegExpandSz);
    EXPECT_EQ(uni->value(u"D")->data(), QByteArray("\x2a\0\0\0", 4));
    EXPECT_EQ(uni->value(u"Q")->type(), RegQword);
    EXPECT_EQ(uni->value(u"Q")->data(), QByteArray("\1\2\3\4\5\6\7\x8"));
    EXPECT_EQ(uni->value(u"N")->type(), 0xffff0007u);
    EXPECT_TRUE(uni->value(u"N")->data().isEmpty());
    EXPECT_EQ(uni->value(u"U")->text(), QString::fromUtf16(u"\u00e9") + QChar(0));
    // "[a\\b]" goes below the same "A", whatever the case; names keep their first spelling.
    EXPECT_NE(a->subkey(u"B")->value(u"second"), nullptr);
    EXPECT_EQ(a->name(), u"A");
}

TEST(WineHiveReader, MalformedLinesAreSkippedAndReported) {
    const QByteArray text = "WINE REGISTRY Version 2\n"
                            "[Good] 1\n"
                            "\"A\"=\"1\"\n"
                            "\"B\"=dword:zz\n"
                            "\"C\"=hex:01,0g,\\\n"
                            "  02,03\n"
                            "[Broken\n"
                            "\"D\"=\"lost\"\n"
                            "junk\n"
                            "[Good] 1\n"
                            "\"E\"=\"unterminated\n"
                            "\"F\"=\"2\" trailing\n"
                            "\"G\"=\"3\"\n";
    ParseIssues issues;
    const Hive hive = parse(text, issues);
    const Key* good = hive.root()->subkey(u"Good");
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->values().size(), 2u); // A and G
    std::vector<int> lines;
    for (const ParseIssue& i : issues) {
        EXPECT_EQ(i.file, QStringLiteral("t.reg"));
        EXPECT_FALSE(i.reason.isEmpty());
        lines.push_back(i.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 7, 8, 9, 11, 12}));
}

// Each reader refuses the other's format, empty text and a missing file, adding nothing.
TEST(RegistryReaders, TextThatIsNoHiveOrExportIsAnError) {
    ParseIssues issues;
    Hive hive;
    EXPECT_THROW(readWineHive("REGEDIT4\n[HKEY_CLASSES_ROOT\\x]\n", QStringLiteral("x"), hive,
                              hive.root(), issues),
                 Error);
    EXPECT_THROW(readWineHive("", QStringLiteral("x"), hive, hive.root(), issues), Error);
    EXPECT_THROW(
        readWineHiveFile(QStringLiteral("/nonexistent/system.reg"), hive, hive.root(), issues),
        Error);
    EXPECT_THROW(readRegText("WINE REGISTRY Version 2\n", QStringLiteral("x"), hive, issues),
                 Error);
    EXPECT_THROW(readRegText(QByteArray(), QStringLiteral("x"), hive, issues), Error);
    EXPECT_THROW(readRegFile(QStringLiteral("/nonexistent.reg"), hive, issues), Error);
    EXPECT_TRUE(issues.empty());
    EXPECT_TRUE(hive.root()->subkeys().empty());
}

TEST(WineHiveWriter, WritesEveryCharacterBackExactly) {
    Hive hive;
    QString tricky;
    for (char16_t c = 0; c < 0x200; ++c)
        tricky += QChar(c);
    tricky += QStringLiteral("\\x0\\0\"[]") + QChar(0xd83c) + QChar(0xdf0e) + QStringLiteral("f7");
    QString keyName = tricky;
    keyName.remove(QChar(0)).remove(u'\\');
    Key* key = hive.createPath(hive.root(), keyName);
    hive.setValue(key, tricky, RegSz, utf16z(tricky));
    hive.setValue(key, u"odd", RegSz, QByteArray("abc"));
    hive.setValue(key, u"short", RegDword, QByteArray("ab"));
    hive.setValue(key, u"empty key below", RegNone, {});
    hive.createPath(key, u"empty");
    const QByteArray written = writeWineHive(hive.root(), QStringLiteral("REGISTRY\\Machine"));
    for (char c : written)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    ParseIssues issues;
    const Hive back = parse(written, issues);
    EXPECT_TRUE(issues.empty());
    EXPECT_EQ(treeDifferences(hive.root(), back.root()), "");
}

namespace {

QByteArray utf16(const QString& s) {
    QByteArray out("\xFF\xFE");
    out.append(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
    return out;
}

// #link lines of a hive file, counted from its text.
int linkLines(const char* name) {
    int n = 0;
    for (const QByteArray& line : readFile(primaryHive(name)).split('\n'))
        n += line.trimmed() == "#link";
    return n;
}

} // namespace

// The real hives exported as regedit writes them and read back.
TEST(RegFileReader, ExportsOfTheRealHivesRoundTrip) {
    int skipped = 0;
    ParseIssues issues;
    Hive back;
    for (const auto& [name, root] :
         {std::pair{"system.reg", "HKEY_LOCAL_MACHINE"}, {"user.reg", "HKEY_CURRENT_USER"}}) {
        const Hive hive = parse(readFile(primaryHive(name)), issues);
        readRegText(exportReg(hive.root(), QLatin1String(root), skipped), QLatin1String(name), back,
                    issues);
        EXPECT_EQ(treeDifferences(hive.root(), back.root()->subkey(QString::fromLatin1(root)),
                                  [](const Key* k) { return k->isLink(); }),
                  "");
    }
    EXPECT_TRUE(issues.empty());
    EXPECT_EQ(skipped, linkLines("system.reg") + linkLines("user.reg"));
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
