#pragma once

#include "text/error.h"

namespace vantor::tli {

// The number the type services give a library they cannot load (TYPE_E_CANTLOADLIBRARY).
inline constexpr int ErrorCantLoadLibrary = int(0x80029C4A);

[[noreturn]] inline void failLoad(const QString& description) {
    throw Error(ErrorCantLoadLibrary, QStringLiteral("TypeLib"), description);
}

} // namespace vantor::tli
