#include "oracle_dump.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

constexpr quint32 HiddenOrRestricted = 0x10 | 0x200;

PrefixMachine& machine() {
    static PrefixMachine m;
    return m;
}

qint32 searchDataOf(const TypeLibInfo& lib, const QString& typeName) {
    for (const ListRow& row : lib.typeInfoRows())
        if (row.text == typeName && !isGlobalsSearchData(row.itemData))
            return row.itemData;
    ADD_FAILURE() << "no row " << typeName.toStdString();
    return 0;
}

QStringList texts(const QList<ListRow>& rows) {
    QStringList out;
    for (const ListRow& r : rows)
        out.push_back(r.text);
    return out;
}

bool textLess(const QString& a, const QString& b) {
    return compareText(a, b) < 0;
}

// The type name of a dump's "ref(NAME)" or "ref(NAME@library...)".
QString refName(const QString& typeText) {
    static const QRegularExpression re(QStringLiteral("ref\\(([^@()]+)"));
    return re.match(typeText).captured(1);
}

// The invoke kinds a member's row carries for it.
int rowKind(const OracleMember& m) {
    if (m.isFunc)
        return m.invkind;
    return m.varkind != 2 && (m.flags & 0x1) ? 2 : 6;
}

// Whether the default member filters (65 for functions, 192 for variables) let it through.
bool shownByDefault(const OracleMember& m) {
    return !(m.flags & (m.isFunc ? 65 : 192));
}

const OracleMember* firstOf(const OracleType& t, const QString& name, int kind) {
    for (const OracleMember& m : t.members)
        if (!m.unreadable && equalsText(m.name, name) && (kind == 0 || (rowKind(m) & kind)))
            return &m;
    return nullptr;
}

bool hasGlobals(const OracleLibrary& o) {
    for (const OracleType& t : o.types) {
        if (t.kind == 5 && (t.flags & 0x1))
            return true;
        if (t.kind == 2)
            for (const OracleMember& m : t.members)
                if (shownByDefault(m) && (m.isFunc || m.varkind != 2))
                    return true;
    }
    return false;
}

struct Counts {
    int members = 0, merged = 0, inherited = 0, coclasses = 0, events = 0;
};

// The default lists: types sorted by name without hidden and restricted ones, "<globals>" first,
// constants flagged; a dispinterface lists what the member filters let through, a property's
// accessors in one row whose item data is their invoke kinds.
void checkDefaultLists(TypeLibInfo& lib, const OracleLibrary& oracle, Counts& n) {
    lib.setGlobalsLabel(QStringLiteral("<globals>"));
    QList<const OracleType*> visible;
    for (const OracleType& t : oracle.types)
        if (!(t.flags & HiddenOrRestricted))
            visible.push_back(&t);
    std::stable_sort(visible.begin(), visible.end(),
                     [](auto* a, auto* b) { return textLess(a->name, b->name); });
    QList<ListRow> rows = lib.typeInfoRows();
    const bool globals = hasGlobals(oracle);
    if (globals && !rows.isEmpty()) {
        EXPECT_EQ(rows.takeFirst(), (ListRow{QStringLiteral("<globals>"), search::GlobalsRow}));
    }
    ASSERT_EQ(rows.size(), visible.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const OracleType& t = *visible[i];
        EXPECT_EQ(rows[i].text, t.name);
        EXPECT_EQ(typeInfoNumber(rows[i].itemData), t.index);
        const OracleType* named = oracle.finalType(t);
        const bool constants =
            named && (named->kind == 0 ||
                      (named->kind == 2 && std::any_of(named->members.begin(), named->members.end(),
                                                       [](auto& m) { return m.varkind == 2; })));
        EXPECT_EQ(isConstantSearchData(rows[i].itemData), constants) << t.name.toStdString();
        // Members the type services could not read have no name to compare.
        if (t.kind != 4 ||
            std::any_of(t.members.begin(), t.members.end(), [](auto& m) { return m.unreadable; }))
            continue;
        QMap<QString, int> kinds;
        for (const OracleMember& m : t.members)
            if (shownByDefault(m))
                kinds[m.name] |= rowKind(m);
        const QList<ListRow> members = lib.memberRows(rows[i].itemData);
        EXPECT_EQ(members.size(), kinds.size()) << t.name.toStdString();
        for (const ListRow& row : members) {
            EXPECT_EQ(row.itemData, kinds.value(row.text, -1)) << row.text.toStdString();
            n.merged += (row.itemData & 2) && (row.itemData & 12);
        }
    }
    // Only (0, true, true) lets every type in; opening a file again restores the default.
    const int shown = int(visible.size()) + (globals ? 1 : 0);
    lib.setTypeFilter(0, false, true);
    EXPECT_EQ(lib.typeInfoRows().size(), shown);
    lib.setTypeFilter(0, true, true);
    lib.setContainingFile(lib.containingFile());
    EXPECT_EQ(lib.typeInfoRows().size(), shown);
}

// A coclass lists its default interface first, then the others in declaration order; its
// member list is its default interface's, and a source interface lists events.
void checkCoclass(TypeLibInfo& lib, const OracleType& t, qint32 sd, Counts& n) {
    QStringList expected;
    bool defaultSeen = false;
    for (qsizetype i = 0; i < t.implTypes.size(); ++i) {
        const bool isDefault = !defaultSeen && (t.implFlags[i] & 3) == 1;
        defaultSeen |= isDefault;
        expected.insert(isDefault ? 0 : expected.size(), refName(t.implTypes[i]));
    }
    const TypeInfoView view = lib.typeInfo(t.index);
    const QList<TypeInfoView> interfaces = view.interfaces();
    const QList<quint16> flags = view.interfaceFlags();
    QStringList got;
    for (const TypeInfoView& i : interfaces)
        got.push_back(i.name());
    EXPECT_EQ(got, expected);
    if (interfaces.isEmpty())
        return;
    ++n.coclasses;
    EXPECT_EQ(view.defaultInterface()->name(), interfaces.front().name());
    EXPECT_EQ(lib.memberRows(sd), lib.memberRows(interfaces.front()));
    for (qsizetype i = 0; i < flags.size(); ++i)
        if (flags[i] & 2)
            for (const ListRow& row : lib.memberRows(interfaces[i], true)) {
                EXPECT_EQ(row.itemData, 16) << row.text.toStdString();
                ++n.events;
            }
}

// Each member has a row carrying its invoke kind, and its own kind (what the documentation
// export passes) leads to the member the type services report.
void checkMembers(TypeLibInfo& lib, const OracleType& t, qint32 sd, Counts& n) {
    const QList<ListRow> rows = lib.memberRows(sd);
    for (const OracleMember& m : t.members) {
        if (m.unreadable)
            continue;
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const ListRow& r) { return equalsText(r.text, m.name); });
        if (row == rows.end()) {
            ADD_FAILURE() << "no row for " << m.name.toStdString();
            continue;
        }
        EXPECT_TRUE(row->itemData & rowKind(m)) << m.name.toStdString();
        const MemberView own = lib.member(sd, rowKind(m), -1, row->text);
        const OracleMember* first = firstOf(t, m.name, rowKind(m));
        EXPECT_EQ(own.memberId(), qint32(first->memid)) << m.name.toStdString();
        EXPECT_EQ(own.name(), first->name);
        EXPECT_EQ(own.isFunction(), first->isFunc);
        EXPECT_EQ(own.owner().number(), t.index);
        EXPECT_EQ(own.constantValue().has_value(), !first->isFunc && first->varkind == 2);
        if (first->isFunc) {
            EXPECT_EQ(own.invokeKind(), first->invkind);
            EXPECT_EQ(own.parameters().count(), first->paramTypes.size());
            EXPECT_EQ(own.parameters().optionalCount, first->cParamsOpt);
        }
        ++n.members;
    }
}

// An interface lists what its base offers, each name once; what it does not declare itself
// belongs to a base.
void checkInherited(TypeLibInfo& lib, const OracleType& t, qint32 sd, qint32 baseSd, Counts& n) {
    QStringList own = texts(lib.memberRows(sd));
    EXPECT_EQ(own.removeDuplicates(), 0);
    for (const QString& name : texts(lib.memberRows(baseSd))) {
        EXPECT_TRUE(own.contains(name)) << name.toStdString();
        if (own.contains(name) && !firstOf(t, name, 0)) {
            EXPECT_NE(lib.member(sd, 0, -1, name).owner().name(), t.name) << name.toStdString();
            ++n.inherited;
        }
    }
}

} // namespace

// Every library the oracle holds, listed under the default filters and then with every type and
// member shown; references into other libraries resolve through the prefix's registry.
TEST(TypeLibInfo, EveryLibraryListsAndLooksUpLikeTheOracle) {
    ASSERT_TRUE(machine().valid());
    const QList<IndexRow> index = readIndex();
    ASSERT_FALSE(index.isEmpty());
    int libraries = 0;
    Counts n;
    for (const IndexRow& entry : index) {
        SCOPED_TRACE(entry.dump.toStdString());
        const OracleLibrary oracle = readOracleDump(entry.dump);
        if (oracle.types.isEmpty())
            continue; // a library the type services could not load either
        std::unique_ptr<TypeLibInfo> lib;
        try {
            lib = machine().app().typeLibInfoFromFile(entry.path());
        } catch (const Error& e) {
            ADD_FAILURE() << e.description().toStdString();
            continue;
        }
        ++libraries;
        checkDefaultLists(*lib, oracle, n);

        lib->setMemberFilters(0, 0);
        lib->setTypeFilter(0, true, true);
        QHash<int, qint32> searchOf;
        for (const ListRow& row : lib->typeInfoRows()) {
            if (isGlobalsSearchData(row.itemData))
                continue;
            const int number = typeInfoNumber(row.itemData);
            ASSERT_LT(number, oracle.types.size());
            EXPECT_EQ(row.text, oracle.types[number].name);
            searchOf.insert(number, row.itemData);
        }
        EXPECT_EQ(searchOf.size(), oracle.types.size());

        for (const OracleType& t : oracle.types) {
            SCOPED_TRACE(t.name.toStdString());
            const qint32 sd = searchOf.value(t.index);
            if (t.kind == 5) {
                checkCoclass(*lib, t, sd, n);
            } else if (t.kind == 6) {
                // Wine names most enumerations only through a typedef, which lists their constants.
                if (const OracleType* named = oracle.finalType(t)) {
                    EXPECT_EQ(lib->memberRows(sd), lib->memberRows(searchOf.value(named->index)));
                }
            } else {
                checkMembers(*lib, t, sd, n);
            }
            if (t.kind == 3 && !t.implTypes.isEmpty() && !t.implTypes[0].contains(u'@'))
                if (const OracleType* base = oracle.find(refName(t.implTypes[0])))
                    checkInherited(*lib, t, sd, searchOf.value(base->index), n);
        }
    }
    std::printf("%d members of %d libraries looked up\n", n.members, libraries);
    EXPECT_GT(libraries, 40);
    EXPECT_GT(n.merged, 0);
    EXPECT_GT(n.inherited, 0);
    EXPECT_GT(n.coclasses, 10);
    EXPECT_GT(n.events, 0);
}

// stdole2's module functions are its global members, owned by the module; wshom's constant
// groups take the typedef's name where the enumeration has none of its own.
TEST(TypeLibInfo, GlobalsAndConstantGroups) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("stdole2.tlb.txt"));
    auto lib = machine().open(QStringLiteral("stdole2.tlb"));
    QStringList expected;
    for (const OracleType& t : oracle.types)
        if (t.kind == 2)
            for (const OracleMember& m : t.members)
                expected.push_back(m.name);
    ASSERT_FALSE(expected.isEmpty());
    std::sort(expected.begin(), expected.end(), textLess);
    const QList<ListRow> rows = lib->memberRows(search::GlobalsRow);
    EXPECT_EQ(texts(rows), expected);
    for (const ListRow& row : rows)
        EXPECT_EQ(lib->member(search::GlobalsRow, row.itemData, -1, row.text).owner().kind(),
                  TypeKind::Module);
    EXPECT_THROW(lib->typeInfoOfSearchData(search::GlobalsRow), Error);

    const QList<ConstantGroup> groups =
        machine().open(QStringLiteral("wshom.ocx"))->constantGroups();
    EXPECT_TRUE(std::any_of(groups.begin(), groups.end(), [](const ConstantGroup& g) {
        return g.name == QLatin1String("DriveTypeConst") && g.members.size() == 6;
    }));
}

// References into stdole2 (atl's IFontDisp, mshtml's bases) resolve through the prefix's TypeLib
// keys; without a registry they are reported unresolved while the member itself still reads.
TEST(TypeDescriptors, ReferencesIntoStdole2ResolveThroughTheRegistry) {
    const OracleLibrary atl = readOracleDump(QStringLiteral("atl.dll.txt"));
    const OracleType* owner = nullptr;
    const OracleMember* member = nullptr;
    for (const OracleType& t : atl.types)
        for (const OracleMember& m : t.members)
            if (!member && m.isFunc && m.type.contains(QLatin1String("@stdole"))) {
                owner = &t;
                member = &m;
            }
    ASSERT_NE(member, nullptr);
    const OracleLibrary mshtml = readOracleDump(QStringLiteral("mshtml.tlb.txt"));
    const auto derived = std::find_if(mshtml.types.begin(), mshtml.types.end(), [](auto& t) {
        return !t.implTypes.isEmpty() && t.implTypes[0].contains(QLatin1String("@stdole"));
    });
    ASSERT_NE(derived, mshtml.types.end());

    TLIApplication bare(nullptr, nullptr);
    for (TLIApplication* app : {&machine().app(), &bare}) {
        const bool registry = app != &bare;
        SCOPED_TRACE(registry);
        auto lib = app->typeLibInfoFromFile(kWineDir + QStringLiteral("/atl.dll"));
        const TypeDescriptor d =
            lib->member(searchDataOf(*lib, owner->name), member->invkind, -1, member->name)
                .returnType();
        EXPECT_TRUE(d.isExternal());
        EXPECT_EQ(d.varType(), 0);
        EXPECT_EQ(d.pointerLevel(), 1);
        ASSERT_EQ(d.typeInfo().has_value(), registry);
        auto html = app->typeLibInfoFromFile(kWineDir + QStringLiteral("/mshtml.tlb"));
        const QList<TypeInfoView> bases = html->typeInfo(derived->index).interfaces();
        ASSERT_EQ(bases.isEmpty(), !registry);
        if (!registry)
            continue;
        EXPECT_EQ(d.typeInfo()->name(), refName(member->type));
        EXPECT_EQ(d.externalLibrary().name(), QStringLiteral("stdole"));
        EXPECT_EQ(d.externalLibrary().guidText(),
                  QStringLiteral("{00020430-0000-0000-C000-000000000046}"));
        EXPECT_EQ(bases.front().library().name(), QStringLiteral("stdole"));
    }
}

// A fixed array: the variant type carries the array bit, the bounds are as stored.
TEST(TypeDescriptors, FixedArrays) {
    auto stdole = machine().open(QStringLiteral("stdole2.tlb"));
    const TypeDescriptor data4 =
        stdole->member(searchDataOf(*stdole, QStringLiteral("GUID")), 6, -1, "Data4").returnType();
    EXPECT_EQ(data4.varType(), 0x1000 | 17);
    EXPECT_EQ(data4.pointerLevel(), 0);
    ASSERT_EQ(data4.arrayBounds().size(), 1);
    EXPECT_EQ(data4.arrayBounds()[0].lowerBound, 0);
    EXPECT_EQ(data4.arrayBounds()[0].elements, 8u);
}

TEST(TypeLibInfo, NoOpenLibraryAndBadFilesAreErrors) {
    TypeLibInfo lib(machine().app());
    EXPECT_THROW(lib.typeInfoRows(), Error);
    EXPECT_THROW(lib.member(0, 1, -1, "x"), Error);
    EXPECT_THROW(lib.setContainingFile(kWineDir + QStringLiteral("/kernel32.dll")), Error);
    EXPECT_FALSE(lib.isOpen());
    lib.setContainingFile(QStringLiteral("C:\\windows\\system32\\vbscript.dll\\3"));
    EXPECT_EQ(lib.name(), QStringLiteral("VBScript_RegExp_55"));
    EXPECT_THROW(lib.typeInfo(lib.typeInfoCount()), Error);
    EXPECT_THROW(lib.member(searchDataOf(lib, "RegExp"), 1, -1, "NoSuchMember"), Error);
}
