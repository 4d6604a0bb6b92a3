#include "catalog/bin_search.h"
#include "catalog/catalogs.h"
#include "catalog/get_token.h"
#include "catalog/hex_ver.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "platform/registry/test_prefix.h"
#include "platform/winpath/win_path.h"
#include "qt_print.h"
#include "recording_frame.h"
#include "text/error.h"
#include "text/text_order.h"
#include "text/win1252.h"
#include "tli/tli_application.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

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

// A machine made of one REGEDIT4 export, for the small cases.
class SmallMachine {
public:
    explicit SmallMachine(const QString& body) {
        QFile file(dir_.filePath("m.reg"));
        file.open(QIODevice::WriteOnly);
        file.write(win1252::encode(QStringLiteral("REGEDIT4\r\n\r\n") + body));
        file.close();
        QDir(dir_.path()).mkpath("program");
        store_.emplace(Machine{Machine::Kind::RegFiles, {}, {file.fileName()}}, programFolder());
    }
    Store& store() { return *store_; }
    QString programFolder() const { return dir_.filePath("program"); }
    QString file(const char* name) const { return programFolder() + u'/' + QLatin1String(name); }

private:
    QTemporaryDir dir_;
    std::optional<Store> store_;
};

// Stands in for the type information component: names libraries and "registers" a file by
// writing a TypeLib key, as registration does.
class FakeServices : public TypeLibraryServices {
public:
    explicit FakeServices(Store* store = nullptr) : store_(store) {}
    QString registeredLibraryName(const QString& guid, int major, int minor, int lcid) override {
        if (guid.startsWith("{BAD"))
            throw Error(Error::FileNotFound, "test", "cannot open");
        return QStringLiteral("Lib_%1_%2_%3").arg(major).arg(minor).arg(lcid);
    }
    void registerLibraryFile(const QString& path) override {
        registered.append(path);
        if (!store_ || !path.endsWith("wscript.exe", Qt::CaseInsensitive))
            throw Error(Error::FileNotFound, "test", "no type library");
        const QString data = path + QChar(0);
        store_->setValue(
            Root::ClassesRoot,
            QStringLiteral("TypeLib\\") + Catalogs::kScriptHostGuid + "\\1.0\\0\\win32", QString(),
            1, QByteArrayView(reinterpret_cast<const char*>(data.utf16()), data.size() * 2));
    }
    QStringList registered;

private:
    Store* store_;
};

} // namespace

TEST(CatalogBuilders, HexVer) {
    EXPECT_EQ(HexVer(u"1.0"), "1.0");
    EXPECT_EQ(HexVer(u"1.a"), "1.10");
    EXPECT_EQ(HexVer(u"2.10"), "2.16");
    EXPECT_EQ(HexVer(u"A.1"), "10.1");
    EXPECT_EQ(HexVer(u"9.9"), "9.9");
    EXPECT_EQ(HexVer(u"ff"), "255");
}

TEST(CatalogBuilders, TypeLibRecordsFollowTheRegistryRules) {
    SmallMachine m(
        "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Nls\\Language]\r\n"
        "\"Default\"=\"0407\"\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{B0000000-0000-0000-0000-000000000002}\\2.0]\r\n"
        "@=\"Second, with comma\"\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{B0000000-0000-0000-0000-000000000002}\\2.0\\409\\win32]\r\n"
        "@=\"c:\\\\en.dll\"\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{B0000000-0000-0000-0000-000000000002}\\1.a]\r\n"
        "@=hex(1):48,69,09,21,00\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{B0000000-0000-0000-0000-000000000002}\\1.a\\407\\win16]\r\n"
        "@=hex(1):63,3a,5c,31,36,00,00\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{a0000000-0000-0000-0000-000000000001}\\1.0]\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{a0000000-0000-0000-0000-000000000001}\\1.0\\7\\win32]\r\n"
        "@=\"c:\\\\elsewhere.dll\"\r\n"
        "[HKEY_CLASSES_ROOT\\TypeLib\\{BAD00000-0000-0000-0000-000000000003}]\r\n");
    RegistryCatalogBuilders builders(m.store(), m.programFolder(), nullptr, nullptr);
    EXPECT_EQ(builders.systemLocale(), 1031);
    RecordingFrame frame;
    builders.EnumTL(frame);
    EXPECT_EQ(records(m.file("dbTypes.dat")),
              (QStringList{
                  // Only locale 7: not one that is looked for, so no path.
                  "{a0000000-0000-0000-0000-000000000001}, 1.0, No help, c:\\ImNotThere1.dll, "
                  "LibName",
                  // Versions in text order; the system locale's path (its key is named in
                  // hexadecimal); a control character becomes a blank; the trailing NUL of the
                  // path goes.
                  "{B0000000-0000-0000-0000-000000000002}, 1.10, Hi !, c:\\16, LibName",
                  "{B0000000-0000-0000-0000-000000000002}, 2.0, \"Second, with comma\", "
                  "c:\\en.dll, LibName",
              }));
    const QString log = readText(m.file("TLError.log"));
    EXPECT_TRUE(log.contains(" :Refresh dbTypes.dat with 3 keys.\r\n"));
    EXPECT_TRUE(log.contains(
        " Unprintable Control Chars found in help_string for TL GUID={B0000000-0000-0000-0000-"
        "000000000002}\r\n"));
    EXPECT_TRUE(
        log.contains(" Empty sub-keys at TL GUID={BAD00000-0000-0000-0000-000000000003}\r\n"));

    // A second run replaces the catalog and adds a second log.
    FakeServices names;
    RegistryCatalogBuilders named(m.store(), m.programFolder(), &names, nullptr);
    named.setDefineLibNameOnRefresh(true);
    named.EnumTL(frame);
    const QStringList again = records(m.file("dbTypes.dat"));
    ASSERT_EQ(again.size(), 3);
    EXPECT_TRUE(again[1].endsWith(", Lib_1_10_1031")) << again[1].toStdString();
    EXPECT_TRUE(again[2].endsWith(", Lib_2_0_1033"));
    EXPECT_EQ(readText(m.file("TLError.log")).count(" :Refresh dbTypes.dat"), 2);
}

TEST(CatalogBuilders, ProgIdRulesAndBackReferences) {
    const QString shared = "{C0000000-0000-0000-0000-000000000001}";
    SmallMachine m(
        "[HKEY_CLASSES_ROOT\\A.One\\CLSID]\r\n@=\"" + shared + "\"\r\n" +
        "[HKEY_CLASSES_ROOT\\A.Two\\CLSID]\r\n@=\"" + shared + "\"\r\n" +
        "[HKEY_CLASSES_ROOT\\A.Twofile\\CLSID]\r\n@=\"" + shared + "\"\r\n" +
        "[HKEY_CLASSES_ROOT\\A.Three\\CLSID]\r\n@=\"" + shared.toLower() + "\"\r\n" +
        "[HKEY_CLASSES_ROOT\\CLSID\\" + shared + "]\r\n@=\"Shared, class\"\r\n" +
        "[HKEY_CLASSES_ROOT\\CLSID\\" + shared + "\\InProcServer32]\r\n@=\"c:\\\\s.dll\"\r\n" +
        "[HKEY_CLASSES_ROOT\\CLSID\\" + shared +
        "\\TypeLib]\r\n@=\"D0000000-0000-0000-0000-000000000009\"\r\n"
        "[HKEY_CLASSES_ROOT\\abcfile\\CLSID]\r\n"
        "@=\"C0000000-0000-0000-0000-000000000002\"\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000002}\\LocalServer32]\r\n"
        "@=\"c:\\\\ls32.exe\"\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{C0000000-0000-0000-0000-000000000002}\\TypeLib]\r\n"
        "@=\"{short}\"\r\n"
        "[HKEY_CLASSES_ROOT\\htmlfile\\CLSID]\r\n@=\"" +
        shared + "\"\r\n" + "[HKEY_CLASSES_ROOT\\has space\\CLSID]\r\n@=\"" + shared + "\"\r\n" +
        "[HKEY_CLASSES_ROOT\\Bad.Clsid\\CLSID]\r\n@=\"{123}\"\r\n"
        "[HKEY_CLASSES_ROOT\\NoClass]\r\n");
    RegistryCatalogBuilders builders(m.store(), m.programFolder(), nullptr, nullptr);
    RecordingFrame frame;
    builders.EnumPID(frame);
    EXPECT_EQ(records(m.file("dbPID.dat")),
              (QStringList{
                  "A.One, " + shared +
                      ", \"Shared, class\", c:\\s.dll, "
                      "{D0000000-0000-0000-0000-000000000009}",
                  // A.Twofile is skipped ("file" near its end) without breaking the run.
                  "A.Three, -1, -1, -1, -1",
                  "A.Two, -2, -2, -2, -2",
                  // Seven characters: not a file type; LocalServer32 is no server it looks at.
                  "abcfile, {C0000000-0000-0000-0000-000000000002}, abcfile, Not Found, *",
                  "htmlfile, " + shared +
                      ", \"Shared, class\", c:\\s.dll, "
                      "{D0000000-0000-0000-0000-000000000009}",
              }));
    EXPECT_TRUE(readText(m.file("TLError.log"))
                    .contains("Bad CLSID: at ProgID key=Bad.Clsid CLSID={123}\r\n"));
    EXPECT_TRUE(frame.statuses.contains("Sorting ProgID Array ...."));
}

namespace {

// (GUID, version) pairs and ProgID -> CLSID, counted from the text of the real hives.
struct HiveFacts {
    QSet<QString> versions;
    QHash<QString, QString> progIdClasses;
};

HiveFacts hiveFacts() {
    HiveFacts facts;
    static const QRegularExpression versionKey(
        QStringLiteral(R"(^\[Software\\\\Classes\\\\TypeLib\\\\(\{[^\\\]]+\})\\\\([^\\\]]+))"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression progId(
        QStringLiteral(R"(^\[Software\\\\Classes\\\\([^\\\]]+)\\\\CLSID\][^\n]*\n(?:#[^\n]*\n)*)"
                       R"x(@="([^"]*)")x"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    for (const char* name : {"system.reg", "user.reg"}) {
        const QString text =
            readText(QStringLiteral(VANTOR_SHARED_DIR "/testdata/wine-prefix/") + name);
        for (auto it = versionKey.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            facts.versions.insert((match.captured(1) + ", " + match.captured(2)).toLower());
        }
        for (auto it = progId.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            const QString key = match.captured(1);
            if (!key.startsWith(u'{') && !key.startsWith(u'.') && !key.startsWith(u'*'))
                facts.progIdClasses.insert(key.toLower(), match.captured(2));
        }
    }
    return facts;
}

} // namespace

TEST(CatalogBuilders, RealPrefixRebuildAndReadBack) {
    test::TestPrefix prefix;
    ASSERT_TRUE(prefix.valid());
    Store store(Machine{Machine::Kind::Prefix, prefix.prefix(), {}}, prefix.programFolder());
    const winpath::PrefixPaths paths(prefix.prefix(), store.systemRoot());
    FakeServices services(&store);
    RegistryCatalogBuilders builders(store, prefix.programFolder(), &services, &paths);
    builders.setSleep([](int) {});
    RecordingFrame frame;
    Catalogs catalogs(prefix.programFolder(), frame, &builders);
    ASSERT_EQ(catalogs.LoadDefs(0), 0);
    EXPECT_TRUE(frame.statuses.contains("successfully registered Wscript"));
    // The script host comes from the machine's system32; Wine's vbscript.dll is found there
    // too (the stand-in component refuses it).
    ASSERT_EQ(services.registered.size(), 2);
    EXPECT_TRUE(services.registered[0].endsWith("\\system32\\wscript.exe"));
    EXPECT_TRUE(frame.statuses.contains("failed to register VBScript_Globals"));

    const HiveFacts facts = hiveFacts();
    const QStringList types = records(prefix.programFolder() + "/dbTypes.dat");
    // Every registered version once, plus the script host registered by this load.
    ASSERT_EQ(types.size(), facts.versions.size() + 1);
    QSet<QString> seen;
    for (qsizetype i = 0; i < types.size(); ++i) {
        const QString key = (GetToken(1, types[i]) + ", " + GetToken(2, types[i])).toLower();
        seen.insert(key);
        if (i > 0) {
            EXPECT_LE(compareText(GetToken(1, types[i - 1]), GetToken(1, types[i])), 0);
        }
        EXPECT_FALSE(GetToken(4, types[i]).contains("ImNotThere")) << types[i].toStdString();
    }
    for (const QString& version : facts.versions)
        EXPECT_TRUE(seen.contains(version)) << version.toStdString();
    qint32 index = 0;
    ASSERT_EQ(BinSearch(catalogs.TLDefs(), u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0", index),
              1);
    EXPECT_TRUE(GetToken(4, catalogs.TLDefs()[index]).endsWith("\\wshom.ocx", Qt::CaseInsensitive));

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

// With the type information component: the script host is registered from Wine's wscript.exe,
// and "Define Libname on Refresh" writes each library's own name.
TEST(CatalogBuilders, RealComponentRegistersTheScriptHostAndNamesLibraries) {
    test::TestPrefix prefix;
    ASSERT_TRUE(prefix.valid());
    Store store(Machine{Machine::Kind::Prefix, prefix.prefix(), {}}, prefix.programFolder());
    const winpath::PrefixPaths paths(prefix.prefix(), store.systemRoot());
    const tli::TLIApplication app(&store, &paths);
    TliLibraryServices services(app);
    RegistryCatalogBuilders builders(store, prefix.programFolder(), &services, &paths);
    builders.setSleep([](int) {});
    builders.setDefineLibNameOnRefresh(true);
    RecordingFrame frame;
    Catalogs catalogs(prefix.programFolder(), frame, &builders);
    ASSERT_EQ(catalogs.LoadDefs(0), 0);
    EXPECT_TRUE(frame.statuses.contains("successfully registered Wscript"));
    EXPECT_FALSE(catalogs.scriptHostVersion().isEmpty());

    int named = 0;
    for (qint32 i = 0; i + 1 < catalogs.TLDefs().size(); ++i) {
        const QString& record = catalogs.TLDefs()[i];
        const QString name = GetToken(5, record);
        if (name == "LibName")
            continue;
        ++named;
        // The name is the one the library itself holds.
        const QString guid = GetToken(1, record);
        const QString version = GetToken(2, record);
        const qsizetype dot = version.indexOf(u'.');
        EXPECT_EQ(name, app.registeredLibraryName(guid, version.left(dot).toInt(),
                                                  version.mid(dot + 1).toInt(), 0))
            << record.toStdString();
    }
    // Every library of a fresh prefix lives in Wine's binaries and can be read.
    EXPECT_GT(named, (catalogs.TLDefs().size() - 1) / 2);
    qint32 index = 0;
    ASSERT_EQ(BinSearch(catalogs.TLDefs(), u"{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}, 1.0", index),
              1);
    EXPECT_TRUE(catalogs.TLDefs()[index].endsWith(", IWshRuntimeLibrary"));

    frame.statuses.clear();
    ASSERT_EQ(catalogs.LoadDefs(1), 0);
    EXPECT_EQ(frame.statuses.first(), "WScript Reg OK");
}
