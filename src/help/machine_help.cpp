#include "help/machine_help.h"

#include "catalog/c_registry.h"
#include "platform/registry/store.h"
#include "platform/winpath/win_path.h"

#include <QFileInfo>

namespace vantor::help {

StoreHelpMachine::StoreHelpMachine(registry::Store& store, const winpath::PrefixPaths* paths)
    : store_(store), paths_(paths) {}

QString StoreHelpMachine::windowsFolder() const {
    return store_.systemRoot();
}

bool StoreHelpMachine::keyExists(const QString& key) const {
    return store_.keyExists(registry::Root::LocalMachine, key);
}

QString StoreHelpMachine::keyValue(const QString& key, const QString& name) const {
    cRegistry reg(store_);
    reg.setClassKey(HKEY_LOCAL_MACHINE);
    reg.setSectionKey(key);
    reg.setValueKey(name);
    const QVariant value = reg.Value();
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString StoreHelpMachine::hostPath(const QString& path) const {
    if (path.startsWith(u'/')) {
        QString host = path;
        return host.replace(u'\\', u'/');
    }
    // "\x" is a path on the current drive, the machine's C:.
    const QString windows = path.startsWith(u'\\') && !path.startsWith(QLatin1String("\\\\"))
                                ? QStringLiteral("C:") + path
                                : path;
    return paths_ ? paths_->toHost(windows) : QString();
}

bool StoreHelpMachine::fileExists(const QString& path) const {
    const QString host = hostPath(path);
    return !host.isEmpty() && QFileInfo(host).isFile();
}

bool StoreHelpMachine::folderExists(const QString& path) const {
    const QString host = hostPath(path);
    return !host.isEmpty() && QFileInfo(host).isDir();
}

} // namespace vantor::help
