#pragma once

#include <cstdint>

namespace vantor::registry {

// Registry value types in the platform's numbering.
enum ValueType : std::uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegDwordBigEndian = 5,
    RegLink = 6,
    RegMultiSz = 7,
    RegQword = 11,
};

// Types whose data is UTF-16 text ending in NUL.
inline bool isStringType(std::uint32_t type) {
    return type == RegSz || type == RegExpandSz || type == RegMultiSz;
}

} // namespace vantor::registry
