#pragma once

#include "tli/tli_views.h"

#include <QString>
#include <memory>

namespace vantor::registry {
class Store;
}
namespace vantor::winpath {
class PrefixPaths;
}

namespace vantor::tli {

class Session;
class TypeLibInfo;

// What the lookup of a class's interface information gives: the class's default interface,
// the coclass, and the library that holds them.
struct InterfaceInfo {
    TypeInfoView interface;
    TypeInfoView coClass;
    QString libraryGuid;
    QString containingFile; // the library's location as the registry names it
};

// The application object: opens libraries by path or from the registry and finds the type
// information of a registered class. References into other libraries resolve through the
// machine's registry; each library is opened once per application object and the libraries
// it shares with its TypeLibInfo objects.
class TLIApplication {
public:
    // `store` and `paths` may be null (no machine): references into other libraries then
    // reach nothing, registered libraries cannot be opened and paths are host paths. Both
    // must outlive the object and every TypeLibInfo made from it.
    TLIApplication(registry::Store* store, const winpath::PrefixPaths* paths);
    ~TLIApplication();

    // Opens the library of a file (see TypeLibInfo::setContainingFile).
    std::unique_ptr<TypeLibInfo> typeLibInfoFromFile(const QString& path) const;
    // Opens the library registered under GUID ("{...}"), version and locale: the locale's
    // key, else 0, 9, 409; the platform key win32, else win64, else win16. Throws
    // vantor::Error when it is not registered or cannot be read.
    std::unique_ptr<TypeLibInfo> typeLibInfoFromRegistry(const QString& guid, int major, int minor,
                                                         int lcid) const;
    // The name of that library.
    QString registeredLibraryName(const QString& guid, int major, int minor, int lcid) const;
    // The interface information of the class a ProgID or CLSID ("{...}") names, found through
    // the registry without running anything. Throws vantor::Error when the class, its library
    // or its coclass cannot be found.
    InterfaceInfo interfaceInfoFromObject(const QString& progIdOrClsid) const;

    const std::shared_ptr<Session>& session() const { return session_; }

private:
    std::shared_ptr<Session> session_;
};

} // namespace vantor::tli
