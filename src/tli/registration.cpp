#include "tli/registration.h"

#include "platform/pe/pe_resources.h"
#include "platform/registry/store.h"
#include "platform/registry/value_type.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"
#include "tli/type_lib.h"
#include "tli/type_lib_file.h"

#include <QFile>

namespace vantor::tli {
namespace {

constexpr quint8 SysWin64 = 3;
// The system's proxies: PSDispatch for dispinterfaces, PSOAInterface for the others.
const QString kPSDispatch = QStringLiteral("{00020420-0000-0000-C000-000000000046}");
const QString kPSOAInterface = QStringLiteral("{00020424-0000-0000-C000-000000000046}");

bool isPe32Plus(const QString& hostPath) {
    QFile f(splitLibraryPath(hostPath).file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (bytes.size() < 2 || !bytes.startsWith("MZ"))
        return false;
    try {
        return pe::PeResources(bytes).isPe32Plus();
    } catch (const Error&) {
        // Not a readable PE file: it is registered as the 32-bit file it most likely is.
        return false;
    }
}

class Writer {
public:
    explicit Writer(registry::Store& store) : store_(store) {}

    void text(const QString& key, const QString& name, const QString& value) {
        const QByteArray data(reinterpret_cast<const char*>(value.utf16()), (value.size() + 1) * 2);
        if (!store_.setValue(registry::Root::ClassesRoot, key, name, registry::RegSz, data))
            throw Error(Error::PathAccess, QStringLiteral("TypeLibInfo"),
                        QStringLiteral("Cannot write HKEY_CLASSES_ROOT\\%1 into %2")
                            .arg(key, store_.overlayPath()));
    }

private:
    registry::Store& store_;
};

} // namespace

void registerTypeLib(registry::Store& store, const TypeLib& lib, const QString& windowsPath,
                     const QString& hostPath) {
    registry::Store::Batch batch(store);
    Writer w(store);
    const QString guid = lib.guid().toString();
    // Registry keys spell the version and the locale in hexadecimal.
    const QString version =
        QString::number(lib.major(), 16) + u'.' + QString::number(lib.minor(), 16);
    const QString versionKey = QStringLiteral("TypeLib\\") + guid + u'\\' + version;
    const bool win64 = lib.sysKind() == SysWin64 || isPe32Plus(hostPath);
    w.text(versionKey, QString(), lib.doc());
    w.text(versionKey + u'\\' + QString::number(lib.lcid(), 16) +
               (win64 ? QStringLiteral("\\win64") : QStringLiteral("\\win32")),
           QString(), windowsPath);
    w.text(versionKey + QStringLiteral("\\FLAGS"), QString(), QString::number(lib.libFlags()));
    QString folder = winpath::splitResource(windowsPath).path;
    folder.truncate(std::max<qsizetype>(0, folder.lastIndexOf(u'\\')));
    w.text(versionKey + QStringLiteral("\\HELPDIR"), QString(), folder);

    for (const TypeInfo& info : lib.typeInfos()) {
        const bool dispatch = info.kind == TypeKind::Dispatch;
        const bool automation = info.kind == TypeKind::Interface &&
                                (info.flags & (flag::TypeDual | flag::TypeOleAutomation));
        if (!dispatch && !automation)
            continue;
        const QString key = QStringLiteral("Interface\\") + info.guid.toString();
        w.text(key, QString(), info.name);
        const bool dual = (info.flags & flag::TypeDual) != 0;
        w.text(key + QStringLiteral("\\ProxyStubClsid32"), QString(),
               dispatch && !dual ? kPSDispatch : kPSOAInterface);
        w.text(key + QStringLiteral("\\TypeLib"), QString(), guid);
        w.text(key + QStringLiteral("\\TypeLib"), QStringLiteral("Version"), version);
    }
    if (!batch.commit())
        throw Error(Error::PathAccess, QStringLiteral("TypeLibInfo"),
                    QStringLiteral("Cannot write ") + store.overlayPath());
}

} // namespace vantor::tli
