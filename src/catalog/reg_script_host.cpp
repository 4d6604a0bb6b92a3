// RegScriptHost: the script host's own library is the home library, so every catalog load makes
// sure it is registered.
#include "catalog/catalogs.h"
#include "catalog/registry_catalog_builders.h"
#include "text/error.h"

namespace vantor {

void RegistryCatalogBuilders::RegScriptHost(CatalogFrame& frame) {
    cRegistry reg(store_);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(QStringLiteral("TypeLib\\") + Catalogs::kScriptHostGuid);
    if (reg.KeyExists()) {
        frame.Status(QStringLiteral("WScript Reg OK"));
        sleep_(500);
        return;
    }
    const QString windows = store_.systemRoot();
    const auto registerFile = [this](const QString& candidate, const QString& fallback) {
        const QString file = machineFileExists(candidate) ? candidate : fallback;
        if (!services_)
            throw Error(Error::ObjectMissing, QStringLiteral("RegScriptHost"),
                        QStringLiteral("No type information component"));
        services_->registerLibraryFile(file);
    };

    // The script host program, then the script engine library: where each is looked for first,
    // where else, and the name its messages use.
    const struct {
        const char* first;
        const char* second;
        const char* name;
    } libraries[] = {{"\\wscript.exe", "\\system32\\wscript.exe", "Wscript"},
                     {"\\system\\vbscript.dll", "\\system32\\vbscript.dll", "VBScript_Globals"}};
    for (const auto& library : libraries) {
        const QString name = QLatin1String(library.name);
        try {
            registerFile(windows + QLatin1String(library.first),
                         windows + QLatin1String(library.second));
            frame.Status(QStringLiteral("successfully registered ") + name);
        } catch (const Error&) {
            frame.Status(QStringLiteral("failed to register ") + name);
        }
        sleep_(500);
    }
}

} // namespace vantor
