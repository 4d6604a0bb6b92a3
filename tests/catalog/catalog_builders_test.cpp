#include "catalog/bin_search.h"
#include "catalog/c_registry.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "qt_print.h"
#include "recording_frame.h"
#include "small_machine.h"
#include "text/text_order.h"
#include "text/win1252.h"
#include "tli/tli_machine.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::registry;

namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? win1252::decode(file.readAll()) : QString();
}

QStringList records(const QString& path) {
    QStringList lines = readText(path).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.last(), QString()) << "a catalog ends with exactly one CR LF";
    lines.removeLast();
    lines.removeFirst();
    return lines;
}

// A key of HKEY_CLASSES_ROOT in a REGEDIT4 export, with its default string if given.
QString key(const QString& path, const QString& value = {}) {
    QString text = "[HKEY_CLASSES_ROOT\\" + path + "]\r\n";
    if (!value.isNull())
        text += "@=\"" + QString(value).replace("\\", "\\\\") + "\"\r\n";
    return text;
}

// Stands in for the type information component's library names.
class FakeNames : public TypeLibraryServices {
public:
    QString registeredLibraryName(const QString&, int major, int minor, int lcid) override {
        return QStringLiteral("Lib_%1_%2_%3").arg(major).arg(minor).arg(lcid);
    }
    void registerLibraryFile(const QString&) override {}
};

} // namespace

TEST(CatalogBuilders, TypeLibRecordsFollowTheRegistryRules) {
    const QString b = "TypeLib\\{B0000000-0000-0000-0000-000000000002}\\";
    const QString a = "TypeLib\\{a0000000-0000-0000-0000-000000000001}\\1.0";
    SmallMachine m(
        "REGEDIT4\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Nls\\Language]\r\n"
        "\"Default\"=\"0407\"\r\n" +
        key(b + "2.10", "Second, with comma") + key(b + "2.10\\409\\win32", "c:\\en.dll") +
        key(b + "1.a") + "@=hex(1):48,69,09,21,00\r\n" + key(b + "1.a\\407\\win16") +
        "@=hex(1):63,3a,5c,31,36,00,00\r\n" + key(a) + key(a + "\\7\\win32", "c:\\elsewhere.dll") +
        key("TypeLib\\{BAD00000-0000-0000-0000-000000000003}"));
    RegistryCatalogBuilders builders(m.store(), m.programFolder(), nullptr, nullptr);
    EXPECT_EQ(builders.systemLocale(), 1031);
    RecordingFrame frame;
    builders.EnumTL(frame);
    EXPECT_EQ(records(m.file("dbTypes.dat")),
              (QStringList{
                  // Only locale 7: not one that is looked for, so no path.
                  "{a0000000-0000-0000-0000-000000000001}, 1.0, No help, c:\\ImNotThere1.dll, "
                  "LibName",
                  // Versions in text order and in decimal; the system locale's path (its key is
                  // named in hexadecimal); a control character becomes a blank; the trailing NUL
                  // of the path goes.
                  "{B0000000-0000-0000-0000-000000000002}, 1.10, Hi !, c:\\16, LibName",
                  "{B0000000-0000-0000-0000-000000000002}, 2.16, \"Second, with comma\", "
                  "c:\\en.dll, LibName",
              }));
    const QString log = readText(m.file("TLError.log"));
    EXPECT_TRUE(log.contains(" :Refresh dbTypes.dat with 3 keys.\r\n"));
    EXPECT_TRUE(log.contains(
        " Unprintable Control Chars found in help_string for TL GUID={B0000000-0000-0000-0000-"
        "000000000002}\r\n"));
    EXPECT_TRUE(
        log.contains(" Empty sub-keys at TL GUID={BAD00000-0000-0000-0000-000000000003}\r\n"));

    // A second run replaces the catalog, asks for names in the locale found, and logs again.
    FakeNames names;
    RegistryCatalogBuilders named(m.store(), m.programFolder(), &names, nullptr);
    named.setDefineLibNameOnRefresh(true);
    named.EnumTL(frame);
    const QStringList again = records(m.file("dbTypes.dat"));
    EXPECT_TRUE(again.value(1).endsWith(", Lib_1_10_1031"));
    EXPECT_TRUE(again.value(2).endsWith(", Lib_2_16_1033"));
    EXPECT_EQ(readText(m.file("TLError.log")).count(" :Refresh dbTypes.dat"), 2);
}

TEST(CatalogBuilders, ProgIdRulesAndBackReferences) {
    const QString shared = "{C0000000-0000-0000-0000-000000000001}";
    const QString other = "C0000000-0000-0000-0000-000000000002";
    SmallMachine m("REGEDIT4\r\n\r\n" + key("A.One\\CLSID", shared) + key("A.Two\\CLSID", shared) +
                   key("A.Twofile\\CLSID", shared) + key("A.Three\\CLSID", shared.toLower()) +
                   key("CLSID\\" + shared, "Shared, class") +
                   key("CLSID\\" + shared + "\\InProcServer32", "c:\\s.dll") +
                   key("CLSID\\" + shared + "\\TypeLib", "D0000000-0000-0000-0000-000000000009") +
                   key("abcfile\\CLSID", other) +
                   key("CLSID\\{" + other + "}\\LocalServer32", "c:\\ls32.exe") +
                   key("CLSID\\{" + other + "}\\TypeLib", "{short}") +
                   key("htmlfile\\CLSID", shared) + key("has space\\CLSID", shared) +
                   key("Bad.Clsid\\CLSID", "{123}") + key("NoClass"));
    RegistryCatalogBuilders builders(m.store(), m.programFolder(), nullptr, nullptr);
    RecordingFrame frame;
    builders.EnumPID(frame);
    const QString full = ", \"Shared, class\", c:\\s.dll, {D0000000-0000-0000-0000-000000000009}";
    EXPECT_EQ(records(m.file("dbPID.dat")),
              (QStringList{
                  "A.One, " + shared + full,
                  // A.Twofile is skipped ("file" near its end) without breaking the run.
                  "A.Three, -1, -1, -1, -1",
                  "A.Two, -2, -2, -2, -2",
                  // Seven characters: not a file type; LocalServer32 is no server it looks at.
                  "abcfile, {C0000000-0000-0000-0000-000000000002}, abcfile, Not Found, *",
                  "htmlfile, " + shared + full,
              }));
    EXPECT_TRUE(readText(m.file("TLError.log"))
                    .contains("Bad CLSID: at ProgID key=Bad.Clsid CLSID={123}\r\n"));
}

namespace {

// (GUID, version) pairs, the root keys that may be ProgIDs and ProgID -> CLSID, counted from
// the text of the real hives.
struct HiveFacts {
    QSet<QString> versions;
    QSet<QString> rootKeys;
    QHash<QString, QString> progIdClasses;
};

HiveFacts hiveFacts() {
    // A key of the classes with the default value that may follow its time stamp and comments.
    static const QRegularExpression classKey(
        QStringLiteral(R"(^\[Software\\\\Classes\\\\([^\]]+)\][^\n]*\n(?:#[^\n]*\n)*)"
                       R"x((?:@="([^"]*)")?)x"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    HiveFacts facts;
    for (const char* name : {"system.reg", "user.reg"}) {
        const QString text = readText(QStringLiteral(VANTOR_TESTDATA_DIR "/wine-prefix/") + name);
        for (auto it = classKey.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            const QStringList path = match.captured(1).toLower().split(QStringLiteral("\\\\"));
            if (path[0] == "typelib" && path.size() > 2)
                facts.versions.insert(path[1] + ", " + path[2]);
            if (path[0].startsWith(u'{') || path[0].startsWith(u'.') || path[0].startsWith(u'*'))
                continue;
            facts.rootKeys.insert(path[0]);
            if (path.size() == 2 && path[1] == "clsid")
                facts.progIdClasses.insert(path[0], match.captured(2));
        }
    }
    return facts;
}

} // namespace

// The test prefix with the type information component: the script host is registered from the
// machine's system32, every record matches the hives, and "Define Libname on Refresh" writes
// each library's own name.
TEST(CatalogBuilders, RealPrefixRebuildAndReadBack) {
    tli::testing::PrefixMachine machine;
    ASSERT_TRUE(machine.valid());
    const registry::test::TestPrefix& prefix = machine.prefix();
    const tli::TLIApplication& app = machine.app();
    TliLibraryServices services(machine.app());
    RegistryCatalogBuilders builders(machine.store(), prefix.programFolder(), &services,
                                     &machine.paths());
    builders.setSleep([](int) {});
    builders.setDefineLibNameOnRefresh(true);
    RecordingFrame frame;
    Catalogs catalogs(prefix.programFolder(), frame, &builders);
    ASSERT_EQ(catalogs.LoadDefs(0), 0);

    const HiveFacts facts = hiveFacts();
    const QStringList types = records(prefix.programFolder() + "/dbTypes.dat");
    // Every registered version once, plus the script host registered by this load, in text order.
    ASSERT_EQ(types.size(), facts.versions.size() + 1);
    QSet<QString> seen;
    int named = 0;
    for (qsizetype i = 0; i < types.size(); ++i) {
        const QString guid = GetToken(1, types[i]);
        const QString version = GetToken(2, types[i]);
        const QString key = (guid + ", " + version).toLower();
        seen.insert(key);
        if (i > 0) {
            EXPECT_LE(compareText(GetToken(1, types[i - 1]), guid), 0);
        }
        EXPECT_FALSE(GetToken(4, types[i]).contains("ImNotThere")) << types[i].toStdString();
        qint32 index = 0;
        EXPECT_EQ(BinSearch(catalogs.TLDefs(), key, index), 1) << key.toStdString();
        // A name other than the stand-in is the one the library itself holds.
        const QString name = GetToken(5, types[i]);
        if (name == "LibName")
            continue;
        ++named;
        const qsizetype dot = version.indexOf(u'.');
        EXPECT_EQ(name, app.registeredLibraryName(guid, version.left(dot).toInt(),
                                                  version.mid(dot + 1).toInt(), 0));
    }
    EXPECT_GT(named, types.size() / 2);
    EXPECT_TRUE(seen.contains(facts.versions));
    qint32 index = 0;
    ASSERT_EQ(BinSearch(catalogs.TLDefs(), Catalogs::kScriptHostGuid, index), 1);
    EXPECT_TRUE(GetToken(4, catalogs.TLDefs()[index]).endsWith("\\system32\\wscript.exe"));

    // Every root key but "*", "." and "{" ones is considered.
    EXPECT_TRUE(
        readText(prefix.programFolder() + "/TLError.log")
            .contains(
                QStringLiteral(" :Refresh dbPID.dat with %1 keys.").arg(facts.rootKeys.size())));
    const QStringList pids = records(prefix.programFolder() + "/dbPID.dat");
    EXPECT_GT(pids.size(), 100);
    EXPECT_EQ(catalogs.PIDDefs().size(), pids.size() + 1);
    for (qsizetype i = 0; i < pids.size(); ++i) {
        const QString id = GetToken(1, pids[i]);
        ASSERT_TRUE(facts.progIdClasses.contains(id.toLower())) << id.toStdString();
        const QString field = GetToken(2, pids[i]);
        const qsizetype head = field.startsWith(u'-') ? i + field.toInt() : i;
        ASSERT_GE(head, 0);
        // A back-reference points at the head of its run, which has the same class.
        QString expected = facts.progIdClasses.value(id.toLower());
        if (expected.size() == 36)
            expected = u'{' + expected + u'}';
        EXPECT_TRUE(equalsText(GetToken(2, pids[head]), expected)) << pids[i].toStdString();
    }

    // The next load finds the script host registered, and reads the files directly.
    frame.statuses.clear();
    ASSERT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(frame.statuses.first(), "WScript Reg OK");
    EXPECT_EQ(catalogs.TLDefs().size(), types.size() + 1);
}

namespace {

// The builders above read the real prefix through cRegistry; this covers the conversions it
// adds to the Store.

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
}
