#pragma once

#include <QString>
#include <QStringList>

namespace vantor::help {

// The machine as help resolution sees it: its registry (HKEY_LOCAL_MACHINE) and its files.
// Paths are the machine's Windows paths ("C:\x", "\x" on the current drive C:) or host paths
// ("/x"), which are complete as they are.
class HelpMachine {
public:
    virtual ~HelpMachine() = default;
    // The Windows folder without a trailing backslash.
    virtual QString windowsFolder() const = 0;
    virtual bool keyExists(const QString& key) const = 0;
    // A string value of a key; empty when there is none.
    virtual QString keyValue(const QString& key, const QString& name) const = 0;
    virtual bool fileExists(const QString& path) const = 0;
    virtual bool folderExists(const QString& path) const = 0;
    // The host file of a path; empty when it names none.
    virtual QString hostPath(const QString& path) const = 0;
};

// The [MetaHelp] settings start-up reads.
struct HelpSettings {
    QString helpPath;
    QString scriptLibs;
    QString scriptHelp;
    QString slDefaultPage;
    QString slMethodPrefix;
};

// The help configuration of the main window, read once at start-up.
struct HelpConfig {
    QString winDir;
    // 0: the Windows help folder, 1: the script help folder, 2: the library's own folder (set
    // by each lookup), then the HelpPath folders; the last element stays empty.
    QStringList helpFolders;
    // 0: the script help file, then the ScriptLibs entries ("file key|prefix").
    QStringList scriptLibList;
    QStringList scriptDefaultPages;
    QStringList scriptMethodPrefixes;
};

// `programFolder` (a host path) is the folder searched when HelpPath is empty.
HelpConfig readHelpConfig(const HelpSettings& settings, const HelpMachine& machine,
                          const QString& programFolder);

// The key of a library file: its last path part in lower case, or for a trailing resource
// number the two last parts ("vbscript.dll\3").
QString LibFileKey(const QString& path);

} // namespace vantor::help
