#include "tli/imports.h"

#include "tli/library_resolver.h"

namespace vantor::tli {

void resolveImports(TypeLibData& data, LibraryResolver* resolver) {
    for (ImportedLibrary& lib : data.imports)
        if (resolver)
            lib.library = resolver->find(lib.guid, lib.major, lib.minor, lib.lcid, lib.fileName);
    for (TypeRef& r : data.refs) {
        if (r.library < 0)
            continue;
        const TypeLib* lib = data.imports[r.library].library.get();
        if (!lib)
            continue;
        const auto infos = lib->typeInfos();
        if (!r.byGuid) {
            if (r.stored >= 0 && size_t(r.stored) < infos.size())
                r.index = r.stored;
            continue;
        }
        for (size_t i = 0; i < infos.size(); ++i)
            if (infos[i].guid == r.guid) {
                r.index = qint32(i);
                break;
            }
    }
}

} // namespace vantor::tli
