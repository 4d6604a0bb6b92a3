#pragma once

#include "catalog/catalogs.h"
#include "catalog/recording_frame.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/tli_library_services.h"
#include "tli/tli_machine.h"

namespace vantor::test {

// The test prefix (real hives, Wine's binaries as system32) with the catalogs its registry gives,
// built into the prefix's program folder by the catalog builders.
class BrowsingMachine : public tli::testing::PrefixMachine {
public:
    BrowsingMachine() {
        if (!valid())
            return;
        TliLibraryServices services(app());
        RegistryCatalogBuilders builders(store(), prefix().programFolder(), &services, &paths());
        builders.setSleep([](int) {});
        RecordingFrame frame;
        Catalogs catalogs(prefix().programFolder(), frame, &builders);
        built_ = catalogs.LoadDefs(0) == 0;
    }
    bool built() const { return built_; }
    QString programFolder() { return prefix().programFolder(); }

private:
    bool built_ = false;
};

// The catalog line of a library version ("{GUID}, 1.0"), or -1.
inline qint32 catalogLine(const Catalogs& catalogs, const QString& key) {
    for (qint32 i = 0; i < catalogs.TLDefs().size(); ++i)
        if (catalogs.TLDefs()[i].startsWith(key, Qt::CaseInsensitive))
            return i;
    return -1;
}

} // namespace vantor::test
