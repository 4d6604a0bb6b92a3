#pragma once

#include "tli/type_lib.h"

#include <QList>
#include <QString>
#include <memory>

namespace vantor::tli {

// One difference between two versions of a library, by meaning: types matched by name, members
// by name and invoke kind, names ignoring letter case.
struct LibraryChange {
    enum class Kind { Added, Removed, Changed };
    Kind kind = Kind::Changed;
    QString type;     // the type's name; empty for the library itself
    QString typeKind; // "interface", "coclass", ... ("library" for the library)
    QString member;   // "function Add", "property get Name", "constant Red"; empty for the type
    QString what;     // what changed ("guid", "parameter 2 (b) default", ...); empty for +/-
    QString oldValue;
    QString newValue;
};

// What differs between `older` and `newer`, grouped by type in the order of `older`, types
// added at the end: library attributes; types added and removed; a type's kind, GUID, flags,
// version, aliased type, DLL and base or implemented interfaces; members added and removed; a
// member's return type, parameters (names, types, flags, defaults), member id, flags, vtable
// slot, position in an interface, call convention and DLL entry; a variable's type, flags,
// offset and a constant's value.
QList<LibraryChange> diffLibraries(const std::shared_ptr<const TypeLib>& older,
                                   const std::shared_ptr<const TypeLib>& newer);

} // namespace vantor::tli
