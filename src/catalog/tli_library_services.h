#pragma once

#include "catalog/registry_catalog_builders.h"

namespace vantor {

namespace tli {
class TLIApplication;
}

// The catalog builders' type library services, given by the type information component.
class TliLibraryServices : public TypeLibraryServices {
public:
    explicit TliLibraryServices(const tli::TLIApplication& app) : app_(app) {}
    QString registeredLibraryName(const QString& guid, int major, int minor, int lcid) override;
    void registerLibraryFile(const QString& windowsPath) override;

private:
    const tli::TLIApplication& app_;
};

} // namespace vantor
