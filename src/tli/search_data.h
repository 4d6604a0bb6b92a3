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

inline bool isGlobalsSearchData(qint32 searchData) {
    return (quint32(searchData) & search::Globals) != 0;
}
inline int typeInfoNumber(qint32 searchData) {
    return int(quint32(searchData) & search::NumberMask);
}
inline bool isConstantSearchData(qint32 searchData) {
    return (quint32(searchData) & search::Constants) != 0;
}

// Invoke kinds as a member list row carries them.
namespace invoke {
enum : qint32 { Func = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8, Event = 16 };
}

} // namespace vantor::tli
