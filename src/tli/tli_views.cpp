#include "tli/tli_views.h"

namespace vantor::tli {
namespace {

// The library a reference of `lib` reaches, kept alive.
std::shared_ptr<const TypeLib> targetLibrary(const std::shared_ptr<const TypeLib>& lib,
                                             const TypeRef& ref) {
    if (ref.library < 0)
        return lib;
    const auto imports = lib->imports();
    if (size_t(ref.library) >= imports.size())
        return nullptr;
    return imports[ref.library].library;
}

std::optional<TypeInfoView> resolveRef(const std::shared_ptr<const TypeLib>& lib, qint32 refIndex) {
    const TypeRef& ref = lib->ref(refIndex);
    const TypeLib::Target target = lib->resolve(ref);
    if (!target.info)
        return std::nullopt;
    return TypeInfoView(targetLibrary(lib, ref), target.info);
}

} // namespace

QString typedValueName(quint16 varType) {
    switch (varType) {
    case vt::I2:
    case vt::UI2:
        return QStringLiteral("Integer");
    case vt::I4:
    case vt::UI4:
    case vt::Int:
    case vt::UInt:
    case vt::HResult:
        return QStringLiteral("Long");
    case vt::R4:
        return QStringLiteral("Single");
    case vt::R8:
        return QStringLiteral("Double");
    case vt::Cy:
        return QStringLiteral("Currency");
    case vt::Date:
        return QStringLiteral("Date");
    case vt::Bstr:
    case vt::LpStr:
    case vt::LpWStr:
        return QStringLiteral("String");
    case vt::Dispatch:
        return QStringLiteral("Object");
    case vt::Error:
        return QStringLiteral("Error");
    case vt::Bool:
        return QStringLiteral("Boolean");
    case vt::Variant:
        return QStringLiteral("Variant");
    case vt::Unknown:
        return QStringLiteral("Unknown");
    case vt::Decimal:
        return QStringLiteral("Decimal");
    case vt::I1:
    case vt::UI1:
        return QStringLiteral("Byte");
    case vt::I8:
    case vt::UI8:
        return QStringLiteral("LongLong");
    default:
        return QStringLiteral("Empty");
    }
}

// ---- TypeDescriptor

TypeDescriptor::TypeDescriptor(std::shared_ptr<const TypeLib> lib, TypeId id)
    : lib_(std::move(lib)), id_(id) {}

const TypeDesc* TypeDescriptor::element() const {
    if (isNull())
        return nullptr;
    const TypeDesc* t = &lib_->type(id_);
    for (int depth = 0; depth < MaxChainDepth; ++depth) {
        if ((t->vt != vt::Ptr && t->vt != vt::SafeArray && t->vt != vt::CArray) || t->inner < 0)
            return t;
        t = &lib_->type(t->inner);
    }
    return t;
}

quint16 TypeDescriptor::varType() const {
    if (isNull())
        return vt::Empty;
    const TypeDesc* t = &lib_->type(id_);
    for (int depth = 0; t->vt == vt::Ptr && t->inner >= 0 && depth < MaxChainDepth; ++depth)
        t = &lib_->type(t->inner);
    quint16 arrayBits = 0;
    if (t->vt == vt::CArray)
        arrayBits = vt::FixedArrayBit;
    else if (t->vt == vt::SafeArray)
        arrayBits = vt::SafeArrayBit;
    const TypeDesc* e = arrayBits ? element() : t;
    const quint16 base = e->vt == vt::UserDefined ? quint16(vt::Empty) : e->vt;
    return arrayBits | base;
}

int TypeDescriptor::pointerLevel() const {
    if (isNull())
        return 0;
    int level = 0;
    const TypeDesc* t = &lib_->type(id_);
    for (int depth = 0; depth < MaxChainDepth; ++depth) {
        if (t->vt == vt::Ptr)
            ++level;
        else if (t->vt != vt::SafeArray && t->vt != vt::CArray)
            break;
        if (t->inner < 0)
            break;
        t = &lib_->type(t->inner);
    }
    return level;
}

QString TypeDescriptor::typedValueName() const {
    const quint16 v = varType();
    return tli::typedValueName(v & vt::ArrayBits ? quint16(vt::Empty) : v);
}

std::optional<TypeInfoView> TypeDescriptor::typeInfo() const {
    const TypeDesc* e = element();
    if (!e || e->vt != vt::UserDefined || e->ref < 0)
        return std::nullopt;
    return resolveRef(lib_, e->ref);
}

bool TypeDescriptor::isExternal() const {
    const TypeDesc* e = element();
    return e && e->vt == vt::UserDefined && e->ref >= 0 && lib_->ref(e->ref).library >= 0;
}

LibraryView TypeDescriptor::externalLibrary() const {
    if (!isExternal())
        return {};
    return LibraryView(targetLibrary(lib_, lib_->ref(element()->ref)));
}

QList<ArrayBound> TypeDescriptor::arrayBounds() const {
    if (isNull())
        return {};
    const TypeDesc* t = &lib_->type(id_);
    for (int depth = 0; t->vt == vt::Ptr && t->inner >= 0 && depth < MaxChainDepth; ++depth)
        t = &lib_->type(t->inner);
    if (t->vt != vt::CArray)
        return {};
    const auto bounds = lib_->bounds(*t);
    return QList<ArrayBound>(bounds.begin(), bounds.end());
}

TypeDescriptor TypeDescriptor::resolved() const {
    TypeDescriptor d = *this;
    for (int depth = 0; depth < MaxChainDepth && !d.isNull(); ++depth) {
        const TypeDesc& t = d.lib_->type(d.id_);
        if (t.vt != vt::UserDefined || t.ref < 0)
            return d;
        const std::optional<TypeInfoView> info = resolveRef(d.lib_, t.ref);
        if (!info || info->info()->kind != TypeKind::Alias)
            return d;
        d = info->resolvedType();
    }
    return d;
}

// ---- ParameterView

ParameterView::ParameterView(std::shared_ptr<const TypeLib> lib, const Param* param, bool optional)
    : lib_(std::move(lib)), param_(param),
      optional_(optional || (param->flags & flag::ParamOptional) != 0) {}

std::optional<Value> ParameterView::defaultValue() const {
    if (!hasDefault() || param_->defaultValue < 0)
        return std::nullopt;
    return lib_->value(param_->defaultValue);
}

// ---- MemberView

MemberView::MemberView(std::shared_ptr<const TypeLib> lib, const TypeInfo* owner, const Func* func)
    : lib_(std::move(lib)), owner_(owner), func_(func) {}

MemberView::MemberView(std::shared_ptr<const TypeLib> lib, const TypeInfo* owner, const Var* var)
    : lib_(std::move(lib)), owner_(owner), var_(var) {}

QString MemberView::name() const {
    return func_ ? func_->name : var_->name;
}

QStringView MemberView::nameView() const {
    return func_ ? QStringView(func_->name) : QStringView(var_->name);
}

qint32 MemberView::memberId() const {
    return func_ ? func_->memid : var_->memid;
}

qint32 MemberView::invokeKind() const {
    if (func_)
        return event_ ? qint32(invoke::Event) : qint32(func_->invokeKind);
    if (var_->varKind != VarKind::Const && (var_->flags & flag::VarReadOnly))
        return invoke::PropertyGet;
    return invoke::PropertyGet | invoke::PropertyPut;
}

QString MemberView::helpString(quint32) const {
    return func_ ? func_->doc : var_->doc;
}

quint32 MemberView::helpContext() const {
    return func_ ? func_->helpContext : var_->helpContext;
}

TypeDescriptor MemberView::returnType() const {
    return TypeDescriptor(lib_, func_ ? func_->returnType : var_->type);
}

Parameters MemberView::parameters() const {
    Parameters out;
    if (!func_)
        return out;
    const auto params = lib_->params(*func_);
    out.optionalCount = func_->optionalCount;
    const bool paramArray = func_->optionalCount == -1;
    for (size_t k = 0; k < params.size(); ++k)
        out.items.push_back(ParameterView(lib_, &params[k], paramArray && k + 1 == params.size()));
    return out;
}

std::optional<Value> MemberView::constantValue() const {
    if (!isConstant() || var_->value < 0)
        return std::nullopt;
    return lib_->value(var_->value);
}

quint16 MemberView::flags() const {
    return func_ ? func_->flags : var_->flags;
}

TypeInfoView MemberView::owner() const {
    return TypeInfoView(lib_, owner_);
}

// ---- TypeInfoView

TypeInfoView::TypeInfoView(std::shared_ptr<const TypeLib> lib, const TypeInfo* info)
    : lib_(std::move(lib)), info_(info) {}

QString TypeInfoView::kindKeyword() const {
    static const char* const keywords[] = {"enum",          "struct",  "module",  "interface",
                                           "dispinterface", "coclass", "typedef", "union"};
    const int k = int(kind());
    return k >= 0 && k < 8 ? QString::fromLatin1(keywords[k]) : QString();
}

QString TypeInfoView::helpString(quint32) const {
    return info_->doc;
}

int TypeInfoView::number() const {
    const auto infos = lib_->typeInfos();
    if (info_ < infos.data() || info_ >= infos.data() + infos.size())
        return -1;
    return int(info_ - infos.data());
}

namespace {
// The position of a coclass's default interface among its implemented types, or -1.
qsizetype defaultPosition(std::span<const ImplType> impls) {
    for (size_t i = 0; i < impls.size(); ++i)
        if ((impls[i].flags & (flag::ImplDefault | flag::ImplSource)) == flag::ImplDefault)
            return qsizetype(i);
    for (size_t i = 0; i < impls.size(); ++i)
        if (!(impls[i].flags & flag::ImplSource))
            return qsizetype(i);
    return -1;
}
} // namespace

std::optional<TypeInfoView> TypeInfoView::defaultInterface() const {
    if (info_->kind != TypeKind::Coclass)
        return std::nullopt;
    const auto impls = lib_->implTypes(*info_);
    const qsizetype first = defaultPosition(impls);
    if (first < 0)
        return std::nullopt;
    return resolveRef(lib_, impls[first].ref);
}

QList<TypeInfoView> TypeInfoView::interfaces() const {
    QList<TypeInfoView> out;
    const auto impls = lib_->implTypes(*info_);
    const qsizetype first = info_->kind == TypeKind::Coclass ? defaultPosition(impls) : -1;
    if (first >= 0)
        if (auto v = resolveRef(lib_, impls[first].ref))
            out.push_back(*v);
    for (qsizetype i = 0; i < qsizetype(impls.size()); ++i)
        if (i != first)
            if (auto v = resolveRef(lib_, impls[i].ref))
                out.push_back(*v);
    return out;
}

QList<quint16> TypeInfoView::interfaceFlags() const {
    QList<quint16> out;
    const auto impls = lib_->implTypes(*info_);
    const qsizetype first = info_->kind == TypeKind::Coclass ? defaultPosition(impls) : -1;
    if (first >= 0 && resolveRef(lib_, impls[first].ref))
        out.push_back(impls[first].flags);
    for (qsizetype i = 0; i < qsizetype(impls.size()); ++i)
        if (i != first && resolveRef(lib_, impls[i].ref))
            out.push_back(impls[i].flags);
    return out;
}

TypeDescriptor TypeInfoView::resolvedType() const {
    if (info_->kind != TypeKind::Alias)
        return {};
    return TypeDescriptor(lib_, info_->alias);
}

std::optional<TypeInfoView> TypeInfoView::finalType() const {
    TypeInfoView v = *this;
    for (int depth = 0; depth < MaxChainDepth; ++depth) {
        if (v.info_->kind != TypeKind::Alias)
            return v;
        const TypeDescriptor d = v.resolvedType();
        if (d.isNull() || d.library()->type(d.id()).vt != vt::UserDefined)
            return std::nullopt;
        const std::optional<TypeInfoView> next = d.typeInfo();
        if (!next)
            return std::nullopt;
        v = *next;
    }
    return std::nullopt;
}

} // namespace vantor::tli
