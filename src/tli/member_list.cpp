#include "tli/member_list.h"

#include "text/text_order.h"
#include "tli/type_lib_info.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace vantor::tli {
namespace {

QString folded(const QString& name) {
    QString key = name;
    for (QChar& c : key)
        c = QChar(foldCase(c.unicode()));
    return key;
}

// Collects members type by type; names seen in an earlier type hide later ones.
class Collector {
public:
    explicit Collector(MemberFilters filters) : filters_(filters) {}

    void addType(const TypeInfoView& view, bool withConstants) {
        const TypeLib& lib = *view.typeLib();
        const TypeInfo& info = *view.info();
        QSet<QString> names;
        for (const Func& f : lib.funcs(info)) {
            const QString key = folded(f.name);
            names.insert(key);
            if (!hidden_.contains(key) && !(f.flags & filters_.functions))
                out_.emplace_back(view.typeLib(), &info, &f);
        }
        for (const Var& v : lib.vars(info)) {
            if (v.varKind == VarKind::Const && !withConstants)
                continue;
            const QString key = folded(v.name);
            names.insert(key);
            if (!hidden_.contains(key) && !(v.flags & filters_.variables))
                out_.emplace_back(view.typeLib(), &info, &v);
        }
        hidden_.unite(names);
    }

    // A type and then its bases.
    void addChain(TypeInfoView view) {
        for (int depth = 0; depth < MaxChainDepth; ++depth) {
            addType(view, true);
            const TypeKind kind = view.info()->kind;
            if (kind != TypeKind::Interface && kind != TypeKind::Dispatch)
                return;
            const QList<TypeInfoView> bases = view.interfaces();
            if (bases.isEmpty())
                return;
            view = bases.front();
        }
    }

    std::vector<MemberView> take() { return std::move(out_); }

private:
    MemberFilters filters_;
    QSet<QString> hidden_;
    std::vector<MemberView> out_;
};

// The type whose members a type's list shows.
std::optional<TypeInfoView> listedType(const TypeInfoView& info) {
    std::optional<TypeInfoView> t = info.finalType();
    if (t && t->info()->kind == TypeKind::Coclass)
        return t->defaultInterface();
    return t;
}

int accessorRank(const MemberView& m) {
    switch (m.isVariable() ? invoke::PropertyGet : m.invokeKind()) {
    case invoke::PropertyGet:
        return 0;
    case invoke::Func:
        return 1;
    case invoke::PropertyPut:
        return 2;
    case invoke::PropertyPutRef:
        return 3;
    default:
        return 4;
    }
}

} // namespace

std::vector<MemberView> listedMembers(const TypeInfoView& info, MemberFilters filters) {
    Collector c(filters);
    if (const std::optional<TypeInfoView> t = listedType(info))
        c.addChain(*t);
    return c.take();
}

std::vector<MemberView> globalMembers(const std::shared_ptr<const TypeLib>& lib,
                                      MemberFilters filters) {
    Collector c(filters);
    for (const TypeInfo& info : lib->typeInfos())
        if (info.kind == TypeKind::Module)
            c.addType(TypeInfoView(lib, &info), false);
    for (const TypeInfo& info : lib->typeInfos())
        if (info.kind == TypeKind::Coclass && (info.flags & flag::TypeAppObject))
            if (const auto iface = TypeInfoView(lib, &info).defaultInterface())
                c.addChain(*iface);
    return c.take();
}

QList<ListRow> memberRowsOf(const std::vector<MemberView>& members) {
    QList<ListRow> rows;
    QHash<QString, qsizetype> rowOf;
    for (const MemberView& m : members) {
        const QString key = folded(m.name());
        const auto it = rowOf.constFind(key);
        if (it != rowOf.cend()) {
            rows[*it].itemData |= m.invokeKind();
            continue;
        }
        rowOf.insert(key, rows.size());
        rows.push_back({m.name(), m.invokeKind()});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ListRow& a, const ListRow& b) {
        return compareText(a.text, b.text) < 0;
    });
    return rows;
}

MemberView findMember(const std::vector<MemberView>& members, qint32 invokeKinds, qint32 memberId,
                      const QString& name) {
    const MemberView* best = nullptr;
    for (const MemberView& m : members) {
        if (!equalsText(m.nameView(), name) || (memberId != -1 && m.memberId() != memberId))
            continue;
        if (invokeKinds != 0 && !(m.invokeKind() & invokeKinds))
            continue;
        if (!best || accessorRank(m) < accessorRank(*best))
            best = &m;
    }
    return best ? *best : MemberView();
}

} // namespace vantor::tli
