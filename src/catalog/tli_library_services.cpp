#include "catalog/tli_library_services.h"

#include "tli/tli_application.h"
#include "tli/type_lib_info.h"

namespace vantor {

QString TliLibraryServices::registeredLibraryName(const QString& guid, int major, int minor,
                                                  int lcid) {
    return app_.registeredLibraryName(guid, major, minor, lcid);
}

void TliLibraryServices::registerLibraryFile(const QString& windowsPath) {
    app_.typeLibInfoFromFile(windowsPath)->registerLibrary();
}

} // namespace vantor
