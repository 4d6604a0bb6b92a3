#include "help/help_config.h"

namespace vantor::help {

namespace {

const QString kScriptDoc56 = QStringLiteral("SOFTWARE\\Microsoft\\WS56Doc");
const QString kScriptDoc = QStringLiteral("SOFTWARE\\Microsoft\\Scriptdoc");
const QString kScript56 = QStringLiteral("script56.chm");

QString withBackslash(const QString& folder) {
    return folder.endsWith(u'\\') || folder.endsWith(u'/') ? folder : folder + u'\\';
}

} // namespace

QString LibFileKey(const QString& path) {
    // A host path's parts are "/"-separated; its resource number stays behind a backslash.
    const QStringList parts = path.split(path.startsWith(u'/') ? u'/' : u'\\');
    const QString last = parts.last().toLower();
    if (last.size() < 3 && parts.size() >= 2)
        return parts[parts.size() - 2].toLower() + u'\\' + last;
    return last;
}

HelpConfig readHelpConfig(const HelpSettings& settings, const HelpMachine& machine,
                          const QString& programFolder) {
    HelpConfig c;
    c.winDir = machine.windowsFolder();
    while (c.winDir.endsWith(u'\\'))
        c.winDir.chop(1);
    const QStringList folders = settings.helpPath.isEmpty() ? QStringList{programFolder, QString()}
                                                            : settings.helpPath.split(u'|');
    c.helpFolders.append(c.winDir + QStringLiteral("\\help\\"));
    c.helpFolders.append(QString());
    for (const QString& f : folders)
        c.helpFolders.append(withBackslash(f));
    c.helpFolders.append(QString());

    c.scriptLibList.append(QString());
    c.scriptLibList.append(settings.scriptLibs.split(u';'));
    if (machine.keyExists(kScriptDoc56)) {
        c.scriptLibList[0] = kScript56;
        const QString dir = machine.keyValue(kScriptDoc56, QStringLiteral("InstallDir"));
        if (!dir.isEmpty() && machine.folderExists(dir))
            c.helpFolders[1] = dir;
    } else if (machine.keyExists(kScriptDoc)) {
        c.scriptLibList[0] = kScript56;
        const QString dir = machine.keyValue(kScriptDoc, QStringLiteral("InstallDir"));
        if (!dir.isEmpty() && machine.fileExists(dir + u'\\' + kScript56))
            c.helpFolders[1] = dir;
    } else if (settings.scriptHelp.contains(u'\\')) {
        const QString file = LibFileKey(settings.scriptHelp);
        c.scriptLibList[0] = settings.scriptHelp.right(file.size());
        c.helpFolders[1] = settings.scriptHelp.left(settings.scriptHelp.size() - file.size());
    } else {
        c.scriptLibList[0] = settings.scriptHelp;
    }
    c.scriptDefaultPages = settings.slDefaultPage.split(u';');
    c.scriptMethodPrefixes = settings.slMethodPrefix.split(u';', Qt::SkipEmptyParts);
    return c;
}

} // namespace vantor::help
