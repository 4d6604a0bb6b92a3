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

    try {
        registerFile(windows + QStringLiteral("\\wscript.exe"),
                     windows + QStringLiteral("\\system32\\wscript.exe"));
        frame.Status(QStringLiteral("successfully registered Wscript"));
    } catch (const Error&) {
        frame.Status(QStringLiteral("failed to register Wscript"));
    }
    sleep_(500);
    try {
        registerFile(windows + QStringLiteral("\\system\\vbscript.dll"),
                     windows + QStringLiteral("\\system32\\vbscript.dll"));
        frame.Status(QStringLiteral("successfully registered VBScript_Globals"));
    } catch (const Error&) {
        frame.Status(QStringLiteral("failed to register VBScript_Globals"));
    }
    sleep_(500);
}

} // namespace vantor
