#include "tli/api_views.h"

#include "tli/errors.h"

#include <algorithm>
#include <map>

namespace vantor::tli {
namespace {

constexpr quint16 DispatchVftSize = 7 * 8; // IUnknown's and IDispatch's slots, 64-bit
// Every dual copies its whole inheritance chain; bounded so that a small damaged file cannot
// make the views take gigabytes (the largest real library needs some 30,000).
constexpr size_t MaxSynthesized = 1 << 20;

// A function of an inheritance chain: one of a finished library, or (lib null) one of the
// library being built, by index since its function list still grows.
struct Inherited {
    const TypeLib* lib;
    const Func* external;
    qint32 local;
};

class Presenter {
public:
    Presenter(TypeLibData& d, qint32 dispatchRef) : d_(d), dispatchRef_(dispatchRef) {}

    void splitDuals();
    void buildDispatchView(TypeInfo& info);
    void lookUpByMemid(TypeInfo& view);

private:
    void chainLocal(const TypeInfo& iface, int depth, std::vector<Inherited>& out) const;
    void chainExternal(const TypeLib* lib, const TypeInfo* info, int depth,
                       std::vector<Inherited>& out) const;
    const TypeInfo& interfaceForm(qint32 index) const {
        const TypeInfo& t = d_.typeInfos[index];
        return t.interfaceView >= 0 ? d_.interfaceViews[t.interfaceView] : t;
    }
    TypeId importType(const TypeLib* lib, TypeId id);
    qint32 importRef(const TypeLib* lib, qint32 refIndex);
    qint32 importSlot(const TypeLib* lib);
    TypeId plainType(quint16 vt);
    void appendDispatchForm(const Inherited& source);

    // A type info counts its functions in 16 bits.
    static void checkSize(const std::vector<Inherited>& chain, const QString& name) {
        if (chain.size() > 0xFFFF)
            failLoad(QStringLiteral("\"%1\" inherits more than 65535 functions").arg(name));
    }

    TypeLibData& d_;
    qint32 dispatchRef_;
    size_t synthesized_ = 0;
    std::map<std::pair<const TypeLib*, TypeId>, TypeId> typeMap_;
    std::map<std::pair<const TypeLib*, qint32>, qint32> refMap_;
    std::vector<std::pair<qint32, qint32>> byMemid_;
    std::vector<Param> scratch_;
};

void Presenter::splitDuals() {
    for (TypeInfo& info : d_.typeInfos) {
        if (info.kind != TypeKind::Dispatch || !(info.flags & flag::TypeDual))
            continue;
        TypeInfo iface = info;
        iface.kind = TypeKind::Interface;
        info.interfaceView = qint32(d_.interfaceViews.size());
        d_.interfaceViews.push_back(std::move(iface));
    }
}

void Presenter::chainLocal(const TypeInfo& iface, int depth, std::vector<Inherited>& out) const {
    if (depth > MaxChainDepth)
        failLoad(QStringLiteral("the inheritance of \"%1\" loops").arg(iface.name));
    if (iface.implTypes.count > 0) {
        const TypeRef& base = d_.refs[d_.implTypes[iface.implTypes.first].ref];
        if (base.library < 0 && base.index >= 0)
            chainLocal(interfaceForm(base.index), depth + 1, out);
        else if (base.library >= 0 && base.index >= 0 && d_.imports[base.library].library) {
            const TypeLib* lib = d_.imports[base.library].library.get();
            chainExternal(lib, &lib->typeInfos()[base.index], depth + 1, out);
        }
    }
    for (qint32 f = 0; f < iface.funcs.count; ++f)
        out.push_back({nullptr, nullptr, iface.funcs.first + f});
    checkSize(out, iface.name);
}

void Presenter::chainExternal(const TypeLib* lib, const TypeInfo* info, int depth,
                              std::vector<Inherited>& out) const {
    if (!info)
        return;
    if (depth > MaxChainDepth)
        failLoad(QStringLiteral("the inheritance of \"%1\" loops").arg(info->name));
    if (const TypeInfo* view = lib->interfaceView(*info))
        info = view;
    const auto impls = lib->implTypes(*info);
    if (!impls.empty()) {
        const TypeLib::Target base = lib->resolve(impls[0].ref);
        if (base.library)
            chainExternal(base.library, base.info, depth + 1, out);
    }
    for (const Func& f : lib->funcs(*info))
        out.push_back({lib, &f, -1});
    checkSize(out, info->name);
}

TypeId Presenter::plainType(quint16 vt) {
    d_.types.push_back(TypeDesc{vt});
    return TypeId(d_.types.size() - 1);
}

qint32 Presenter::importSlot(const TypeLib* lib) {
    for (size_t i = 0; i < d_.imports.size(); ++i)
        if (d_.imports[i].library.get() == lib)
            return qint32(i);
    // Only reached for a library the imported one imports in turn; keep it alive through the
    // importing library's own slot.
    for (const ImportedLibrary& imp : d_.imports) {
        if (!imp.library)
            continue;
        for (const ImportedLibrary& inner : imp.library->imports())
            if (inner.library.get() == lib) {
                d_.imports.push_back(inner);
                return qint32(d_.imports.size() - 1);
            }
    }
    return -1;
}

qint32 Presenter::importRef(const TypeLib* lib, qint32 refIndex) {
    const auto key = std::make_pair(lib, refIndex);
    auto it = refMap_.find(key);
    if (it != refMap_.end())
        return it->second;
    const TypeRef& src = lib->ref(refIndex);
    TypeRef r;
    const TypeLib::Target target = lib->resolve(src);
    if (target.library) {
        r.index = qint32(target.info - target.library->typeInfos().data());
        r.stored = r.index;
        r.library = importSlot(target.library);
        if (r.library < 0)
            r.index = -1;
    }
    d_.refs.push_back(r);
    refMap_.emplace(key, qint32(d_.refs.size() - 1));
    return qint32(d_.refs.size() - 1);
}

TypeId Presenter::importType(const TypeLib* lib, TypeId id) {
    if (!lib)
        return id;
    const auto key = std::make_pair(lib, id);
    auto it = typeMap_.find(key);
    if (it != typeMap_.end())
        return it->second;
    TypeDesc t = lib->type(id);
    if (t.inner >= 0)
        t.inner = importType(lib, t.inner);
    if (t.ref >= 0)
        t.ref = importRef(lib, t.ref);
    if (t.dims) {
        const auto bounds = lib->bounds(lib->type(id));
        t.firstBound = qint32(d_.bounds.size());
        d_.bounds.insert(d_.bounds.end(), bounds.begin(), bounds.end());
    }
    d_.types.push_back(t);
    typeMap_.emplace(key, TypeId(d_.types.size() - 1));
    return TypeId(d_.types.size() - 1);
}

// The dispatch form of a function: called through IDispatch::Invoke, so an HRESULT result
// becomes the [retval] parameter's type (or nothing), and [retval] and [lcid] disappear.
void Presenter::appendDispatchForm(const Inherited& source) {
    Func f = source.lib ? *source.external : d_.funcs[source.local];
    scratch_.clear();
    if (source.lib) {
        for (const Param& p : source.lib->params(f))
            scratch_.push_back(p);
    } else {
        for (qint32 k = 0; k < f.params.count; ++k)
            scratch_.push_back(d_.params[f.params.first + k]);
    }
    for (Param& p : scratch_)
        p.type = importType(source.lib, p.type);
    f.returnType = importType(source.lib, f.returnType);
    f.funcKind = 4;
    if (!scratch_.empty() && (scratch_.back().flags & flag::ParamRetval)) {
        const TypeDesc& t = d_.types[scratch_.back().type];
        f.returnType = t.vt == vt::Ptr ? t.inner : scratch_.back().type;
        scratch_.pop_back();
    } else if (d_.types[f.returnType].vt == vt::HResult) {
        f.returnType = plainType(vt::Void);
    }
    if (!scratch_.empty() && (scratch_.back().flags & flag::ParamLcid))
        scratch_.pop_back();
    if (source.lib) {
        for (Param& p : scratch_)
            if (p.defaultValue >= 0) {
                d_.values.push_back(source.lib->value(p.defaultValue));
                p.defaultValue = qint32(d_.values.size() - 1);
            }
    }
    f.params = {qint32(d_.params.size()), qint32(scratch_.size())};
    d_.params.insert(d_.params.end(), scratch_.begin(), scratch_.end());
    d_.funcs.push_back(std::move(f));
}

void Presenter::buildDispatchView(TypeInfo& info) {
    std::vector<Inherited> chain;
    chainLocal(d_.interfaceViews[info.interfaceView], 0, chain);
    info.flags &= ~flag::TypeOleAutomation;
    info.sizeVft = DispatchVftSize;
    info.implTypes = {qint32(d_.implTypes.size()), 1};
    d_.implTypes.push_back({0, dispatchRef_});
    synthesized_ += chain.size();
    if (synthesized_ > MaxSynthesized)
        failLoad(QStringLiteral("the dispatch views would hold more than %1 functions")
                     .arg(MaxSynthesized));
    info.funcs = {qint32(d_.funcs.size()), qint32(chain.size())};
    for (const Inherited& source : chain)
        appendDispatchForm(source);
}

// The type services look names, docs and parameter names up by member id: every member shows
// those of the first member with its id (functions before variables).
void Presenter::lookUpByMemid(TypeInfo& view) {
    // Members as (memid, position), positions counting functions and then variables; sorted,
    // each run of one memid starts with the member the others take their names from.
    byMemid_.clear();
    for (qint32 f = 0; f < view.funcs.count; ++f)
        byMemid_.push_back({d_.funcs[view.funcs.first + f].memid, f});
    for (qint32 v = 0; v < view.vars.count; ++v)
        byMemid_.push_back({d_.vars[view.vars.first + v].memid, view.funcs.count + v});
    std::sort(byMemid_.begin(), byMemid_.end());
    size_t lead = 0;
    for (size_t i = 1; i < byMemid_.size(); ++i) {
        if (byMemid_[i].first != byMemid_[lead].first) {
            lead = i;
            continue;
        }
        const qint32 from = byMemid_[lead].second, to = byMemid_[i].second;
        const bool fromFunc = from < view.funcs.count;
        const Func* g = fromFunc ? &d_.funcs[view.funcs.first + from] : nullptr;
        const Var* gv = fromFunc ? nullptr : &d_.vars[view.vars.first + from - view.funcs.count];
        const QString& name = g ? g->name : gv->name;
        const QString& doc = g ? g->doc : gv->doc;
        const quint32 helpContext = g ? g->helpContext : gv->helpContext;
        if (to < view.funcs.count) {
            Func& fn = d_.funcs[view.funcs.first + to];
            fn.name = name;
            fn.doc = doc;
            fn.helpContext = helpContext;
            for (qint32 k = 0; k < fn.params.count; ++k)
                d_.params[fn.params.first + k].name =
                    g && k < g->params.count ? d_.params[g->params.first + k].name : QString();
        } else {
            Var& var = d_.vars[view.vars.first + to - view.funcs.count];
            var.name = name;
            var.doc = doc;
            var.helpContext = helpContext;
        }
    }
}

} // namespace

void presentViews(TypeLibData& data, qint32 dispatchRef) {
    Presenter p(data, dispatchRef);
    p.splitDuals();
    // Dispinterfaces are called through IDispatch alone: no vtable slots of their own.
    for (TypeInfo& info : data.typeInfos) {
        if (info.kind != TypeKind::Dispatch)
            continue;
        info.sizeVft = DispatchVftSize;
        if (info.interfaceView < 0)
            for (qint32 f = 0; f < info.funcs.count; ++f)
                data.funcs[info.funcs.first + f].vtableOffset = 0;
    }
    for (TypeInfo& info : data.typeInfos)
        if (info.interfaceView >= 0)
            p.buildDispatchView(info);
    for (TypeInfo& info : data.typeInfos)
        p.lookUpByMemid(info);
    for (TypeInfo& info : data.interfaceViews)
        p.lookUpByMemid(info);
}

} // namespace vantor::tli
