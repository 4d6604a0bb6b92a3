#include "tli/library_diff.h"

#include "text/text_order.h"
#include "tli/tlb_dump.h"
#include "tli/tli_views.h"

#include <QHash>
#include <algorithm>
#include <functional>

namespace vantor::tli {

namespace {

QString hex(quint32 value, int digits) {
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

QString versionText(quint16 major, quint16 minor) {
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}

QString memberLabel(const Func& f) {
    switch (f.invokeKind) {
    case invoke::PropertyGet:
        return QStringLiteral("property get ") + f.name;
    case invoke::PropertyPut:
        return QStringLiteral("property let ") + f.name;
    case invoke::PropertyPutRef:
        return QStringLiteral("property set ") + f.name;
    default:
        return QStringLiteral("function ") + f.name;
    }
}

QString memberLabel(const Var& v, TypeKind owner) {
    if (v.varKind == VarKind::Const)
        return QStringLiteral("constant ") + v.name;
    if (owner == TypeKind::Record || owner == TypeKind::Union)
        return QStringLiteral("field ") + v.name;
    return QStringLiteral("variable ") + v.name;
}

QString typeText(const TypeLib& lib, TypeId id) {
    return id < 0 ? QStringLiteral("none") : dumpType(lib, id);
}

QString valueText(const TypeLib& lib, qint32 index) {
    return index < 0 ? QStringLiteral("none") : dumpValue(lib, index);
}

// The interfaces a type names: an interface's base (a dual interface's as its interface view
// names it), a coclass's interfaces with their flags.
QString implemented(const TypeLib& lib, const TypeInfo& info) {
    const TypeInfo* view = lib.interfaceView(info);
    QStringList names;
    for (const ImplType& impl : lib.implTypes(view ? *view : info)) {
        const TypeLib::Target t = lib.resolve(impl.ref);
        QString name = t.info ? t.info->name : QStringLiteral("?");
        if (impl.flags)
            name += u' ' + hex(impl.flags, 1);
        names.append(name);
    }
    return names.join(QStringLiteral(", "));
}

// A name as a lookup key in the text order: equal keys for names equal but for letter case.
QString key(QStringView name) {
    QString folded(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        folded[i] = QChar(foldCase(name[i].unicode()));
    return folded;
}

// One side's members, each with its key (name and invoke kind) and position.
struct Member {
    QString key;
    QString label;
    const Func* func = nullptr;
    const Var* var = nullptr;
    int position = 0;
};

// A dual interface's members as early-bound callers see them: its interface view.
QList<Member> members(const TypeLib& lib, const TypeInfo& info) {
    const TypeInfo* view = lib.interfaceView(info);
    const TypeInfo& source = view ? *view : info;
    QList<Member> list;
    int position = 0;
    for (const Func& f : lib.funcs(source))
        list.append({key(f.name) + u'/' + QString::number(f.invokeKind), memberLabel(f), &f,
                     nullptr, position++});
    position = 0;
    for (const Var& v : lib.vars(info))
        list.append({key(v.name) + QStringLiteral("/v"), memberLabel(v, info.kind), nullptr, &v,
                     position++});
    return list;
}

class Differ {
public:
    Differ(const std::shared_ptr<const TypeLib>& older, const std::shared_ptr<const TypeLib>& newer)
        : oldLib_(older), newLib_(newer), old_(*older), new_(*newer) {}

    QList<LibraryChange> run() {
        library();
        QHash<QString, const TypeInfo*> newer;
        for (const TypeInfo& info : new_.typeInfos())
            newer.insert(key(info.name), &info);
        QHash<QString, const TypeInfo*> older;
        for (const TypeInfo& info : old_.typeInfos()) {
            older.insert(key(info.name), &info);
            if (const TypeInfo* other = newer.value(key(info.name)))
                type(info, *other);
            else
                whole(LibraryChange::Kind::Removed, info.name, kindKeyword(oldLib_, info));
        }
        for (const TypeInfo& info : new_.typeInfos())
            if (!older.contains(key(info.name)))
                whole(LibraryChange::Kind::Added, info.name, kindKeyword(newLib_, info));
        return std::move(changes_);
    }

private:
    static QString kindKeyword(const std::shared_ptr<const TypeLib>& lib, const TypeInfo& info) {
        return TypeInfoView(lib, &info).kindKeyword();
    }

    // A type, or a member of one, added or removed.
    void whole(LibraryChange::Kind kind, const QString& type, const QString& typeKind,
               const QString& member = QString()) {
        LibraryChange change;
        change.kind = kind;
        change.type = type;
        change.typeKind = typeKind;
        change.member = member;
        changes_.append(std::move(change));
    }

    // A changed attribute of the current type (or library) and member.
    void compare(const QString& what, const QString& a, const QString& b) {
        if (a != b)
            changes_.append({LibraryChange::Kind::Changed, type_, typeKind_, member_, what, a, b});
    }
    // The same for numbers, written only when they differ (a large library has many).
    void number(const QString& what, qint64 a, qint64 b, int hexDigits = 0) {
        if (a == b)
            return;
        const auto text = [hexDigits](qint64 v) {
            return hexDigits ? hex(quint32(v), hexDigits) : QString::number(v);
        };
        compare(what, text(a), text(b));
    }

    void library() {
        type_.clear();
        typeKind_ = QStringLiteral("library");
        member_.clear();
        compare(QStringLiteral("name"), old_.name(), new_.name());
        compare(QStringLiteral("guid"), old_.guid().toString(), new_.guid().toString());
        compare(QStringLiteral("version"), versionText(old_.major(), old_.minor()),
                versionText(new_.major(), new_.minor()));
        compare(QStringLiteral("lcid"), QString::number(old_.lcid()), QString::number(new_.lcid()));
        compare(QStringLiteral("help string"), old_.doc(), new_.doc());
        compare(QStringLiteral("help file"), old_.helpFile(), new_.helpFile());
        compare(QStringLiteral("help context"), QString::number(old_.helpContext()),
                QString::number(new_.helpContext()));
        compare(QStringLiteral("flags"), hex(old_.libFlags(), 1), hex(new_.libFlags(), 1));
        compare(QStringLiteral("system kind"), QString::number(old_.sysKind()),
                QString::number(new_.sysKind()));
    }

    void type(const TypeInfo& a, const TypeInfo& b) {
        type_ = b.name;
        typeKind_ = kindKeyword(newLib_, b);
        member_.clear();
        compare(QStringLiteral("kind"), kindKeyword(oldLib_, a), kindKeyword(newLib_, b));
        compare(QStringLiteral("guid"), a.guid.toString(), b.guid.toString());
        compare(QStringLiteral("flags"), hex(a.flags, 1), hex(b.flags, 1));
        compare(QStringLiteral("version"), versionText(a.major, a.minor),
                versionText(b.major, b.minor));
        compare(QStringLiteral("aliased type"),
                a.kind == TypeKind::Alias ? typeText(old_, a.alias) : QString(),
                b.kind == TypeKind::Alias ? typeText(new_, b.alias) : QString());
        compare(QStringLiteral("dll"), a.dllName, b.dllName);
        compare(b.kind == TypeKind::Coclass ? QStringLiteral("interfaces")
                                            : QStringLiteral("inherits"),
                implemented(old_, a), implemented(new_, b));
        // A vtable's slots are positions: only interfaces are called through one.
        const bool vtable = b.kind == TypeKind::Interface || new_.interfaceView(b);
        const QList<Member> olderMembers = members(old_, a);
        const QList<Member> newerMembers = members(new_, b);
        QHash<QString, const Member*> newer;
        for (const Member& m : newerMembers)
            newer.insert(m.key, &m);
        QHash<QString, const Member*> older;
        for (const Member& m : olderMembers) {
            older.insert(m.key, &m);
            const Member* other = newer.value(m.key);
            if (!other) {
                whole(LibraryChange::Kind::Removed, type_, typeKind_, m.label);
                continue;
            }
            member_ = other->label;
            if (m.func)
                function(*m.func, *other->func);
            else
                variable(*m.var, *other->var);
            if (vtable)
                number(QStringLiteral("position"), m.position, other->position);
            member_.clear();
        }
        for (const Member& m : newerMembers)
            if (!older.contains(m.key))
                whole(LibraryChange::Kind::Added, type_, typeKind_, m.label);
    }

    void function(const Func& a, const Func& b) {
        compare(QStringLiteral("returns"), typeText(old_, a.returnType),
                typeText(new_, b.returnType));
        const std::span<const Param> pa = old_.params(a);
        const std::span<const Param> pb = new_.params(b);
        number(QStringLiteral("parameter count"), qint64(pa.size()), qint64(pb.size()));
        for (size_t i = 0; i < std::min(pa.size(), pb.size()); ++i) {
            const Param& x = pa[i];
            const Param& y = pb[i];
            const QString tx = typeText(old_, x.type);
            const QString ty = typeText(new_, y.type);
            const bool defaults = x.defaultValue >= 0 || y.defaultValue >= 0;
            const QString dx = defaults ? valueText(old_, x.defaultValue) : QString();
            const QString dy = defaults ? valueText(new_, y.defaultValue) : QString();
            if (x.name == y.name && x.flags == y.flags && tx == ty && dx == dy)
                continue;
            const QString p = QStringLiteral("parameter %1 (%2) ")
                                  .arg(i + 1)
                                  .arg(y.name.isEmpty() ? x.name : y.name);
            compare(p + QStringLiteral("name"), x.name, y.name);
            compare(p + QStringLiteral("type"), tx, ty);
            number(p + QStringLiteral("flags"), x.flags, y.flags, 1);
            compare(p + QStringLiteral("default"), dx, dy);
        }
        number(QStringLiteral("optional parameters"), a.optionalCount, b.optionalCount);
        number(QStringLiteral("member id"), quint32(a.memid), quint32(b.memid), 8);
        number(QStringLiteral("flags"), a.flags, b.flags, 1);
        number(QStringLiteral("vtable offset"), a.vtableOffset, b.vtableOffset);
        number(QStringLiteral("call convention"), a.callConv, b.callConv);
        if (a.entryOrdinal != b.entryOrdinal || a.entryName != b.entryName)
            compare(QStringLiteral("entry"),
                    a.entryOrdinal >= 0 ? QString::number(a.entryOrdinal) : a.entryName,
                    b.entryOrdinal >= 0 ? QString::number(b.entryOrdinal) : b.entryName);
    }

    void variable(const Var& a, const Var& b) {
        compare(QStringLiteral("type"), typeText(old_, a.type), typeText(new_, b.type));
        if (a.value >= 0 || b.value >= 0)
            compare(QStringLiteral("value"), valueText(old_, a.value), valueText(new_, b.value));
        number(QStringLiteral("member id"), quint32(a.memid), quint32(b.memid), 8);
        number(QStringLiteral("flags"), a.flags, b.flags, 1);
        number(QStringLiteral("offset"), a.instanceOffset, b.instanceOffset);
    }

    std::shared_ptr<const TypeLib> oldLib_;
    std::shared_ptr<const TypeLib> newLib_;
    const TypeLib& old_;
    const TypeLib& new_;
    QString type_;
    QString typeKind_;
    QString member_;
    QList<LibraryChange> changes_;
};

} // namespace

QList<LibraryChange> diffLibraries(const std::shared_ptr<const TypeLib>& older,
                                   const std::shared_ptr<const TypeLib>& newer) {
    return Differ(older, newer).run();
}

} // namespace vantor::tli
