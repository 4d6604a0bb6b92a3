#pragma once

#include "tli/type_lib.h"

#include <QList>
#include <QString>
#include <memory>
#include <optional>

// Read-only views over a loaded library, as the rest of Vantor sees type infos, members,
// parameters and type descriptors. Each view keeps its library alive; views are cheap to copy.
namespace vantor::tli {

class TypeInfoView;

// The identity of a library a view belongs to.
class LibraryView {
public:
    LibraryView() = default;
    explicit LibraryView(std::shared_ptr<const TypeLib> lib) : lib_(std::move(lib)) {}

    bool isNull() const { return !lib_; }
    QString name() const { return lib_->name(); }
    QString guidText() const { return lib_->guid().toString(); }
    quint16 majorVersion() const { return lib_->major(); }
    quint16 minorVersion() const { return lib_->minor(); }
    quint32 lcid() const { return lib_->lcid(); }
    QString helpString() const { return lib_->doc(); }
    QString helpFile() const { return lib_->helpFile(); }
    quint32 helpContext() const { return lib_->helpContext(); }

    const std::shared_ptr<const TypeLib>& library() const { return lib_; }
    bool operator==(const LibraryView& other) const { return lib_ == other.lib_; }

private:
    std::shared_ptr<const TypeLib> lib_;
};

// A type descriptor: variant type (0x1000 added for a fixed array, 0x2000 for a safe array
// over the element type; 0 for a user-defined type), pointer levels, the referenced type info.
class TypeDescriptor {
public:
    TypeDescriptor() = default;
    TypeDescriptor(std::shared_ptr<const TypeLib> lib, TypeId id);

    bool isNull() const { return !lib_ || id_ < 0; }
    quint16 varType() const;
    int pointerLevel() const;
    // The Basic name of the variant type ("Long", "String", ...); "Empty" for every type the
    // formatter names itself (void, pointers, arrays, user-defined types).
    QString typedValueName() const;
    // The user-defined type info (as referenced; it may be an alias), or nullopt when the type
    // is not user-defined or its reference reaches nothing.
    std::optional<TypeInfoView> typeInfo() const;
    // Whether the referenced type lies in another library, and that library.
    bool isExternal() const;
    LibraryView externalLibrary() const;
    // Fixed-array bounds per dimension as stored: lower bound and element count.
    QList<ArrayBound> arrayBounds() const;
    // The descriptor with user-defined aliases followed to the type they finally name.
    TypeDescriptor resolved() const;

    const TypeLib* library() const { return lib_.get(); }
    TypeId id() const { return id_; }

private:
    // The descriptor below pointers and arrays.
    const TypeDesc* element() const;

    std::shared_ptr<const TypeLib> lib_;
    TypeId id_ = -1;
};

class ParameterView {
public:
    ParameterView() = default;
    ParameterView(std::shared_ptr<const TypeLib> lib, const Param* param, bool optional);

    QString name() const { return param_->name; }
    bool isOptional() const { return optional_; }
    bool hasDefault() const { return (param_->flags & flag::ParamHasDefault) != 0; }
    // The default value; nullopt without one.
    std::optional<Value> defaultValue() const;
    TypeDescriptor type() const { return TypeDescriptor(lib_, param_->type); }
    quint16 flags() const { return param_->flags; }

private:
    std::shared_ptr<const TypeLib> lib_;
    const Param* param_ = nullptr;
    bool optional_ = false;
};

// The parameters of a member as the Basic view presents them.
struct Parameters {
    QList<ParameterView> items;
    // The optional count; -1 when the last parameter takes the remaining arguments.
    int optionalCount = 0;
    int count() const { return int(items.size()); }
};

// A function, property accessor, event, variable or constant of a type info.
class MemberView {
public:
    MemberView() = default;
    MemberView(std::shared_ptr<const TypeLib> lib, const TypeInfo* owner, const Func* func);
    MemberView(std::shared_ptr<const TypeLib> lib, const TypeInfo* owner, const Var* var);

    bool isNull() const { return !func_ && !var_; }
    bool isFunction() const { return func_ != nullptr; }
    bool isVariable() const { return var_ != nullptr; }
    bool isConstant() const { return var_ && var_->varKind == VarKind::Const; }

    QString name() const;
    // The name without a copy, for lookups; valid while the library is open.
    QStringView nameView() const;
    qint32 memberId() const;
    // 1 function, 2 get, 4 let, 8 set, 16 event; a variable reports 6, or 2 when read-only; a
    // constant 6.
    qint32 invokeKind() const;
    // The member as an event: a function of an interface a coclass names as its source.
    MemberView asEvent() const {
        MemberView m = *this;
        m.event_ = func_ != nullptr;
        return m;
    }
    // The help string; type libraries hold one text for every locale.
    QString helpString(quint32 lcid = 0) const;
    QString helpFile() const { return lib_->helpFile(); }
    quint32 helpContext() const;
    // A function's return type, a variable's or constant's type.
    TypeDescriptor returnType() const;
    Parameters parameters() const;
    // A constant's value; nullopt for everything else.
    std::optional<Value> constantValue() const;
    quint16 flags() const;

    // The type info the member really belongs to (a base interface for an inherited member).
    TypeInfoView owner() const;
    const Func* func() const { return func_; }
    const Var* var() const { return var_; }

private:
    std::shared_ptr<const TypeLib> lib_;
    const TypeInfo* owner_ = nullptr;
    const Func* func_ = nullptr;
    const Var* var_ = nullptr;
    bool event_ = false;
};

// A type info of a library.
class TypeInfoView {
public:
    TypeInfoView() = default;
    TypeInfoView(std::shared_ptr<const TypeLib> lib, const TypeInfo* info);

    bool isNull() const { return !info_; }
    QString name() const { return info_->name; }
    QString guidText() const { return info_->guid.toString(); }
    // "enum", "struct", "module", "interface", "dispinterface", "coclass", "typedef", "union".
    QString kindKeyword() const;
    // 0 enumeration ... 7 union.
    TypeKind kind() const { return info_->kind; }
    quint16 typeFlags() const { return info_->flags; }
    QString helpString(quint32 lcid = 0) const;
    QString helpFile() const { return lib_->helpFile(); }
    quint32 helpContext() const { return info_->helpContext; }
    // The 0-based number of the type info in its library.
    int number() const;
    LibraryView library() const { return LibraryView(lib_); }

    // A coclass's default interface; nullopt for other kinds or when it reaches nothing.
    std::optional<TypeInfoView> defaultInterface() const;
    // A coclass's interfaces: the default first, then the others in declaration order, source
    // interfaces included. Item 1 of the Basic collection is element 0 here.
    QList<TypeInfoView> interfaces() const;
    // The implemented-type flags of interfaces()[i].
    QList<quint16> interfaceFlags() const;
    // An alias's aliased type (null for other kinds).
    TypeDescriptor resolvedType() const;
    // The type info at the end of an alias chain: itself when not an alias, nullopt when the
    // chain ends in a type that is no type info.
    std::optional<TypeInfoView> finalType() const;

    const TypeInfo* info() const { return info_; }
    const std::shared_ptr<const TypeLib>& typeLib() const { return lib_; }
    bool operator==(const TypeInfoView& other) const {
        return lib_ == other.lib_ && info_ == other.info_;
    }

private:
    std::shared_ptr<const TypeLib> lib_;
    const TypeInfo* info_ = nullptr;
};

// The typed-value name of a variant type (see TypeDescriptor::typedValueName).
QString typedValueName(quint16 varType);

} // namespace vantor::tli
