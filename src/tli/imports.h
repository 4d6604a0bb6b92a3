#pragma once

#include "tli/type_lib.h"

namespace vantor::tli {

class LibraryResolver;

// Finds each imported library through `resolver` (may be null) and points the references into
// it at their type infos: by the stored ordinal, or by GUID where the reference names one.
void resolveImports(TypeLibData& data, LibraryResolver* resolver);

} // namespace vantor::tli
