#pragma once

#include "tli/guid.h"

#include <QString>
#include <QtGlobal>
#include <memory>
#include <span>
#include <vector>

namespace vantor::tli {

enum class TypeKind : quint8 { Enum, Record, Module, Interface, Dispatch, Coclass, Alias, Union };

// A variable's kind; constants are the members of enumerations and modules' constants.
enum class VarKind : quint8 { PerInstance, Static, Const, Dispatch };

// Invoke kinds of functions; a member list row ORs those of a property's accessors, and an event
// (a function of a coclass's source interface) is a row of its own kind.
namespace invoke {
enum : qint32 { Func = 1, PropertyGet = 2, PropertyPut = 4, PropertyPutRef = 8, Event = 16 };
}

// The VARTYPE numbers the reader itself gives meaning to.
namespace vt {
enum : quint16 {
    Empty = 0,
    Null = 1,
    I2 = 2,
    I4 = 3,
    R4 = 4,
    R8 = 5,
    Cy = 6,
    Date = 7,
    Bstr = 8,
    Dispatch = 9,
    Error = 10,
    Bool = 11,
    Variant = 12,
    Unknown = 13,
    Decimal = 14,
    I1 = 16,
    UI1 = 17,
    UI2 = 18,
    UI4 = 19,
    I8 = 20,
    UI8 = 21,
    Int = 22,
    UInt = 23,
    Void = 24,
    HResult = 25,
    Ptr = 26,
    SafeArray = 27,
    CArray = 28,
    UserDefined = 29,
    LpStr = 30,
    LpWStr = 31,
};
// Bits a type descriptor adds to the element's VARTYPE: a fixed-size array, a safe array.
enum : quint16 { FixedArrayBit = 0x1000, SafeArrayBit = 0x2000, ArrayBits = 0x3000 };
} // namespace vt

// The flags of types, implemented interfaces, functions, variables and parameters that the
// program reads.
namespace flag {
enum : quint16 {
    TypeAppObject = 0x1,
    TypeCanCreate = 0x2,
    TypeHidden = 0x10,
    TypeControl = 0x20,
    TypeDual = 0x40,
    TypeOleAutomation = 0x100,
    TypeRestricted = 0x200,
    TypeDispatchable = 0x1000,
    ImplDefault = 0x1,
    ImplSource = 0x2,
    FuncRestricted = 0x1,
    FuncHidden = 0x40,
    VarReadOnly = 0x1,
    VarHidden = 0x40,
    VarRestricted = 0x80,
    ParamLcid = 0x4,
    ParamRetval = 0x8,
    ParamOptional = 0x10,
    ParamHasDefault = 0x20,
};
// The member filters of the lists: members with any of these flags stay out unless "Show Hidden"
// is on.
inline constexpr quint16 HiddenFuncs = FuncRestricted | FuncHidden;
inline constexpr quint16 HiddenVars = VarHidden | VarRestricted;
} // namespace flag

// The longest chain of type descriptors, aliases or base interfaces followed: damaged files may
// chain them in circles; real ones stay far below this.
inline constexpr int MaxChainDepth = 64;

// Index of a type descriptor in TypeLib::type().
using TypeId = qint32;

struct ArrayBound {
    qint32 lowerBound = 0;
    quint32 elements = 0;
};

struct TypeDesc {
    quint16 vt = vt::Empty;
    TypeId inner = -1;     // Ptr, SafeArray: the pointed-to or element type; CArray: the element
    qint32 ref = -1;       // UserDefined: index into TypeLib::ref()
    qint32 firstBound = 0; // CArray: the first of `dims` entries of TypeLib::bounds()
    quint16 dims = 0;
};

// A reference to a type info in this library or an imported one.
struct TypeRef {
    qint32 library = -1; // -1: this library; else an index into TypeLib::imports()
    qint32 index = -1;   // the type info the reference reaches; -1 when it reaches none
    qint32 stored = -1;  // what the file names: a local type info index or an imported ordinal
    Guid guid;           // imported by GUID: the type's GUID
    bool byGuid = false;
};

class TypeLib;

struct ImportedLibrary {
    Guid guid;
    quint16 major = 0;
    quint16 minor = 0;
    quint32 lcid = 0;
    QString fileName;                       // the name it was imported as, not a path
    std::shared_ptr<const TypeLib> library; // null when it could not be found
};

// A default value or constant.
struct Value {
    enum class State : quint8 {
        Present,
        Invalid, // stored, but of a kind the type services refuse to copy
    };
    State state = State::Present;
    quint16 vt = vt::Empty;
    qint64 integer = 0; // integers, BOOL, ERROR, CY (value x 10000), DISPATCH/UNKNOWN (0: null)
    double real = 0;    // R4 (widened), R8, DATE
    QString text;       // BSTR
};

struct Range {
    qint32 first = 0;
    qint32 count = 0;
};

struct Param {
    QString name;
    quint16 flags = 0;
    TypeId type = -1;
    qint32 defaultValue = -1; // index into TypeLib::value(), -1 when none is stored
};

struct Func {
    qint32 memid = 0;
    QString name;
    QString doc;
    quint32 helpContext = 0;
    quint32 helpStringContext = 0;
    quint8 invokeKind = 1;
    quint8 funcKind = 0;
    quint8 callConv = 0;
    quint16 flags = 0;
    qint16 vtableOffset = 0;
    qint16 optionalCount = 0; // -1: the last parameter takes the remaining arguments
    TypeId returnType = -1;
    Range params;
    bool badDefault = false;  // a parameter's default the type services cannot copy
    qint32 entryOrdinal = -1; // module functions: the DLL entry by ordinal or by name
    QString entryName;
};

struct Var {
    qint32 memid = 0;
    QString name;
    QString doc;
    quint32 helpContext = 0;
    quint32 helpStringContext = 0;
    VarKind varKind = VarKind::PerInstance;
    quint16 flags = 0;
    TypeId type = -1;
    qint32 value = -1; // constants: index into TypeLib::value()
    qint32 instanceOffset = 0;
};

struct ImplType {
    quint16 flags = 0;
    qint32 ref = -1; // index into TypeLib::ref()
};

struct TypeInfo {
    TypeKind kind = TypeKind::Enum;
    Guid guid;
    quint16 flags = 0;
    quint16 major = 0;
    quint16 minor = 0;
    QString name;
    QString doc;
    quint32 helpContext = 0;
    quint32 helpStringContext = 0;
    quint32 sizeInstance = 0;
    quint16 alignment = 0;
    quint16 sizeVft = 0;
    TypeId alias = -1; // aliases: the aliased type
    QString dllName;   // modules
    Range implTypes;
    Range funcs;
    Range vars;
    qint32 interfaceView = -1; // dual dispinterfaces: index into TypeLib::interfaceViews()
};

// Everything a library holds, filled by a reader and then frozen in a TypeLib.
struct TypeLibData {
    QString name;
    QString doc;
    QString helpFile;
    quint32 helpContext = 0;
    quint32 helpStringContext = 0;
    Guid guid;
    quint16 major = 0;
    quint16 minor = 0;
    quint32 lcid = 0;
    quint8 sysKind = 0;
    quint16 libFlags = 0;
    std::vector<TypeInfo> typeInfos;
    std::vector<TypeInfo> interfaceViews;
    std::vector<ImplType> implTypes;
    std::vector<Func> funcs;
    std::vector<Param> params;
    std::vector<Var> vars;
    std::vector<TypeDesc> types;
    std::vector<ArrayBound> bounds;
    std::vector<TypeRef> refs;
    std::vector<Value> values;
    std::vector<ImportedLibrary> imports;
};

// An immutable type library as the type services present it: a dual interface is a dispatch
// view (its type info) plus an interface view; members show the names and docs the services
// look up by member id.
class TypeLib {
public:
    explicit TypeLib(TypeLibData data) : d_(std::move(data)) {}

    const QString& name() const { return d_.name; }
    const QString& doc() const { return d_.doc; }
    const QString& helpFile() const { return d_.helpFile; }
    quint32 helpContext() const { return d_.helpContext; }
    quint32 helpStringContext() const { return d_.helpStringContext; }
    const Guid& guid() const { return d_.guid; }
    quint16 major() const { return d_.major; }
    quint16 minor() const { return d_.minor; }
    quint32 lcid() const { return d_.lcid; }
    quint8 sysKind() const { return d_.sysKind; }
    quint16 libFlags() const { return d_.libFlags; }

    std::span<const TypeInfo> typeInfos() const { return d_.typeInfos; }
    // The interface view of a dual dispinterface, or null.
    const TypeInfo* interfaceView(const TypeInfo& info) const {
        return info.interfaceView < 0 ? nullptr : &d_.interfaceViews[info.interfaceView];
    }
    std::span<const ImplType> implTypes(const TypeInfo& info) const {
        return slice(d_.implTypes, info.implTypes);
    }
    std::span<const Func> funcs(const TypeInfo& info) const { return slice(d_.funcs, info.funcs); }
    std::span<const Var> vars(const TypeInfo& info) const { return slice(d_.vars, info.vars); }
    std::span<const Param> params(const Func& func) const { return slice(d_.params, func.params); }

    const TypeDesc& type(TypeId id) const { return d_.types[id]; }
    std::span<const ArrayBound> bounds(const TypeDesc& t) const {
        return std::span(d_.bounds).subspan(t.firstBound, t.dims);
    }
    const TypeRef& ref(qint32 index) const { return d_.refs[index]; }
    const Value& value(qint32 index) const { return d_.values[index]; }
    std::span<const ImportedLibrary> imports() const { return d_.imports; }

    // The library and type info a reference reaches; both null when it reaches none.
    struct Target {
        const TypeLib* library = nullptr;
        const TypeInfo* info = nullptr;
    };
    Target resolve(const TypeRef& ref) const;
    Target resolve(qint32 refIndex) const { return resolve(ref(refIndex)); }

    // Whether two libraries have the same GUID, version and locale.
    bool sameIdentity(const TypeLib& other) const {
        return d_.guid == other.d_.guid && d_.major == other.d_.major &&
               d_.minor == other.d_.minor && d_.lcid == other.d_.lcid;
    }

private:
    template <class T> static std::span<const T> slice(const std::vector<T>& v, Range r) {
        return std::span(v).subspan(r.first, r.count);
    }

    TypeLibData d_;
};

} // namespace vantor::tli
