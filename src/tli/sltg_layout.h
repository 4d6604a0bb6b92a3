#pragma once

#include <QtGlobal>

// The layout of an SLTG type library (the format of the 16-bit-era type library tools), named
// once for the reader and for the tests that damage real files. All numbers are little-endian;
// records are packed. Offsets are in bytes from the start of the record named.
namespace vantor::tli::sltg {

constexpr quint32 Signature = 0x47544C53; // "SLTG"
constexpr quint16 None16 = 0xFFFF;
constexpr quint32 None32 = 0xFFFFFFFF;

// File header, then one block entry per block, then the directory magic, one index string per
// type info, nine zero bytes, and the blocks.
namespace header {
constexpr int BlockCount = 0x04; // u16: block entries + 1
constexpr int FirstBlock = 0x0A; // u16: 1-based entry of the block that comes first in the file
constexpr int Size = 0x24;
} // namespace header

namespace block_entry {
constexpr int Length = 0x00; // u32
constexpr int Next = 0x06;   // u16: 1-based entry of the following block, 0 after the last
constexpr int Size = 0x08;
} // namespace block_entry

constexpr char DirectoryMagic[] = "\x01"
                                  "CompObj\0dir"; // 13 bytes with the closing NUL
constexpr int DirectoryMagicSize = 13;
constexpr int IndexStringSize = 11;
constexpr int PaddingSize = 9;

// The library block, the last of the chain. After its fixed part: a u16 length-prefixed text
// at `Reserved06` (0xFFFF: none), the doc, the help file (texts: u16 byte count, 0xFFFF for none,
// then 8-bit characters), then the fields of `lib_tail`.
namespace lib_block {
constexpr quint16 Magic = 0x51CC;
constexpr int Name = 0x04; // u16: name table offset
constexpr int Reserved06 = 0x06;
} // namespace lib_block

namespace lib_tail {
constexpr int HelpContext = 0x00; // u32
constexpr int SysKind = 0x04;     // u16
constexpr int Lcid = 0x06;        // u16
constexpr int LibFlags = 0x0C;    // u16
constexpr int Major = 0x0E;       // u16
constexpr int Minor = 0x10;       // u16
constexpr int Guid = 0x12;        // 16 bytes
constexpr int Size = 0x22;
// 0x40 bytes of slots follow, then the u16 count of type infos and their directory entries.
constexpr int Slots = 0x40;
} // namespace lib_tail

// A type info's directory entry: an index string and a second name (each a u16 length and the
// characters, 0xFFFF for none), then these fields, `DocLength` bytes of doc between DocLength
// and HelpContext.
namespace type_entry {
constexpr int Name = 0x06;      // u16: name table offset (after the two strings)
constexpr int DocLength = 0x08; // u16: bytes of compressed doc that follow
constexpr int Doc = 0x0A;
constexpr int HelpContext = 0x0C; // u32 (after the doc bytes)
constexpr int Guid = 0x12;        // 16 bytes (after the doc bytes)
constexpr int Size = 0x24;        // fixed bytes besides the strings and the doc
} // namespace type_entry

// After the directory: a u32 that, added to the library block's offset, leads to the name table
// (past 0x20 more bytes when the word there is 0x0200, then NameTableSkip bytes). Names are
// NUL-terminated 8-bit text.
constexpr quint16 NameTableShifted = 0x0200;
constexpr int NameTableShift = 0x20;
constexpr int NameTableSkip = 0x218;

// A type info block: this header, then at `ElemTable` a member header whose body holds the
// member records; the tail follows the body. Offsets inside records are relative to the body.
namespace type_header {
constexpr quint16 Magic = 0x0501;
constexpr int RefTable = 0x02;   // u32: offset of the reference table from the block, or None32
constexpr int ElemTable = 0x0A;  // u32: offset of the member header from the block
constexpr int Major = 0x12;      // u16
constexpr int Minor = 0x14;      // u16
constexpr int TypeFlags1 = 0x1A; // u8: type flags << 3 in its top five bits
constexpr int TypeFlags2 = 0x1B; // u8: type flags >> 5
constexpr int Kind = 0x1D;       // u8: TYPEKIND
constexpr int Size = 0x22;
} // namespace type_header

namespace member_header {
constexpr int BodyLength = 0x05; // u32
constexpr int Size = 0x09;
} // namespace member_header

namespace tail {
constexpr int FuncCount = 0x00;   // u16
constexpr int VarCount = 0x02;    // u16
constexpr int FuncsOffset = 0x08; // u16: first function record in the body, or None16
constexpr int VarsOffset = 0x0A;  // u16
constexpr int ImplsOffset = 0x0C; // u16
constexpr int AliasType = 0x14;   // u16: the aliased VARTYPE, or the offset of its type words
constexpr int SimpleAlias = 0x1C; // u16: non-zero when AliasType is a VARTYPE
constexpr int SizeInstance = 0x20;
constexpr int Alignment = 0x22;
constexpr int SizeVft = 0x28;
constexpr int Size = 0x36;
} // namespace tail

// The reference table: its names "*\R<hex>*#<hex>" name a type by number, in this library
// (first number ffff) or in the library whose "*\G{guid}#major.minor#lcid#file#" text lies at
// that name table offset.
namespace ref_table {
constexpr quint8 Magic = 0xDF;
constexpr int Length = 0x44; // u32: 8 bytes per reference
constexpr int Data = 0x48;   // `Length` bytes, then 7 more, then the names
constexpr int NamesGap = 7;
} // namespace ref_table

// Records in the body chain through `Next` (offset in the body of the following record).
namespace func {
constexpr quint8 KindMask = 0xDF;
constexpr quint8 HasFlags = 0x20;
constexpr quint8 Virtual = 0x4C;
constexpr quint8 Dispatch = 0xCB;
constexpr quint8 Static = 0x8B;
constexpr int Magic = 0x00;      // u8
constexpr int Invoke = 0x01;     // u8: INVOKEKIND in the high nibble
constexpr int Next = 0x02;       // u16
constexpr int Name = 0x04;       // u16
constexpr int MemberId = 0x06;   // u32
constexpr int ArgsOffset = 0x0E; // u16: the parameters in the body
constexpr int CallArgs = 0x10;   // u8: CALLCONV in bits 0-2, parameter count above
constexpr int ReturnInfo = 0x11; // u8: 0x80 return type inline, optional count in bits 1-6
constexpr int ReturnType = 0x12; // u16: the type word, or the offset of the type words
constexpr int VtableSlot = 0x14; // u16: vtable offset for 32-bit pointers (bit 0 not part)
constexpr int Flags = 0x16;      // u16, present with HasFlags
constexpr int Size = 0x16;
constexpr quint8 InlineReturn = 0x80;
// A parameter: a name word (bit 0 set: the type words follow inline; else the next word is
// the offset of the type words; 0xFFFE: the function's own name).
constexpr quint16 InlineType = 0x1;
constexpr quint16 SameName = 0xFFFE;
} // namespace func

namespace var {
constexpr quint8 Plain = 0x0A;
constexpr quint8 WithFlags = 0x2A;
constexpr int Magic = 0x00;    // u8
constexpr int Kind = 0x01;     // u8: the bits below
constexpr int Next = 0x02;     // u16
constexpr int Name = 0x04;     // u16 (0xFFFE: the previous variable's name)
constexpr int Data = 0x06;     // u16: instance offset, the value itself, or its offset
constexpr int Type = 0x08;     // u16: the type word, or the offset of the type words
constexpr int MemberId = 0x0A; // u32
constexpr int Flags = 0x12;    // u16, present with WithFlags
constexpr int Size = 0x12;
constexpr quint8 InlineType = 0x02;
constexpr quint8 InlineValue = 0x08;
constexpr quint8 Constant = 0x10;
constexpr quint8 Dispatch = 0x40;
constexpr quint8 ReadOnly = 0x80;
} // namespace var

namespace impl {
constexpr quint16 Magic = 0x004A;
constexpr int Next = 0x02;  // u16
constexpr int Flags = 0x06; // u8: IMPLTYPEFLAGS
constexpr int Ref = 0x0A;   // u16: reference number
constexpr int Size = 0x16;
} // namespace impl

// A type word: the VARTYPE in bits 0-5; with all of PointerBits one pointer level around it;
// VT_PTR, VT_SAFEARRAY and VT_CARRAY are followed by what they refer to; VT_USERDEFINED by
// a word holding 4 x the reference number; VT_SAFEARRAY and VT_CARRAY by a word giving the
// offset of a SAFEARRAY record (CARRAY: u16 dimensions, bounds {u32 count, i32 lower} at +16).
namespace type_word {
constexpr quint16 VarType = 0x3F;
constexpr quint16 PointerBits = 0x0E00;
constexpr quint16 Retval = 0x0080;
constexpr quint16 Lcid = 0x2000;
constexpr quint16 Out = 0x4000;
constexpr quint16 InOut = 0x8000; // with Out as well: no direction
constexpr int ArrayDims = 0x00;
constexpr int ArrayBounds = 0x10;
} // namespace type_word

} // namespace vantor::tli::sltg
