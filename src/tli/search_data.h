#pragma once

#include <QtGlobal>

namespace vantor::tli {

// The item data of a type-info list row: low 12 bits the 0-based type-info number, high byte
// category flags.
namespace search {
enum : quint32 {
    NumberMask = 0xFFF,
    Constants = 0x04000000, // bit value 4 of the high byte: enumerations, modules of constants
    Globals = 0x40000000,   // the "<globals>" row; its number bits are all set
};
// The row that stands for the library's global members.
inline constexpr qint32 GlobalsRow = qint32(Globals | NumberMask);
// The most type infos a list can number.
inline constexpr int MaxNumbered = int(NumberMask);
} // namespace search

// The search data of a type-info row; the functions below read it back.
inline qint32 encodeSearchData(int number, bool constants) {
    return qint32((quint32(number) & search::NumberMask) |
                  (constants ? quint32(search::Constants) : 0));
}
inline bool isGlobalsSearchData(qint32 searchData) {
    return (quint32(searchData) & search::Globals) != 0;
}
inline int typeInfoNumber(qint32 searchData) {
    return int(quint32(searchData) & search::NumberMask);
}
inline bool isConstantSearchData(qint32 searchData) {
    return (quint32(searchData) & search::Constants) != 0;
}

} // namespace vantor::tli
