#include "tli/tli_application.h"

#include "platform/registry/store.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "tli/session.h"
#include "tli/type_lib_info.h"

namespace vantor::tli {
namespace {

const QString kSource = QStringLiteral("TLIApplication");
// TYPE_E_LIBNOTREGISTERED, as the system's loader reports it.
constexpr int ErrorLibNotRegistered = int(0x8002801D);

QString defaultText(const registry::Store& store, const QString& key) {
    return store.defaultText(registry::Root::ClassesRoot, key).trimmed();
}

// The file of a server command line: quoted, or up to the first switch.
QString serverFile(const QString& command) {
    if (command.startsWith(u'"')) {
        const qsizetype end = command.indexOf(u'"', 1);
        return end < 0 ? command.mid(1) : command.mid(1, end - 1);
    }
    for (const QLatin1String sw : {QLatin1String(" /"), QLatin1String(" -")}) {
        const qsizetype at = command.indexOf(sw);
        if (at > 0)
            return command.left(at).trimmed();
    }
    return command;
}

// The highest registered version of a library, as (major, minor).
std::optional<std::pair<quint16, quint16>> highestVersion(const registry::Store& store,
                                                          const Guid& guid) {
    std::optional<std::pair<quint16, quint16>> best;
    for (const QString& key : store.subkeyNames(registry::Root::ClassesRoot,
                                                QStringLiteral("TypeLib\\") + guid.toString())) {
        const qsizetype dot = key.indexOf(u'.');
        bool okMajor = false, okMinor = false;
        const uint major = key.left(dot).toUInt(&okMajor, 16);
        const uint minor = key.mid(dot + 1).toUInt(&okMinor, 16);
        if (dot <= 0 || !okMajor || !okMinor || major > 0xFFFF || minor > 0xFFFF)
            continue;
        const auto v = std::make_pair(quint16(major), quint16(minor));
        if (!best || v > *best)
            best = v;
    }
    return best;
}

[[noreturn]] void notFound(const QString& what) {
    throw Error(Error::InvalidCall, kSource, what);
}

} // namespace

TLIApplication::TLIApplication(registry::Store* store, const winpath::PrefixPaths* paths)
    : session_(std::make_shared<Session>(store, paths)) {}

TLIApplication::~TLIApplication() = default;

std::unique_ptr<TypeLibInfo> TLIApplication::typeLibInfoFromFile(const QString& path) const {
    auto info = std::make_unique<TypeLibInfo>(*this);
    info->setContainingFile(path);
    return info;
}

std::unique_ptr<TypeLibInfo> TLIApplication::typeLibInfoFromRegistry(const QString& guid, int major,
                                                                     int minor, int lcid) const {
    const std::optional<Guid> g = parseGuid(guid);
    if (!g)
        notFound(QStringLiteral("\"%1\" is not a GUID").arg(guid));
    std::optional<RegisteredLocation> where;
    if (major >= 0 && major <= 0xFFFF && minor >= 0 && minor <= 0xFFFF)
        where = session_->registered(*g, quint16(major), quint16(minor), quint32(lcid));
    if (!where)
        throw Error(ErrorLibNotRegistered, kSource,
                    QStringLiteral("Library not registered: %1 %2.%3 locale %4")
                        .arg(guid)
                        .arg(major)
                        .arg(minor)
                        .arg(lcid));
    return typeLibInfoFromFile(where->windowsPath);
}

QString TLIApplication::registeredLibraryName(const QString& guid, int major, int minor,
                                              int lcid) const {
    return typeLibInfoFromRegistry(guid, major, minor, lcid)->name();
}

InterfaceInfo TLIApplication::interfaceInfoFromObject(const QString& progIdOrClsid) const {
    registry::Store* store = session_->store();
    if (!store)
        notFound(QStringLiteral("No machine registry to find \"%1\" in").arg(progIdOrClsid));
    const QString name = progIdOrClsid.trimmed();
    QString clsidText = name;
    if (!parseGuid(name)) {
        clsidText = defaultText(*store, name + QStringLiteral("\\CLSID"));
        if (clsidText.isEmpty()) {
            const QString current = defaultText(*store, name + QStringLiteral("\\CurVer"));
            if (!current.isEmpty())
                clsidText = defaultText(*store, current + QStringLiteral("\\CLSID"));
        }
    }
    const std::optional<Guid> clsid = parseGuid(clsidText);
    if (!clsid) {
        if (!store->keyExists(registry::Root::ClassesRoot, name))
            notFound(QStringLiteral("no class is registered for ") + name);
        notFound(name + QStringLiteral(" names no CLSID"));
    }
    const QString classKey = QStringLiteral("CLSID\\") + clsid->toString();
    if (!store->keyExists(registry::Root::ClassesRoot, classKey))
        notFound(QStringLiteral("no class is registered for ") + name);
    const QString noLibrary =
        QStringLiteral("the class of ") + name +
        QStringLiteral(" names no type library, and its server file holds none");

    // The class's TypeLib key, else the type library inside its server file.
    QString location;
    if (const std::optional<Guid> libid =
            parseGuid(defaultText(*store, classKey + QStringLiteral("\\TypeLib")))) {
        std::optional<std::pair<quint16, quint16>> version;
        const QString versionText = defaultText(*store, classKey + QStringLiteral("\\Version"));
        const qsizetype dot = versionText.indexOf(u'.');
        bool okMajor = false, okMinor = false;
        const uint major = versionText.left(dot).toUInt(&okMajor, 16);
        const uint minor = versionText.mid(dot + 1).toUInt(&okMinor, 16);
        if (dot > 0 && okMajor && okMinor && major <= 0xFFFF && minor <= 0xFFFF)
            version = std::make_pair(quint16(major), quint16(minor));
        if (!version || !session_->registered(*libid, version->first, version->second, 0))
            version = highestVersion(*store, *libid);
        if (version)
            if (const auto where = session_->registered(*libid, version->first, version->second, 0))
                location = where->windowsPath;
    }
    const bool fromServer = location.isEmpty();
    if (fromServer)
        for (const char* server : {"\\InprocServer32", "\\LocalServer32"}) {
            location = serverFile(defaultText(*store, classKey + QLatin1String(server)));
            if (!location.isEmpty())
                break;
        }
    if (location.isEmpty())
        notFound(noLibrary);

    std::unique_ptr<TypeLibInfo> lib;
    try {
        lib = typeLibInfoFromFile(location);
    } catch (const Error&) {
        if (!fromServer)
            throw;
        notFound(noLibrary);
    }
    for (const TypeInfoView& coClass : lib->coClasses()) {
        if (coClass.info()->guid != *clsid)
            continue;
        const std::optional<TypeInfoView> iface = coClass.defaultInterface();
        if (!iface)
            notFound(QStringLiteral("The class %1 has no default interface").arg(coClass.name()));
        return InterfaceInfo{*iface, coClass, lib->guidText(), location};
    }
    notFound(
        QStringLiteral("The library \"%1\" holds no class %2").arg(lib->name(), clsid->toString()));
}

} // namespace vantor::tli
