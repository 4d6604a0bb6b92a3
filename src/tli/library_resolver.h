#pragma once

#include "tli/guid.h"

#include <QString>
#include <memory>

namespace vantor::tli {

class TypeLib;

// Finds the libraries a type library imports: the machine's registry (Session), or a fixed set
// of library files where no registry is wanted (LibrarySet: fuzzing, damage runs).
class LibraryResolver {
public:
    virtual ~LibraryResolver() = default;

    // The library with this GUID and version (the best match for the locale), or null when
    // none is known. `fileName` is the name it was imported as.
    virtual std::shared_ptr<const TypeLib> find(const Guid& guid, quint16 major, quint16 minor,
                                                quint32 lcid, const QString& fileName) = 0;
};

} // namespace vantor::tli
