#include "help/help_resolver.h"

namespace vantor::help {

namespace {

const QString kHtml = QStringLiteral("/html/");
const QString kWindowsHelpKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\Help");

// Type-info GUIDs whose help lives with the third script library (the scripting runtime).
constexpr const char* kRuntimeGuidPrefixes[] = {"C7C", "0D4", "0BB"};

// Page-mode pages of a type row, first matching rule (n = the caption in lower case).
enum class Match { Suffix, Equal, Prefix };
enum class Page {
    Collection,  // topic + "col" + n
    ObjectChop,  // topic + "obj" + n without "object"
    Relative,    // topic + file
    Absolute,    // "/html/" + file
    DefaultPage, // "/html/" + the script library's default page
};
struct PageRule {
    Match match;
    const char* text;
    Page page;
    const char* file;
};
constexpr PageRule kTypePages[] = {
    {Match::Suffix, "es", Page::Collection, nullptr},
    {Match::Suffix, "rs", Page::Collection, nullptr},
    {Match::Suffix, "collection", Page::Collection, nullptr},
    {Match::Suffix, "object", Page::ObjectChop, nullptr},
    {Match::Equal, "wshexec", Page::Relative, "lrfscriptexecobject.htm"},
    {Match::Equal, "iwshnamedarguments_class", Page::Relative, "lrfnamedobject.htm"},
    {Match::Equal, "iwshunnamedarguments_class", Page::Relative, "lrfunnamedobject.htm"},
    {Match::Equal, "signer", Page::Relative, "consigningscript.htm"},
    {Match::Equal, "globalobj", Page::DefaultPage, nullptr},
    {Match::Equal, "ihost_class", Page::DefaultPage, nullptr},
    {Match::Equal, "igenscriptlettlib", Page::DefaultPage, nullptr},
    {Match::Equal, "errobj", Page::Absolute, "vsobjerr.htm"},
    {Match::Prefix, "iarguments", Page::Absolute, "wsobjwsharguments.htm"},
};

// Members whose page is fixed, by the type row's exact caption and the member in lower case.
struct FixedMemberPage {
    const char* typeCaption;
    const char* member;
    const char* page;
};
constexpr FixedMemberPage kFixedMemberPages[] = {
    {"WshShell", "currentdirectory", "/html/wslrfcurrentdirectory.htm"},
    {"WshShell", "exec", "/html/wslrfexecmethod.htm"},
    {"WshShell", "run", "/html/wsmthrun.htm"},
    {"Match", "submatches", "/html/vscolsubmatches.htm"},
};

// Menu requests: the keywords and context by the menu's name.
struct MenuTopic {
    const char* menu;
    const char* topic;
    qint32 context;
};
constexpr MenuTopic kMenuTopics[] = {
    {"View", "View Menu", KeywordContext},
    {"About", "About Menu", KeywordContext},
    {"Search", "Search Menu;Find Menu", KeywordContext},
    {"LibDocs", "LibDocs Menu", KeywordContext},
};
constexpr MenuTopic kMruMenu{"", "TLBMru Menu", 10};
constexpr MenuTopic kOtherMenu{"", "PopUp Menu", 9};

// Window requests for the program's own windows: their keywords.
struct WindowTopic {
    HelpRequest::Target window;
    const char* topic;
};
constexpr WindowTopic kWindowTopics[] = {
    {HelpRequest::Target::MruList, "MRU ListView"},
    {HelpRequest::Target::Pane, "RichText ProtoType"},
    {HelpRequest::Target::SearchBox, "Search Box"},
    {HelpRequest::Target::PathBox, "Path Box"},
    {HelpRequest::Target::StatusLine, "Status Message"},
};

constexpr int InvokeFunction = 1, InvokeGet = 2, InvokeLet = 4, InvokeEvent = 16;
constexpr int ConstantFlag = 4;

bool isHostPath(const QString& path) {
    return path.startsWith(u'/');
}

// A folder ending in its separator: "/" for host folders, else "\".
QString endFolder(const QString& folder) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        return folder;
    return folder + (isHostPath(folder) ? u'/' : u'\\');
}

bool matches(const PageRule& rule, const QString& n) {
    const QLatin1String text(rule.text);
    switch (rule.match) {
    case Match::Suffix:
        return n.endsWith(text);
    case Match::Equal:
        return n == text;
    case Match::Prefix:
        return n.startsWith(text);
    }
    return false;
}

} // namespace

HelpResolver::HelpResolver(HelpConfig config, const HelpMachine& machine, QString programHelpFile,
                           std::function<QString(const QString&)> metaHelp)
    : config_(std::move(config)), machine_(machine), programHelpFile_(std::move(programHelpFile)),
      metaHelp_(std::move(metaHelp)) {}

bool HelpResolver::HelpLookup(const QString& pathText, const TypeHelpFacts& type,
                              const std::function<void(const QString&)>& status) {
    const QString key = LibFileKey(pathText);
    if (config_.helpFolders.size() > 2)
        config_.helpFolders[2] = pathText.left(pathText.size() - key.size());
    scriptLibIndex_ = 0;
    metaHelpSuffix_.clear();
    QString name;
    for (int i = 1; i < config_.scriptLibList.size(); ++i) {
        if (!key.isEmpty() && config_.scriptLibList[i].contains(key, Qt::CaseInsensitive)) {
            scriptLibIndex_ = i;
            name = config_.scriptLibList[0];
            break;
        }
    }
    if (scriptLibIndex_ > 0) {
        for (const char* prefix : kRuntimeGuidPrefixes)
            if (type.guid.mid(1, 3).compare(QLatin1String(prefix), Qt::CaseInsensitive) == 0)
                scriptLibIndex_ = 3;
    } else {
        const QString value = metaHelp_ ? metaHelp_(key) : QString();
        const qsizetype bar = value.indexOf(u'|');
        name = bar < 0 ? value : value.left(bar);
        if (bar >= 0)
            metaHelpSuffix_ = value.mid(bar + 1);
    }
    if (name.isEmpty()) {
        contextId_ = PageContext;
        if (type.helpFile.size() >= 5) {
            contextId_ = qint32(type.helpContext);
            if (machine_.fileExists(type.helpFile)) {
                helpFile_ = type.helpFile;
                return true;
            }
            name = LibFileKey(type.helpFile);
        } else {
            name = key.section(u'.', 0, 0) + QStringLiteral(".chm");
        }
    }
    for (QString& folder : config_.helpFolders) {
        folder = endFolder(folder);
        if (status)
            status(QStringLiteral("Checking for ") + name);
        if (machine_.fileExists(folder + name)) {
            helpFile_ = folder + name;
            return true;
        }
    }
    return false;
}

QString HelpResolver::scriptDefaultPage() const {
    const int i = scriptLibIndex_ - 1;
    return i >= 0 && i < config_.scriptDefaultPages.size() ? config_.scriptDefaultPages[i]
                                                           : QString();
}

QString HelpResolver::pageTopic(const QString& topic, const HelpSelection& s, bool members) const {
    if (!members) {
        const QString n = s.typeCaption.toLower();
        for (const PageRule& rule : kTypePages) {
            if (!matches(rule, n))
                continue;
            switch (rule.page) {
            case Page::Collection:
                return topic + QStringLiteral("col") + n + QStringLiteral(".htm");
            case Page::ObjectChop:
                return topic + QStringLiteral("obj") + n.chopped(6) + QStringLiteral(".htm");
            case Page::Relative:
                return topic + QLatin1String(rule.file);
            case Page::Absolute:
                return kHtml + QLatin1String(rule.file);
            case Page::DefaultPage:
                return kHtml + scriptDefaultPage() + QStringLiteral(".htm");
            }
        }
        return topic + QStringLiteral("obj") + n + QStringLiteral(".htm");
    }
    const QString m = s.memberText.toLower();
    for (const FixedMemberPage& fixed : kFixedMemberPages)
        if (s.typeCaption == QLatin1String(fixed.typeCaption) && m == QLatin1String(fixed.member))
            return QLatin1String(fixed.page);
    const bool constant = ((s.typeItemData >> 24) & ConstantFlag) != 0;
    QString kind = QStringLiteral("pro");
    if (s.invokeKinds == InvokeFunction) {
        bool prefixed = false;
        for (const QString& p : config_.scriptMethodPrefixes)
            prefixed = prefixed || m.startsWith(p, Qt::CaseInsensitive);
        kind = s.memberIsFunction && !prefixed ? QStringLiteral("fct") : QStringLiteral("mth");
    } else if (s.invokeKinds == (InvokeGet | InvokeLet) && constant) {
        kind = QStringLiteral("con");
    }
    return topic + kind + m + QStringLiteral(".htm");
}

QString HelpResolver::typeKeywords(const HelpSelection& s) const {
    const QString& n = s.typeCaption;
    QString k;
    switch (s.typeKind) {
    case 0:
        k = n + QStringLiteral(" Enum;") + n;
        break;
    case 3:
    case 4:
        k = n + u';' + n + QStringLiteral(" Interface;") + n + QStringLiteral(" Object");
        break;
    case 5:
        k = n + u';' + n +
            (n.endsWith(u's', Qt::CaseInsensitive) ? QStringLiteral(" Collection")
                                                   : QStringLiteral(" Object"));
        break;
    default:
        break;
    }
    if (!metaHelpSuffix_.isEmpty())
        k += u' ' + metaHelpSuffix_;
    return k.isEmpty() ? n : k;
}

QString HelpResolver::memberKeywords(const HelpSelection& s) const {
    const QString& m = s.memberText;
    QString t =
        u'(' + (s.defaultInterfaceName.isEmpty() ? s.typeCaption : s.defaultInterfaceName) + u')';
    if (!metaHelpSuffix_.isEmpty())
        t = metaHelpSuffix_;
    const bool constant = ((s.typeItemData >> 24) & ConstantFlag) != 0;
    switch (s.invokeKinds) {
    case InvokeFunction:
        return m + QStringLiteral(" Function;") + m + QStringLiteral(" Method;") + m + u';' + m +
               QStringLiteral(" Method ") + t + u';' + m + u' ' + t;
    case InvokeGet:
    case InvokeLet:
        return m + QStringLiteral(" Property;") + m + u';' + m + QStringLiteral(" Property ") + t +
               u';' + m + u' ' + t;
    case InvokeGet | InvokeLet:
        if (constant)
            return m + QStringLiteral(" Constant;") + m;
        return m + u';' + m + QStringLiteral(" Property") +
               (metaHelpSuffix_.isEmpty() ? QString() : u' ' + metaHelpSuffix_);
    case InvokeEvent:
        return m + QStringLiteral(" Event;") + m;
    default:
        return {};
    }
}

void HelpResolver::locate(QString& folder, QString& name) const {
    if (name.contains(u'\\') || isHostPath(name)) {
        folder.clear();
        if (machine_.fileExists(name))
            return;
        const QString file = LibFileKey(name);
        const QString registered = machine_.keyValue(kWindowsHelpKey, file);
        if (!registered.isEmpty())
            name = endFolder(registered) + file;
        return;
    }
}

HelpCall HelpResolver::ShowContextHelp(const HelpRequest& request, const HelpSelection& s) {
    using Target = HelpRequest::Target;
    HelpCall call;
    bool found = false;
    QString folder = config_.winDir + QStringLiteral("\\help\\");
    QString name;
    QString topic;
    // The program's own help does not replace the library's help file and context, which the
    // next request about a type or member still needs.
    qint32 context = KeywordContext;
    const bool pageMode = scriptLibIndex_ >= 1 && !s.forceKeyword;
    if (pageMode) {
        const QString& entry = config_.scriptLibList.value(scriptLibIndex_);
        topic = kHtml + entry.mid(entry.indexOf(u'|') + 1);
        contextId_ = PageContext;
    }
    const bool libraryRequest =
        request.target == Target::TypeList || request.target == Target::MemberList;
    switch (request.target) {
    case Target::MenuBarMenu:
    case Target::MruMenu:
    case Target::OtherMenu: {
        MenuTopic t = request.target == Target::MruMenu ? kMruMenu : kOtherMenu;
        if (request.target == Target::MenuBarMenu) {
            const QString own = request.menuName + QStringLiteral(" Menu");
            t = {"", nullptr, KeywordContext};
            for (const MenuTopic& m : kMenuTopics)
                if (request.menuName.compare(QLatin1String(m.menu), Qt::CaseInsensitive) == 0)
                    t = m;
            topic = t.topic ? QString::fromLatin1(t.topic) : own;
        } else {
            topic = QString::fromLatin1(t.topic);
        }
        name = programHelpFile_;
        context = t.context;
        found = true;
        break;
    }
    case Target::TypeList:
    case Target::MemberList: {
        const bool members = request.target == Target::MemberList;
        if (!(members ? s.memberSelected : s.typeSelected) || !s.helpButtonEnabled)
            break;
        if (pageMode) {
            topic = pageTopic(topic, s, members);
        } else {
            if (members && s.forceKeyword)
                contextId_ = PageContext;
            if ((!members && s.forceKeyword) || contextId_ == PageContext)
                contextId_ = KeywordContext;
            topic = members ? memberKeywords(s) : typeKeywords(s);
        }
        found = true;
        break;
    }
    case Target::PictureBox:
        return call;
    default:
        name = programHelpFile_;
        found = true;
        for (const WindowTopic& w : kWindowTopics)
            if (w.window == request.target)
                topic = QString::fromLatin1(w.topic);
        break;
    }

    if (libraryRequest) {
        name = helpFile_;
        if (s.forceKeyword)
            contextId_ = KeywordContext;
        context = contextId_;
    } else if (s.forceKeyword) {
        context = KeywordContext;
    }
    if (!found)
        return call;
    name = name.trimmed();
    const QString type =
        name.size() >= 4 && name.at(name.size() - 4) == u'.' ? name.right(3) : name.right(4);
    locate(folder, name);
    call.status = QStringLiteral("HelpFile= ") + folder + name;
    if (!machine_.fileExists(folder + name))
        return call;
    call.result = 1;
    call.file = folder + name;
    call.context = context;
    if (type.compare(QLatin1String("chm"), Qt::CaseInsensitive) == 0 ||
        type.compare(QLatin1String("col"), Qt::CaseInsensitive) == 0) {
        if (libraryRequest && s.categoryCode == 9 && !scriptDefaultPage().isEmpty())
            topic = kHtml + scriptDefaultPage() + QStringLiteral(".htm");
        call.viewer = HelpCall::Viewer::Html;
    } else {
        call.viewer = HelpCall::Viewer::OlderEngine;
    }
    call.topic = topic;
    return call;
}

} // namespace vantor::help
