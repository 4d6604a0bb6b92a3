#include "search/get_pid.h"

#include "platform/registry/store.h"

namespace vantor {

QString GetPID(const registry::Store& store, const QString& lib, const QString& cls,
               const QString& clsid) {
    using registry::Root;
    const QString combined = lib + u'.' + cls;
    if (store.keyExists(Root::ClassesRoot, combined) &&
        !store.subkeyNames(Root::ClassesRoot, combined).isEmpty())
        return combined;
    const QString classKey = QStringLiteral("CLSID\\") + clsid;
    const QString progIdKey = classKey + QStringLiteral("\\ProgID");
    if (!clsid.isEmpty() && store.keyExists(Root::ClassesRoot, classKey) &&
        store.keyExists(Root::ClassesRoot, progIdKey))
        return store.defaultText(Root::ClassesRoot, progIdKey).trimmed();
    return QString();
}

} // namespace vantor
