#pragma once

#include <QtGlobal>

// Where the fields of a PE file's headers and resource tree lie: byte offsets inside each
// structure, little-endian. The resource reader and the tests that damage real files share them.
namespace vantor::pe::layout {

// The MZ header: its last field names the offset of the PE signature.
namespace mz {
enum : quint64 { NtOffset = 0x3C, Size = 0x40 };
}

// "PE\0\0" at that offset, followed by the COFF header.
inline constexpr quint32 PeSignature = 0x00004550u;
namespace coff {
enum : quint64 { At = 4, SectionCount = 2, OptionalHeaderSize = 16, Size = 20 };
}

// The optional header follows the COFF header; its data directories lie inside it.
namespace optional {
enum : quint64 { Magic = 0 };
inline constexpr quint16 Pe32Magic = 0x010B;
inline constexpr quint16 Pe32PlusMagic = 0x020B;
// NumberOfRvaAndSizes and the first data directory, by format.
inline constexpr quint32 directoryCount(bool pe32Plus) {
    return pe32Plus ? 108 : 92;
}
inline constexpr quint32 directories(bool pe32Plus) {
    return pe32Plus ? 112 : 96;
}
inline constexpr quint32 ResourceDirectory = 2; // the data directory of the resources
inline constexpr quint32 DirectorySize = 8;     // RVA, size
} // namespace optional

// A section header of the table after the optional header.
namespace section {
enum : quint64 { VirtualSize = 8, VirtualAddress = 12, RawSize = 16, RawPointer = 20, Size = 40 };
}

// A resource directory and its entries (named first, then by id). The high bit of an entry's
// name marks a name string, that of its target a subdirectory.
namespace resourceDirectory {
enum : quint64 { NamedCount = 12, IdCount = 14, Size = 16 };
}
namespace resourceEntry {
enum : quint64 { Name = 0, Target = 4, Size = 8 };
inline constexpr quint32 HighBit = 0x80000000u;
} // namespace resourceEntry
// A resource name: a UTF-16 length, then the units.
namespace resourceName {
enum : quint64 { Length = 0, Text = 2 };
}
// A data entry: the resource's RVA, size and code page.
namespace dataEntry {
enum : quint64 { Rva = 0, DataSize = 4, CodePage = 8, Size = 16 };
}

} // namespace vantor::pe::layout
