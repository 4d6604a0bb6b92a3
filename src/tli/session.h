#pragma once

#include "tli/library_resolver.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

namespace vantor::registry {
class Store;
}
namespace vantor::winpath {
class PrefixPaths;
}

namespace vantor::tli {

// Where the registry says a library lives.
struct RegisteredLocation {
    QString windowsPath; // as registered, "\N" included
    QString hostPath;    // mapped to this machine, "\N" kept
};

// The libraries one application object has opened, and the machine they come from. References
// into other libraries resolve through the machine's TypeLib keys; each file is read once.
class Session : public LibraryResolver {
public:
    Session(registry::Store* store, const winpath::PrefixPaths* paths);

    registry::Store* store() const { return store_; }
    const winpath::PrefixPaths* paths() const { return paths_; }

    // A Windows path (or a host path) as a host path, a trailing "\N" kept.
    QString hostPath(const QString& path) const;
    // A host path as the machine's Windows path, through the prefix's drives (Wine's Z: names
    // the host's root); kept as it is when no drive reaches it or there is no prefix.
    QString windowsPath(const QString& path) const;

    // The library at a host path ("\N" allowed), read once and kept. Throws vantor::Error.
    std::shared_ptr<const TypeLib> open(const QString& hostPath);

    // The TypeLib registration of a library: the exact version, else the highest minor of the
    // same major above the one asked for; the locale, then 0, 9, 409; win32, win64, win16.
    std::optional<RegisteredLocation> registered(const Guid& guid, quint16 major, quint16 minor,
                                                 quint32 lcid) const;

    std::shared_ptr<const TypeLib> find(const Guid& guid, quint16 major, quint16 minor,
                                        quint32 lcid, const QString& fileName) override;

private:
    registry::Store* store_;
    const winpath::PrefixPaths* paths_;
    QHash<QString, std::shared_ptr<const TypeLib>> byPath_; // null: could not be read
    QSet<QString> loading_;
};

// "{XXXXXXXX-...}" to a GUID; nullopt when the text is no GUID.
std::optional<Guid> parseGuid(QStringView text);

} // namespace vantor::tli
