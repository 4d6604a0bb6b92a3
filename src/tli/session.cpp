#include "tli/session.h"

#include "platform/registry/store.h"
#include "platform/registry/value_type.h"
#include "platform/winpath/win_path.h"
#include "text/error.h"
#include "tli/type_lib_file.h"

namespace vantor::tli {
namespace {

// A "major.minor" key in hexadecimal.
std::optional<std::pair<quint16, quint16>> parseVersion(const QString& key) {
    const qsizetype dot = key.indexOf(u'.');
    if (dot <= 0)
        return std::nullopt;
    bool okMajor = false, okMinor = false;
    const uint major = key.left(dot).toUInt(&okMajor, 16);
    const uint minor = key.mid(dot + 1).toUInt(&okMinor, 16);
    if (!okMajor || !okMinor || major > 0xFFFF || minor > 0xFFFF)
        return std::nullopt;
    return std::make_pair(quint16(major), quint16(minor));
}

} // namespace

std::optional<Guid> parseGuid(QStringView text) {
    text = text.trimmed();
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}')
        return std::nullopt;
    auto hex = [&](qsizetype from, qsizetype n, bool& ok) {
        return text.mid(from, n).toULongLong(&ok, 16);
    };
    if (text[9] != u'-' || text[14] != u'-' || text[19] != u'-' || text[24] != u'-')
        return std::nullopt;
    Guid g;
    bool ok = true, all = true;
    g.data1 = quint32(hex(1, 8, ok));
    all &= ok;
    g.data2 = quint16(hex(10, 4, ok));
    all &= ok;
    g.data3 = quint16(hex(15, 4, ok));
    all &= ok;
    for (int i = 0; i < 2; ++i) {
        g.data4[i] = quint8(hex(20 + 2 * i, 2, ok));
        all &= ok;
    }
    for (int i = 0; i < 6; ++i) {
        g.data4[2 + i] = quint8(hex(25 + 2 * i, 2, ok));
        all &= ok;
    }
    // toULongLong accepts a sign or blanks; the round trip rejects them.
    if (!all || g.toString().compare(text, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return g;
}

Session::Session(registry::Store* store, const winpath::PrefixPaths* paths)
    : store_(store), paths_(paths) {}

QString Session::hostPath(const QString& path) const {
    if (!paths_ || path.startsWith(u'/'))
        return path;
    const winpath::ResourcePath split = winpath::splitResource(path);
    const QString host = paths_->toHost(split.path);
    if (host.isEmpty())
        return path;
    return split.resource > 0 ? host + u'\\' + QString::number(split.resource) : host;
}

QString Session::windowsPath(const QString& path) const {
    if (!path.startsWith(u'/') || !paths_)
        return path;
    const winpath::ResourcePath split = winpath::splitResource(path);
    const QString windows = paths_->toWindows(split.path);
    if (windows.isEmpty())
        return path;
    return split.resource > 0 ? windows + u'\\' + QString::number(split.resource) : windows;
}

std::shared_ptr<const TypeLib> Session::open(const QString& hostPath) {
    const auto it = byPath_.constFind(hostPath);
    if (it != byPath_.cend() && *it)
        return *it;
    loading_.insert(hostPath);
    try {
        std::shared_ptr<const TypeLib> lib = loadTypeLib(hostPath, this);
        loading_.remove(hostPath);
        byPath_.insert(hostPath, lib);
        return lib;
    } catch (...) {
        loading_.remove(hostPath);
        throw;
    }
}

std::optional<RegisteredLocation> Session::registered(const Guid& guid, quint16 major,
                                                      quint16 minor, quint32 lcid) const {
    if (!store_)
        return std::nullopt;
    const QString libKey = QStringLiteral("TypeLib\\") + guid.toString();
    QString version;
    int bestMinor = -1;
    for (const QString& key : store_->subkeyNames(registry::Root::ClassesRoot, libKey)) {
        const auto v = parseVersion(key);
        if (!v || v->first != major || v->second < minor)
            continue;
        if (v->second == minor) {
            version = key;
            break;
        }
        if (v->second > bestMinor) {
            bestMinor = v->second;
            version = key;
        }
    }
    if (version.isEmpty())
        return std::nullopt;
    const QString versionKey = libKey + u'\\' + version;
    // Locale keys are hexadecimal; a writer may pad them ("0409").
    QHash<quint32, QString> localeKeys;
    for (const QString& key : store_->subkeyNames(registry::Root::ClassesRoot, versionKey)) {
        bool ok = false;
        const uint locale = key.toUInt(&ok, 16);
        if (ok && !localeKeys.contains(locale))
            localeKeys.insert(locale, key);
    }
    const quint32 locales[] = {lcid, 0, 9, 0x409};
    for (quint32 locale : locales) {
        if (!localeKeys.contains(locale))
            continue;
        const QString localeKey = versionKey + u'\\' + localeKeys.value(locale);
        for (const char* platform : {"win32", "win64", "win16"}) {
            const QString key = localeKey + u'\\' + QLatin1String(platform);
            if (!store_->keyExists(registry::Root::ClassesRoot, key))
                continue;
            const QString path = store_->defaultText(registry::Root::ClassesRoot, key);
            if (path.isEmpty())
                continue;
            return RegisteredLocation{path, hostPath(path)};
        }
    }
    return std::nullopt;
}

std::shared_ptr<const TypeLib> Session::find(const Guid& guid, quint16 major, quint16 minor,
                                             quint32 lcid, const QString&) {
    const std::optional<RegisteredLocation> where = registered(guid, major, minor, lcid);
    if (!where)
        return nullptr;
    const QString& key = where->hostPath;
    if (loading_.contains(key))
        return nullptr;
    const auto it = byPath_.constFind(key);
    if (it != byPath_.cend())
        return *it;
    try {
        return open(key);
    } catch (const Error&) {
        // An unreadable import leaves its references unresolved; it is not tried again.
        byPath_.insert(key, nullptr);
        return nullptr;
    }
}

} // namespace vantor::tli
