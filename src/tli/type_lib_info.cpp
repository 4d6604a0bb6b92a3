#include "tli/type_lib_info.h"

#include "text/error.h"
#include "text/text_order.h"
#include "tli/member_list.h"
#include "tli/registration.h"
#include "tli/session.h"
#include "tli/tli_application.h"

#include <algorithm>

namespace vantor::tli {
namespace {

const QString kSource = QStringLiteral("TypeLibInfo");

bool holdsConstants(const TypeLib& lib, const TypeInfo& info) {
    if (info.kind == TypeKind::Enum)
        return true;
    if (info.kind != TypeKind::Module)
        return false;
    const auto vars = lib.vars(info);
    return std::any_of(vars.begin(), vars.end(),
                       [](const Var& v) { return v.varKind == VarKind::Const; });
}

} // namespace

TypeLibInfo::TypeLibInfo(const TLIApplication& app) : session_(app.session()) {}

TypeLibInfo::~TypeLibInfo() = default;

const TypeLib& TypeLibInfo::lib() const {
    if (!lib_)
        throw Error(Error::ObjectMissing, kSource, QStringLiteral("No type library is open"));
    return *lib_;
}

void TypeLibInfo::setContainingFile(const QString& path) {
    lib_.reset();
    path_ = path;
    hostPath_ = session_->hostPath(path);
    showHiddenTypes_ = false;
    lib_ = session_->open(hostPath_);
}

void TypeLibInfo::registerLibrary() {
    if (!session_->store())
        throw Error(Error::PathAccess, kSource,
                    QStringLiteral("No machine registry to register \"%1\" in").arg(name()));
    registerTypeLib(*session_->store(), lib(), session_->windowsPath(path_), hostPath_);
}

QString TypeLibInfo::name() const {
    return lib().name();
}
QString TypeLibInfo::guidText() const {
    return lib().guid().toString();
}
quint16 TypeLibInfo::majorVersion() const {
    return lib().major();
}
quint16 TypeLibInfo::minorVersion() const {
    return lib().minor();
}
quint32 TypeLibInfo::lcid() const {
    return lib().lcid();
}
QString TypeLibInfo::helpString(quint32) const {
    return lib().doc();
}
QString TypeLibInfo::helpFile() const {
    return lib().helpFile();
}
quint32 TypeLibInfo::helpContext() const {
    return lib().helpContext();
}
LibraryView TypeLibInfo::library() const {
    lib();
    return LibraryView(lib_);
}

void TypeLibInfo::setTypeFilter(int flags, bool showHidden, bool showRestricted) {
    showHiddenTypes_ = flags == 0 && showHidden && showRestricted;
}

QList<ListRow> TypeLibInfo::typeInfoRows() const {
    const auto infos = lib().typeInfos();
    QList<ListRow> rows;
    const int numbered = std::min<int>(int(infos.size()), search::MaxNumbered);
    for (int i = 0; i < numbered; ++i) {
        const TypeInfo& info = infos[i];
        if (!showHiddenTypes_ && (info.flags & (flag::TypeHidden | flag::TypeRestricted)))
            continue;
        const std::optional<TypeInfoView> named = TypeInfoView(lib_, &info).finalType();
        rows.push_back({info.name, encodeSearchData(i, named && holdsConstants(*named->typeLib(),
                                                                               *named->info()))});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ListRow& a, const ListRow& b) {
        return compareText(a.text, b.text) < 0;
    });
    if (!globalMembers(lib_, {funcFilter_, varFilter_}).empty())
        rows.prepend({globalsLabel_, search::GlobalsRow});
    return rows;
}

std::vector<MemberView> TypeLibInfo::listed(qint32 searchData) const {
    lib();
    const MemberFilters filters{funcFilter_, varFilter_};
    return isGlobalsSearchData(searchData)
               ? globalMembers(lib_, filters)
               : listedMembers(typeInfoOfSearchData(searchData), filters);
}

const std::vector<MemberView>& TypeLibInfo::listedCached(qint32 searchData) const {
    if (!cache_.lib || cache_.lib != lib_ || cache_.searchData != searchData ||
        cache_.funcFilter != funcFilter_ || cache_.varFilter != varFilter_) {
        cache_.members = listed(searchData);
        cache_.lib = lib_;
        cache_.searchData = searchData;
        cache_.funcFilter = funcFilter_;
        cache_.varFilter = varFilter_;
    }
    return cache_.members;
}

QList<ListRow> TypeLibInfo::memberRows(qint32 searchData) const {
    return memberRowsOf(listed(searchData));
}

QList<ListRow> TypeLibInfo::memberRows(const TypeInfoView& info, bool events) const {
    std::vector<MemberView> members = listedMembers(info, {funcFilter_, varFilter_});
    if (events)
        for (MemberView& m : members)
            m = m.asEvent();
    return memberRowsOf(members);
}

QList<MemberView> TypeLibInfo::members(qint32 searchData) const {
    std::vector<MemberView> all = listed(searchData);
    std::stable_sort(all.begin(), all.end(), [](const MemberView& a, const MemberView& b) {
        return compareText(a.name(), b.name()) < 0;
    });
    return QList<MemberView>(all.begin(), all.end());
}

QList<ConstantGroup> TypeLibInfo::constantGroups() const {
    const auto infos = lib().typeInfos();
    QList<ConstantGroup> groups;
    for (const TypeInfo& info : infos) {
        if (!holdsConstants(*lib_, info))
            continue;
        ConstantGroup g{info.name, {}};
        // Many libraries name an enumeration only through a typedef of an anonymous one.
        if (info.kind == TypeKind::Enum && info.name.startsWith(u'_'))
            for (const TypeInfo& alias : infos)
                if (alias.kind == TypeKind::Alias) {
                    const auto named = TypeInfoView(lib_, &alias).finalType();
                    if (named && named->info() == &info) {
                        g.name = alias.name;
                        break;
                    }
                }
        for (const Var& v : lib_->vars(info))
            if (v.varKind == VarKind::Const && v.value >= 0)
                g.members.push_back({v.name, lib_->value(v.value)});
        groups.push_back(std::move(g));
    }
    return groups;
}

int TypeLibInfo::typeInfoCount() const {
    return int(lib().typeInfos().size());
}

TypeInfoView TypeLibInfo::typeInfoItem(int number) const {
    return typeInfo(number - 1);
}

TypeInfoView TypeLibInfo::typeInfo(int number) const {
    const auto infos = lib().typeInfos();
    if (number < 0 || size_t(number) >= infos.size())
        throw Error(Error::InvalidCall, kSource,
                    QStringLiteral("There is no type info %1 in \"%2\"").arg(number).arg(name()));
    return TypeInfoView(lib_, &infos[number]);
}

TypeInfoView TypeLibInfo::typeInfoOfSearchData(qint32 searchData) const {
    if (isGlobalsSearchData(searchData))
        throw Error(Error::InvalidCall, kSource,
                    QStringLiteral("The global members belong to no single type info"));
    return typeInfo(typeInfoNumber(searchData));
}

QList<TypeInfoView> TypeLibInfo::coClasses() const {
    QList<TypeInfoView> out;
    for (const TypeInfo& info : lib().typeInfos())
        if (info.kind == TypeKind::Coclass)
            out.push_back(TypeInfoView(lib_, &info));
    return out;
}

QList<TypeInfoView> TypeLibInfo::interfaces() const {
    QList<TypeInfoView> out;
    for (const TypeInfo& info : lib().typeInfos())
        if (info.kind == TypeKind::Interface || info.kind == TypeKind::Dispatch)
            out.push_back(TypeInfoView(lib_, &info));
    return out;
}

MemberView TypeLibInfo::member(qint32 searchData, qint32 invokeKinds, qint32 memberId,
                               const QString& name) const {
    const MemberView m = findMember(listedCached(searchData), invokeKinds, memberId, name);
    if (m.isNull())
        throw Error(Error::InvalidCall, kSource,
                    QStringLiteral("\"%1\" is not a member of the chosen type").arg(name));
    return m;
}

} // namespace vantor::tli
