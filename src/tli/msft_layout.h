#pragma once

#include <QtGlobal>

// Where the fields of an MSFT type library lie: byte offsets inside each kind of record, all
// little-endian. The reader and the tests that damage real files on purpose share them.
namespace vantor::tli::msft {

// "No entry", in every offset field.
inline constexpr quint32 None = 0xFFFFFFFF;

namespace header {
inline constexpr quint32 Signature = 0x5446534D; // "MSFT"
enum : qint64 {
    Magic = 0x00,
    PosGuid = 0x08,
    Lcid = 0x10,
    VarFlags = 0x14,
    Version = 0x18, // major in the low word, minor in the high one
    Flags = 0x1C,
    TypeInfoCount = 0x20,
    HelpString = 0x24,
    HelpStringContext = 0x28,
    HelpContext = 0x2C,
    Name = 0x38,
    HelpFile = 0x3C,
    DispatchPos = 0x4C,
    Size = 0x54,
};
// Bits of VarFlags: the low nibble is the system kind; a help DLL's name follows the header.
inline constexpr quint32 SysKindMask = 0xF;
inline constexpr quint32 HasHelpDll = 0x100;

// The table of type-info offsets follows the header; the segment directory follows that table.
inline qint64 typeInfoOffsets(quint32 varFlags) {
    return Size + ((varFlags & HasHelpDll) ? 4 : 0);
}
} // namespace header

enum Segment {
    TypeInfoTab,
    ImpInfo,
    ImpFiles,
    RefTab,
    GuidHashTab,
    GuidTab,
    NameHashTab,
    NameTab,
    StringTab,
    TypeDescTab,
    ArrayDescTab,
    CustData,
    CDGuids,
    SegmentCount = 15
};
// A segment directory entry: the segment's offset and length.
namespace segment {
enum : qint64 { Offset = 0, Length = 4, Size = 16 };
}
inline qint64 segmentEntry(quint32 varFlags, quint32 typeInfoCount, int segment) {
    return header::typeInfoOffsets(varFlags) + 4 * qint64(typeInfoCount) + segment::Size * segment;
}

// A type info record in TypeInfoTab.
namespace typeinfo {
enum : qint64 {
    Kind = 0x00, // kind in the low nibble, alignment in bits 11..15
    MemberBlock = 0x04,
    Elements = 0x18, // functions in the low word, variables in the high one
    Guid = 0x2C,
    Flags = 0x30,
    Name = 0x34,
    Version = 0x38,
    HelpString = 0x3C,
    HelpStringContext = 0x40,
    HelpContext = 0x44,
    ImplCount = 0x4C,
    SizeVft = 0x4E,
    SizeInstance = 0x50,
    Datatype1 = 0x54,
    Size = 0x64,
};
} // namespace typeinfo

// A function record of a member block; its length is the low word of the first field.
namespace func {
enum : qint64 {
    Length = 0x00,
    ReturnType = 0x04,
    Flags = 0x08,
    VtableOffset = 0x0C,
    FuncKind = 0x10, // kind bits 0..2, invoke kind 3..6, calling convention 8..11
    ParamCount = 0x14,
    OptionalCount = 0x16,
    Optional = 0x18, // help context, help string, entry, ..., help string context (slot 5)
    MinSize = 0x18,
};
inline constexpr quint32 HasDefaults = 0x1000;    // in FuncKind
inline constexpr quint32 EntryIsOrdinal = 0x2000; // in FuncKind
inline constexpr quint8 Static = 3;               // function kind of a module's entry
} // namespace func

// A parameter of a function record, after its optional fields.
namespace param {
enum : qint64 { Type = 0, Name = 4, Flags = 8, Size = 12 };
}

// A variable record of a member block.
namespace var {
enum : qint64 {
    Length = 0x00,
    Type = 0x04,
    Flags = 0x08,
    VarKind = 0x0C,
    Data = 0x10, // a constant's value, else the instance offset
    HelpContext = 0x14,
    HelpString = 0x18,
    HelpStringContext = 0x24,
    MinSize = 0x14,
};
} // namespace var

// An implemented type of a coclass in RefTab.
namespace impl {
enum : qint64 { Ref = 0, Flags = 4, Next = 12, Size = 16 };
}

// An entry of NameTab: the name's length is in the low byte of Length, its text at Text.
namespace nameEntry {
enum : qint64 { HrefType = 0, Length = 8, Text = 12 };
}

// An entry of StringTab.
namespace stringEntry {
enum : qint64 { Length = 0, Text = 2 };
}

// An entry of ImpFiles; the name's length is Length's word shifted right by 2.
namespace importFile {
enum : qint64 { Guid = 0, Lcid = 4, Version = 8, Length = 12, Text = 14 };
}

// An entry of ImpInfo: a type of an imported library.
namespace importInfo {
enum : qint64 { Flags = 0, File = 4, GuidOrIndex = 8, Size = 12 };
inline constexpr quint32 ByGuid = 0x10000;
} // namespace importInfo

// A type descriptor of TypeDescTab, and an array descriptor of ArrayDescTab followed by its
// bounds (element count, lower bound).
namespace typeDesc {
enum : qint64 { VarType = 0, Inner = 4, Size = 8 };
// An encoded type with this bit holds its VARTYPE inline in the low 12 bits.
inline constexpr quint32 Inline = 0x80000000;
} // namespace typeDesc
namespace arrayDesc {
enum : qint64 {
    Element = 0,
    Dims = 4,
    Bounds = 8,
    BoundElements = 0,
    BoundLower = 4,
    BoundSize = 8
};
}

} // namespace vantor::tli::msft
