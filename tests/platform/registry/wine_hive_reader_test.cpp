#include "platform/registry/tree_compare.h"
#include "platform/registry/value_type.h"
#include "platform/registry/wine_hive_reader.h"
#include "platform/registry/wine_hive_writer.h"
#include "qt_print.h"
#include "text/error.h"

#include <QSet>
#include <cstring>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;
using namespace vantor::registry::test;

namespace {

Hive parse(const QByteArray& text, ParseIssues& issues) {
    Hive hive;
    readWineHive(text, QStringLiteral("t.reg"), hive, hive.root(), issues);
    return hive;
}

QByteArray utf16z(const QString& s) {
    QByteArray out(reinterpret_cast<const char*>(s.utf16()), (s.size() + 1) * 2);
    return out;
}

// The real hive files, read line by line with plain Qt string handling (independent of the
// reader under test): key lines, and per key the raw value lines with continuations joined.
struct RawHive {
    QSet<QString> keyPaths; // every path prefix, lower-cased raw text
    int valueLines = 0;
    QList<std::pair<QString, QString>> values; // (raw key path, joined value line)
};

RawHive scan(const QByteArray& text) {
    RawHive raw;
    const QList<QByteArray> lines = text.split('\n');
    QString key;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = QString::fromUtf8(lines[i]);
        if (line.startsWith(u'[')) {
            key = line.mid(1, line.lastIndexOf(u']') - 1);
            const QStringList parts = key.split(QStringLiteral("\\\\"));
            for (qsizetype n = 1; n <= parts.size(); ++n)
                raw.keyPaths.insert(parts.first(n).join(u'\n').toLower());
        } else if (line.startsWith(u'@') || line.startsWith(u'"')) {
            while (line.endsWith(u'\\') && i + 1 < lines.size())
                line = line.chopped(1) + QString::fromUtf8(lines[++i]).trimmed();
            ++raw.valueLines;
            raw.values.append({key, line});
        }
    }
    return raw;
}

int countValues(const Key* key) {
    int n = int(key->values().size());
    for (const Key* s : key->subkeys())
        n += countValues(s);
    return n;
}

// The key of a raw path whose components hold no escapes.
const Key* findPlain(const Hive& hive, const QString& rawPath) {
    return hive.find(hive.root(),
                     QString(rawPath).replace(QStringLiteral("\\\\"), QStringLiteral("\\")));
}

} // namespace

TEST(WineHiveReader, RealHivesHaveEveryKeyAndValueOfTheirText) {
    int checked = 0;
    int valueLines = 0;
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        SCOPED_TRACE(name);
        const QByteArray text = readAll(primaryHive(name));
        ASSERT_FALSE(text.isEmpty());
        ParseIssues issues;
        const Hive hive = parse(text, issues);
        EXPECT_TRUE(issues.empty());
        const RawHive raw = scan(text);
        EXPECT_EQ(countKeys(hive.root()), raw.keyPaths.size());
        EXPECT_EQ(countValues(hive.root()), raw.valueLines);

        // Values whose text holds no escapes, decoded here the simple way.
        valueLines += raw.valueLines;
        for (const auto& [path, line] : raw.values) {
            if (path.contains(u'\\') && path.count(QStringLiteral("\\\\")) * 2 != path.count(u'\\'))
                continue;
            const Key* key = findPlain(hive, path);
            ASSERT_NE(key, nullptr) << path.toStdString();
            const qsizetype eq =
                line.startsWith(u'@') ? 1 : line.indexOf(QStringLiteral("\"="), 1) + 1;
            const QString valueName = line.startsWith(u'@') ? QString() : line.mid(1, eq - 2);
            if (valueName.contains(u'\\'))
                continue;
            const QString data = line.mid(eq + 1);
            const Value* v = key->value(valueName);
            ASSERT_NE(v, nullptr) << line.toStdString();
            if (data.startsWith(u'"') && !data.contains(u'\\')) {
                EXPECT_EQ(v->type(), RegSz);
                EXPECT_EQ(v->data(), utf16z(data.mid(1, data.size() - 2)));
            } else if (data.startsWith(QStringLiteral("dword:"))) {
                EXPECT_EQ(v->type(), RegDword);
                const quint32 n = data.mid(6).toUInt(nullptr, 16);
                EXPECT_EQ(v->data(), QByteArray(reinterpret_cast<const char*>(&n), 4));
            } else if (data.startsWith(QStringLiteral("hex"))) {
                const qsizetype colon = data.indexOf(u':');
                const QString typeText = data.left(colon);
                const quint32 type =
                    typeText == u"hex" ? 3 : typeText.mid(4).chopped(1).toUInt(nullptr, 16);
                QByteArray bytes;
                for (const QString& b : data.mid(colon + 1).split(u',', Qt::SkipEmptyParts))
                    bytes.append(char(b.trimmed().toInt(nullptr, 16)));
                EXPECT_EQ(v->type(), type) << line.toStdString();
                EXPECT_EQ(v->data(), bytes) << line.toStdString();
            } else {
                continue;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, valueLines / 2);
}

TEST(WineHiveReader, KeysMatchWhateverTheSpelling) {
    ParseIssues issues;
    const Hive hive = parse(readAll(primaryHive("system.reg")), issues);
    const Key* lib = hive.find(
        hive.root(), u"software\\CLASSES\\TypeLib\\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}\\1.0\\");
    ASSERT_NE(lib, nullptr);
    ASSERT_NE(lib->value(u""), nullptr);
    EXPECT_EQ(lib->value(u"")->text(),
              QStringLiteral("Windows Script Host Object Model") + QChar(0));
    EXPECT_EQ(lib->parent()->parent()->name(), u"Typelib"); // stored as written
    // A key with no line of its own exists because its descendants do.
    EXPECT_TRUE(lib->parent()->values().empty());
    // Links are marked and keep their target.
    const Key* link = hive.find(hive.root(), u"Software\\Classes\\Wow6432Node\\TypeLib");
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->isLink());
    EXPECT_EQ(link->value(u"SymbolicLinkValue")->text(),
              QStringLiteral("\\Registry\\Machine\\Software\\Classes\\TypeLib"));
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
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->subkeys().size(), 2u);
    const Key* key = a->subkey(u"B[x]");
    ASSERT_NE(key, nullptr);
    const Key* uni = key->subkey(QString::fromUtf16(u"\U0001F30EAz"));
    ASSERT_NE(uni, nullptr);
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
    // "[a\\b]" goes below the same "A", whatever the case.
    EXPECT_NE(a->subkey(u"B")->value(u"second"), nullptr);
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
    EXPECT_NE(good->value(u"G"), nullptr);
    std::vector<int> lines;
    for (const ParseIssue& i : issues) {
        EXPECT_EQ(i.file, QStringLiteral("t.reg"));
        EXPECT_FALSE(i.reason.isEmpty());
        lines.push_back(i.line);
    }
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 7, 8, 9, 11, 12}));
}

TEST(WineHiveReader, TextThatIsNoHiveIsAnError) {
    ParseIssues issues;
    Hive hive;
    EXPECT_THROW(readWineHive("REGEDIT4\n[HKEY_CLASSES_ROOT\\x]\n", QStringLiteral("x"), hive,
                              hive.root(), issues),
                 Error);
    EXPECT_THROW(readWineHive("", QStringLiteral("x"), hive, hive.root(), issues), Error);
    EXPECT_THROW(
        readWineHiveFile(QStringLiteral("/nonexistent/system.reg"), hive, hive.root(), issues),
        Error);
    EXPECT_TRUE(issues.empty());
    EXPECT_TRUE(hive.root()->subkeys().empty());
}

TEST(WineHiveWriter, RealHivesRoundTrip) {
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        SCOPED_TRACE(name);
        ParseIssues issues;
        const Hive first = parse(readAll(primaryHive(name)), issues);
        const QByteArray written = writeWineHive(first.root(), QStringLiteral("REGISTRY\\Machine"));
        const Hive second = parse(written, issues);
        EXPECT_TRUE(issues.empty());
        EXPECT_EQ(treeDifferences(first.root(), second.root()), "");
    }
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
