// Help topic resolution over a machine of listed files and keys.
#include "help/help_resolver.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

using namespace vantor::help;

namespace {

class ListedMachine : public HelpMachine {
public:
    QSet<QString> files;
    QHash<QString, QString> values; // "key|name" -> data
    QString windowsFolder() const override { return QStringLiteral("C:\\windows"); }
    bool keyExists(const QString& key) const override {
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it.key().startsWith(key + u'|'))
                return true;
        return false;
    }
    QString keyValue(const QString& key, const QString& name) const override {
        return values.value(key + u'|' + name);
    }
    bool fileExists(const QString& path) const override { return files.contains(path); }
    bool folderExists(const QString&) const override { return true; }
    QString hostPath(const QString& path) const override { return path; }
};

HelpSettings defaults() {
    return {QString(),
            QStringLiteral("wshom.ocx|ws;wscript.exe|ws;scrrun.dll|js;scrobj.dll|let;"
                           "vbscript.dll|vs;vbscript.dll\\3|vs;vbscript.dll\\2|vs;wshext.dll|ws"),
            QStringLiteral("script56.chm"),
            QStringLiteral("wsconwshbasics;wsobjwscript;jsobjFileSystem;letintro;vtorivbscript;"
                           "js56jsobjregexpression;js56jsobjregexpression;"
                           "wsconsecuritywindowsscripthost"),
            QString()};
}

const QString kWshom = QStringLiteral("C:\\windows\\system32\\wshom.ocx");
const QString kScriptHelp = QStringLiteral("C:\\windows\\help\\script56.chm");
const QString kOwnHelp = QStringLiteral("/opt/vantor/Vantor.chm");

struct Fixture {
    ListedMachine machine;
    QHash<QString, QString> metaHelp;
    std::unique_ptr<HelpResolver> resolver;
    QStringList statuses;
    explicit Fixture(HelpSettings settings = defaults()) {
        machine.files = {kScriptHelp, kOwnHelp};
        resolver = std::make_unique<HelpResolver>(
            readHelpConfig(settings, machine, QStringLiteral("/opt/vantor")), machine, kOwnHelp,
            [this](const QString& key) { return metaHelp.value(key); });
    }
    bool lookup(const QString& path, TypeHelpFacts type = {}) {
        return resolver->HelpLookup(path, type, [this](const QString& s) { statuses << s; });
    }
};

HelpSelection typeRow(const QString& caption, int kind = 5) {
    HelpSelection s;
    s.typeSelected = true;
    s.typeCaption = caption;
    s.typeKind = kind;
    s.helpButtonEnabled = true;
    return s;
}

HelpSelection memberRow(const QString& type, const QString& member, int kinds) {
    HelpSelection s = typeRow(type);
    s.memberSelected = true;
    s.memberText = member;
    s.invokeKinds = kinds;
    return s;
}

HelpRequest window(HelpRequest::Target target) {
    return {target, QString()};
}

} // namespace

TEST(HelpResolver, LibFileKeys) {
    EXPECT_EQ(LibFileKey(QStringLiteral("C:\\Windows\\System32\\VBScript.dll\\3")),
              QStringLiteral("vbscript.dll\\3"));
    EXPECT_EQ(LibFileKey(kWshom), QStringLiteral("wshom.ocx"));
    EXPECT_EQ(LibFileKey(QStringLiteral("/usr/lib/wine/VBScript.dll\\2")),
              QStringLiteral("vbscript.dll\\2"));
}

TEST(HelpResolver, PageModeTopics) {
    struct Case {
        const char* guid;
        const char* type;
        const char* member;
        int kinds;
        const char* topic;
    };
    const Case cases[] = {
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "IWshShell_Class", nullptr, 0,
         "/html/wsobjiwshshell_class.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "Drives", nullptr, 0, "/html/wscoldrives.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "FileSystemObject", nullptr, 0,
         "/html/wsobjfilesystem.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "IHost_Class", nullptr, 0,
         "/html/wsconwshbasics.htm"},
        // The scripting runtime's GUIDs take the third library's prefix and default page.
        {"{C7C3F5A0-88A3-11D0-ABCB-00A0C90FFFC0}", "Drives", nullptr, 0, "/html/jscoldrives.htm"},
        {"{0D43FE01-F093-11CF-8940-00A0C9054228}", "GlobalObj", nullptr, 0,
         "/html/jsobjFileSystem.htm"},
        {"{0BB02EC0-EF49-11CF-8940-00A0C9054228}", "TextStream", nullptr, 0,
         "/html/jsobjtextstream.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "WshShell", "Run", 1, "/html/wsmthrun.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "WshNetwork", "MapNetworkDrive", 1,
         "/html/wsmthmapnetworkdrive.htm"},
        {"{41904400-BE18-11D3-A28B-00104BD35090}", "WshNetwork", "UserName", 2,
         "/html/wsprousername.htm"},
    };
    for (const Case& c : cases) {
        Fixture f;
        ASSERT_TRUE(f.lookup(kWshom, {QString::fromLatin1(c.guid), {}, 0}));
        const bool member = c.member != nullptr;
        const HelpSelection s =
            member ? memberRow(QString::fromLatin1(c.type), QString::fromLatin1(c.member), c.kinds)
                   : typeRow(QString::fromLatin1(c.type));
        const HelpCall call = f.resolver->ShowContextHelp(
            window(member ? HelpRequest::Target::MemberList : HelpRequest::Target::TypeList), s);
        EXPECT_EQ(call.topic, QString::fromLatin1(c.topic)) << c.type;
        EXPECT_EQ(call.file, kScriptHelp);
    }
}

TEST(HelpResolver, KeywordLists) {
    struct Case {
        const char* metaHelp; // the library's MetaHelp entry; null: a script library
        bool force;
        const char* type;
        int typeKind;
        const char* member;
        int kinds;
        const char* keywords;
    };
    const Case cases[] = {
        {nullptr, true, "WshShell", 5, "Run", 1,
         "Run Function;Run Method;Run;Run Method (IWshShell3);Run (IWshShell3)"},
        {nullptr, true, "WshShell", 5, nullptr, 0, "WshShell;WshShell Object"},
        {"x.chm|(X Library)", false, "Widgets", 5, nullptr, 0,
         "Widgets;Widgets Collection (X Library)"},
        {"x.chm|(X Library)", false, "IWidget", 4, nullptr, 0,
         "IWidget;IWidget Interface;IWidget Object (X Library)"},
        {"x.chm|(X Library)", false, "Colors", 0, nullptr, 0, "Colors Enum;Colors (X Library)"},
        {"x.chm|(X Library)", false, "IWidget", 4, "Size", 2,
         "Size Property;Size;Size Property (X Library);Size (X Library)"},
        {"x.chm|(X Library)", false, "IWidget", 4, "Moved", 16, "Moved Event;Moved"},
    };
    for (const Case& c : cases) {
        Fixture f;
        QString path = kWshom;
        if (c.metaHelp) {
            path = QStringLiteral("C:\\x\\x.dll");
            f.metaHelp.insert(QStringLiteral("x.dll"), QString::fromLatin1(c.metaHelp));
            f.machine.files.insert(QStringLiteral("C:\\windows\\help\\x.chm"));
        }
        ASSERT_TRUE(f.lookup(path, {QStringLiteral("{41904400-0000}"), {}, 0}));
        HelpSelection s = c.member ? memberRow(QString::fromLatin1(c.type),
                                               QString::fromLatin1(c.member), c.kinds)
                                   : typeRow(QString::fromLatin1(c.type), c.typeKind);
        s.typeKind = c.typeKind;
        s.defaultInterfaceName = QStringLiteral("IWshShell3");
        s.forceKeyword = c.force;
        const HelpCall call = f.resolver->ShowContextHelp(
            window(c.member ? HelpRequest::Target::MemberList : HelpRequest::Target::TypeList), s);
        EXPECT_EQ(call.topic, QString::fromLatin1(c.keywords));
        EXPECT_EQ(call.context, KeywordContext) << c.keywords;
    }
}

TEST(HelpResolver, MenuAndWindowTopics) {
    using T = HelpRequest::Target;
    struct Case {
        HelpRequest request;
        bool force;
        const char* topic;
        qint32 context;
    };
    const Case cases[] = {
        {{T::MenuBarMenu, QStringLiteral("Search")},
         false,
         "Search Menu;Find Menu",
         KeywordContext},
        {{T::MenuBarMenu, QStringLiteral("View")}, false, "View Menu", KeywordContext},
        {{T::OtherMenu, {}}, false, "PopUp Menu", 9},
        {{T::MruMenu, {}}, false, "TLBMru Menu", 10},
        {{T::OtherMenu, {}}, true, "PopUp Menu", KeywordContext},
        {{T::MruList, {}}, false, "MRU ListView", KeywordContext},
        {{T::StatusLine, {}}, false, "Status Message", KeywordContext},
    };
    for (const Case& c : cases) {
        Fixture f;
        HelpSelection s;
        s.forceKeyword = c.force;
        const HelpCall call = f.resolver->ShowContextHelp(c.request, s);
        EXPECT_EQ(call.topic, QString::fromLatin1(c.topic));
        EXPECT_EQ(call.context, c.context) << c.topic;
        EXPECT_EQ(call.file, kOwnHelp);
        EXPECT_EQ(call.status, QStringLiteral("HelpFile= ") + kOwnHelp);
    }
    Fixture f;
    EXPECT_EQ(f.resolver->ShowContextHelp(window(T::PictureBox), {}).result, 0);
    EXPECT_EQ(f.resolver->ShowContextHelp(window(T::TypeList), {}).result, 0);
}

TEST(HelpResolver, FolderSearchOrderWithEmptyHelpPath) {
    Fixture f;
    f.machine.files.clear();
    EXPECT_FALSE(f.lookup(QStringLiteral("C:\\libs\\widget.dll")));
    const QStringList expected = {QStringLiteral("C:\\windows\\help\\"), QStringLiteral("\\"),
                                  QStringLiteral("C:\\libs\\"), QStringLiteral("\\"),
                                  QStringLiteral("\\")};
    EXPECT_EQ(f.resolver->config().helpFolders, expected);
    EXPECT_EQ(f.statuses.first(), QStringLiteral("Checking for widget.chm"));
    // The root of the drive is searched before the root again.
    f.machine.files.insert(QStringLiteral("\\widget.chm"));
    EXPECT_TRUE(f.lookup(QStringLiteral("C:\\libs\\widget.dll")));
    EXPECT_EQ(f.resolver->mbrHelpFile(), QStringLiteral("\\widget.chm"));
}

TEST(HelpResolver, MissingFullPathFoundThroughWindowsHelpKey) {
    Fixture f;
    f.machine.values.insert(QStringLiteral("SOFTWARE\\Microsoft\\Windows\\Help|widget.chm"),
                            QStringLiteral("D:\\docs"));
    f.machine.files.insert(QStringLiteral("D:\\docs\\widget.chm"));
    f.machine.files.insert(QStringLiteral("C:\\libs\\widget.dll"));
    // The type's own help file names a folder where it is not.
    f.machine.files.insert(QStringLiteral("C:\\libs\\widget.chm"));
    ASSERT_TRUE(f.lookup(QStringLiteral("C:\\libs\\widget.dll"),
                         {QStringLiteral("{1}"), QStringLiteral("C:\\gone\\widget.chm"), 42}));
    EXPECT_EQ(f.resolver->mbrContextID(), 42);
    f.resolver = std::make_unique<HelpResolver>(f.resolver->config(), f.machine, kOwnHelp,
                                                [](const QString&) { return QString(); });
    f.machine.files.remove(QStringLiteral("C:\\libs\\widget.chm"));
    f.machine.files.insert(QStringLiteral("C:\\gone\\widget.chm"));
    ASSERT_TRUE(f.lookup(QStringLiteral("C:\\libs\\widget.dll"),
                         {QStringLiteral("{1}"), QStringLiteral("C:\\gone\\widget.chm"), 42}));
    f.machine.files.remove(QStringLiteral("C:\\gone\\widget.chm"));
    const HelpCall call = f.resolver->ShowContextHelp(window(HelpRequest::Target::TypeList),
                                                      typeRow(QStringLiteral("Widget")));
    EXPECT_EQ(call.file, QStringLiteral("D:\\docs\\widget.chm"));
    EXPECT_EQ(call.context, 42);
    EXPECT_EQ(call.topic, QStringLiteral("Widget;Widget Object"));
}
