#include "oracle_dump.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

constexpr quint32 Hidden = 0x10, Restricted = 0x200;

PrefixMachine& machine() {
    static PrefixMachine m;
    return m;
}

QString localRef(const QString& typeText) {
    static const QRegularExpression re(QStringLiteral("ref\\(([^@()]+)\\)"));
    const auto m = re.match(typeText);
    return m.hasMatch() ? m.captured(1) : QString();
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

bool hasGlobals(const OracleLibrary& o) {
    for (const OracleType& t : o.types) {
        if (t.kind == 5 && (t.flags & 0x1))
            return true;
        if (t.kind == 2)
            for (const OracleMember& m : t.members)
                if (m.isFunc ? !(m.flags & 65) : (m.varkind != 2 && !(m.flags & 192)))
                    return true;
    }
    return false;
}

class TypeList : public ::testing::TestWithParam<const char*> {};

} // namespace

// The type list as the oracle's type infos and flags predict it: sorted by name, hidden and
// restricted types out until the filter is reset, constants flagged, "<globals>" first.
TEST_P(TypeList, FollowsTheLibrary) {
    ASSERT_TRUE(machine().valid());
    const QString file = QString::fromLatin1(GetParam());
    const OracleLibrary oracle = readOracleDump(file + QStringLiteral(".txt"));
    ASSERT_FALSE(oracle.types.isEmpty());
    auto lib = machine().open(file);
    lib->setGlobalsLabel(QStringLiteral("<globals>"));

    QList<const OracleType*> visible;
    for (const OracleType& t : oracle.types)
        if (!(t.flags & (Hidden | Restricted)))
            visible.push_back(&t);
    std::stable_sort(visible.begin(), visible.end(),
                     [](auto* a, auto* b) { return compareText(a->name, b->name) < 0; });
    QList<ListRow> rows = lib->typeInfoRows();
    const bool globals = hasGlobals(oracle);
    ASSERT_EQ(rows.size(), visible.size() + (globals ? 1 : 0));
    if (globals) {
        EXPECT_EQ(rows.front(), (ListRow{QStringLiteral("<globals>"), search::GlobalsRow}));
        rows.removeFirst();
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const OracleType& t = *visible[i];
        EXPECT_EQ(rows[i].text, t.name);
        EXPECT_EQ(typeInfoNumber(rows[i].itemData), t.index);
        const OracleType* named = oracle.finalType(t);
        bool constants = named && named->kind == 0;
        if (named && named->kind == 2)
            constants = std::any_of(named->members.begin(), named->members.end(),
                                    [](const OracleMember& m) { return m.varkind == 2; });
        EXPECT_EQ(isConstantSearchData(rows[i].itemData), constants) << t.name.toStdString();
        EXPECT_EQ(lib->typeInfo(t.index).kindKeyword(),
                  QStringList({"enum", "struct", "module", "interface", "dispinterface", "coclass",
                               "typedef", "union"})[t.kind]);
    }

    lib->setTypeFilter(0, true, true);
    EXPECT_EQ(lib->typeInfoRows().size(), oracle.types.size() + (globals ? 1 : 0));
    lib->setTypeFilter(0, false, true);
    EXPECT_EQ(lib->typeInfoRows().size(), visible.size() + (globals ? 1 : 0));
    lib->setTypeFilter(0, true, true);
    lib->setContainingFile(lib->containingFile());
    EXPECT_EQ(lib->typeInfoRows().size(), visible.size() + (globals ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(WineLibraries, TypeList,
                         ::testing::Values("wshom.ocx", "scrrun.dll", "stdole2.tlb"));

// stdole2's module functions are its global members; their owner is the module.
TEST(TypeLibInfo, GlobalMembersComeFromModules) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("stdole2.tlb.txt"));
    auto lib = machine().open(QStringLiteral("stdole2.tlb"));
    QStringList expected;
    for (const OracleType& t : oracle.types)
        if (t.kind == 2)
            for (const OracleMember& m : t.members)
                expected.push_back(m.name);
    ASSERT_FALSE(expected.isEmpty());
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    const QList<ListRow> rows = lib->memberRows(search::GlobalsRow);
    EXPECT_EQ(texts(rows), expected);
    for (const ListRow& row : rows) {
        const MemberView m = lib->member(search::GlobalsRow, row.itemData, -1, row.text);
        EXPECT_EQ(m.owner().kind(), 2);
        EXPECT_EQ(m.name(), row.text);
    }
    EXPECT_THROW(lib->typeInfoOfSearchData(search::GlobalsRow), Error);
}

// Hidden and restricted members stay out under the default filters (65, 192) and come back
// with 0, 0; a property's accessors share one row whose item data is their invoke kinds.
TEST(TypeLibInfo, MemberFiltersAndAccessorMerging) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("scrrun.dll.txt"));
    auto lib = machine().open(QStringLiteral("scrrun.dll"));
    lib->setTypeFilter(0, true, true);
    int merged = 0, hiddenSeen = 0;
    for (const OracleType& t : oracle.types) {
        if (t.kind != 4)
            continue;
        SCOPED_TRACE(t.name.toStdString());
        const qint32 sd = searchDataOf(*lib, t.name);
        for (bool all : {false, true}) {
            lib->setMemberFilters(all ? 0 : 65, all ? 0 : 192);
            QMap<QString, int> kinds;
            for (const OracleMember& m : t.members)
                if (all || !(m.flags & 65))
                    kinds[m.name] |= m.invkind;
            const QList<ListRow> rows = lib->memberRows(sd);
            EXPECT_EQ(rows.size(), kinds.size());
            for (const ListRow& row : rows) {
                EXPECT_EQ(row.itemData, kinds.value(row.text, -1)) << row.text.toStdString();
                merged += !all && (row.itemData & 2) && (row.itemData & 12);
                hiddenSeen += all && row.text == QLatin1String("QueryInterface");
            }
        }
    }
    EXPECT_GT(merged, 0);
    EXPECT_GT(hiddenSeen, 0);
}

// An interface lists what its bases offer, each name once; looking a base member up reaches the
// base interface, which may lie in another library (IUnknown in stdole2).
TEST(TypeLibInfo, InterfacesListInheritedMembers) {
    int checked = 0;
    for (const char* file : {"stdole2.tlb", "mshtml.tlb", "msxml3.dll"}) {
        const OracleLibrary oracle = readOracleDump(QString::fromLatin1(file) + ".txt");
        auto lib = machine().open(QString::fromLatin1(file));
        lib->setMemberFilters(0, 0);
        lib->setTypeFilter(0, true, true);
        for (const OracleType& t : oracle.types) {
            if (t.kind != 3 || t.implTypes.isEmpty())
                continue;
            const OracleType* base = oracle.find(localRef(t.implTypes[0]));
            if (!base)
                continue;
            QStringList own = texts(lib->memberRows(searchDataOf(*lib, t.name)));
            const QStringList inherited = texts(lib->memberRows(searchDataOf(*lib, base->name)));
            EXPECT_EQ(own.removeDuplicates(), 0);
            for (const QString& name : inherited) {
                ASSERT_TRUE(own.contains(name))
                    << t.name.toStdString() << " " << name.toStdString();
                const bool ownName =
                    std::any_of(t.members.begin(), t.members.end(),
                                [&](const OracleMember& m) { return equalsText(m.name, name); });
                if (!ownName) {
                    const MemberView m = lib->member(searchDataOf(*lib, t.name), 0, -1, name);
                    EXPECT_NE(m.owner().name(), t.name);
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 0);
    // A dual's dispatch view includes IUnknown's members, restricted, as inherited members.
    auto wshom = machine().open(QStringLiteral("wshom.ocx"));
    wshom->setMemberFilters(0, 0);
    const MemberView qi =
        wshom->member(searchDataOf(*wshom, QStringLiteral("IWshShell3")), 1, -1, "QueryInterface");
    EXPECT_EQ(qi.flags() & 1, 1);
}

// Wine declares enumerations as an anonymous enum plus a typedef naming it: the typedef's row
// carries the constant flag and lists the enumeration's constants, invoke kinds 6.
TEST(TypeLibInfo, AliasRowsListTheirEnumerationsConstants) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wshom.ocx.txt"));
    auto lib = machine().open(QStringLiteral("wshom.ocx"));
    int aliases = 0;
    for (const OracleType& t : oracle.types) {
        const OracleType* named = t.kind == 6 ? oracle.finalType(t) : nullptr;
        if (!named || named->kind != 0)
            continue;
        ++aliases;
        const qint32 sd = searchDataOf(*lib, t.name);
        EXPECT_TRUE(isConstantSearchData(sd));
        QStringList names;
        for (const OracleMember& m : named->members)
            names.push_back(m.name);
        std::sort(names.begin(), names.end(),
                  [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
        const QList<ListRow> rows = lib->memberRows(sd);
        EXPECT_EQ(texts(rows), names);
        for (const ListRow& row : rows) {
            EXPECT_EQ(row.itemData, 6);
            const MemberView m = lib->member(sd, row.itemData, -1, row.text);
            EXPECT_TRUE(m.isConstant());
            EXPECT_TRUE(m.constantValue().has_value());
        }
    }
    EXPECT_GT(aliases, 0);
    // The constant groups take the typedef's name where the enumeration has none of its own.
    const QList<ConstantGroup> groups = lib->constantGroups();
    EXPECT_TRUE(std::any_of(groups.begin(), groups.end(), [](const ConstantGroup& g) {
        return g.name == QLatin1String("DriveTypeConst") && g.members.size() == 6;
    }));
}

// A coclass lists its default interface first, then the others in declaration order; its
// member list is its default interface's.
TEST(TypeLibInfo, CoclassInterfaces) {
    int coclasses = 0, events = 0;
    for (const char* file : {"wshom.ocx", "scrrun.dll", "mshtml.tlb"}) {
        const OracleLibrary oracle = readOracleDump(QString::fromLatin1(file) + ".txt");
        auto lib = machine().open(QString::fromLatin1(file));
        for (const OracleType& t : oracle.types) {
            if (t.kind != 5 || t.implTypes.isEmpty())
                continue;
            ++coclasses;
            QStringList expected;
            qsizetype def = 0;
            for (qsizetype i = 0; i < t.implFlags.size(); ++i)
                if ((t.implFlags[i] & 3) == 1) {
                    def = i;
                    break;
                }
            expected.push_back(t.implTypes[def]);
            for (qsizetype i = 0; i < t.implTypes.size(); ++i)
                if (i != def)
                    expected.push_back(t.implTypes[i]);
            const TypeInfoView view = lib->typeInfo(t.index);
            QStringList got;
            for (const TypeInfoView& i : view.interfaces())
                got.push_back(QStringLiteral("ref(") + i.name() +
                              (i.library() == view.library()
                                   ? QString()
                                   : u'@' + i.library().name() + i.library().guidText() +
                                         QStringLiteral("%1.%2")
                                             .arg(i.library().majorVersion())
                                             .arg(i.library().minorVersion())) +
                              u')');
            EXPECT_EQ(got, expected) << t.name.toStdString();
            EXPECT_EQ(view.defaultInterface()->name(), view.interfaces().front().name());
            EXPECT_EQ(texts(lib->memberRows(searchDataOf(*lib, t.name))),
                      texts(lib->memberRows(view.interfaces().front())));
            // A source interface lists events.
            const QList<quint16> flags = view.interfaceFlags();
            for (qsizetype i = 0; i < flags.size(); ++i)
                if (flags[i] & 2)
                    for (const ListRow& row : lib->memberRows(view.interfaces()[i], true)) {
                        EXPECT_EQ(row.itemData, 16) << row.text.toStdString();
                        ++events;
                    }
        }
    }
    EXPECT_GT(coclasses, 10);
    EXPECT_GT(events, 0);
}

// mshtml's references into stdole2 resolve through the prefix's TypeLib keys; without a
// registry they are reported unresolved while the member itself still reads.
TEST(TypeDescriptors, ReferencesIntoStdole2ResolveThroughTheRegistry) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("mshtml.tlb.txt"));
    static const QRegularExpression re(QStringLiteral("ref\\(([^@()]+)@stdole\\{"));
    const OracleType* type = nullptr;
    const OracleMember* member = nullptr;
    int param = -1;
    QString target;
    for (const OracleType& t : oracle.types)
        for (const OracleMember& m : t.members)
            for (qsizetype k = 0; !member && k < m.paramTypes.size(); ++k)
                if (!m.unreadable && re.match(m.paramTypes[k]).hasMatch()) {
                    type = &t;
                    member = &m;
                    param = int(k);
                    target = re.match(m.paramTypes[k]).captured(1);
                }
    ASSERT_NE(member, nullptr);

    auto lib = machine().open(QStringLiteral("mshtml.tlb"));
    lib->setMemberFilters(0, 0);
    lib->setTypeFilter(0, true, true);
    const qint32 sd = searchDataOf(*lib, type->name);
    const TypeDescriptor d =
        lib->member(sd, member->invkind, -1, member->name).parameters().items[param].type();
    EXPECT_EQ(d.varType(), 0);
    ASSERT_TRUE(d.typeInfo().has_value());
    EXPECT_EQ(d.typeInfo()->name(), target);
    EXPECT_TRUE(d.isExternal());
    EXPECT_EQ(d.externalLibrary().name(), QStringLiteral("stdole"));
    EXPECT_EQ(d.externalLibrary().guidText(),
              QStringLiteral("{00020430-0000-0000-C000-000000000046}"));

    // The base of a type lies in stdole2 too; without a registry it reaches nothing.
    const OracleType* derived = nullptr;
    for (const OracleType& t : oracle.types)
        if (!derived && !t.implTypes.isEmpty() && t.implTypes[0].contains(QLatin1String("@stdole")))
            derived = &t;
    ASSERT_NE(derived, nullptr);
    const QList<TypeInfoView> bases = lib->typeInfo(derived->index).interfaces();
    ASSERT_FALSE(bases.isEmpty());
    EXPECT_EQ(bases.front().library().name(), QStringLiteral("stdole"));
    TLIApplication bare(nullptr, nullptr);
    auto alone = bare.typeLibInfoFromFile(kWineDir + QStringLiteral("/mshtml.tlb"));
    EXPECT_TRUE(alone->typeInfo(derived->index).interfaces().isEmpty());
}

// A member whose type lies in a library that cannot be found still reads; only its type is
// reported unresolved.
TEST(TypeDescriptors, UnresolvableReferencesAreReportedNotThrown) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("atl.dll.txt"));
    const OracleType* type = nullptr;
    const OracleMember* member = nullptr;
    for (const OracleType& t : oracle.types)
        for (const OracleMember& m : t.members)
            if (!member && m.isFunc && m.type.contains(QLatin1String("@stdole"))) {
                type = &t;
                member = &m;
            }
    ASSERT_NE(member, nullptr);
    TLIApplication bare(nullptr, nullptr);
    for (TLIApplication* app : {&machine().app(), &bare}) {
        auto lib = app->typeLibInfoFromFile(kWineDir + QStringLiteral("/atl.dll"));
        const MemberView m =
            lib->member(searchDataOf(*lib, type->name), member->invkind, -1, member->name);
        EXPECT_TRUE(m.returnType().isExternal());
        EXPECT_EQ(m.returnType().varType(), 0);
        EXPECT_EQ(m.returnType().pointerLevel(), 1);
        EXPECT_EQ(m.returnType().typeInfo().has_value(), app != &bare);
    }
}

// Variant types, pointer levels, names of typed values and fixed-array bounds.
TEST(TypeDescriptors, VariantTypesNamesAndBounds) {
    auto stdole = machine().open(QStringLiteral("stdole2.tlb"));
    const qint32 guid = searchDataOf(*stdole, QStringLiteral("GUID"));
    const TypeDescriptor data4 = stdole->member(guid, 6, -1, QStringLiteral("Data4")).returnType();
    EXPECT_EQ(data4.varType(), 0x1000 | 17);
    EXPECT_EQ(data4.pointerLevel(), 0);
    ASSERT_EQ(data4.arrayBounds().size(), 1);
    EXPECT_EQ(data4.arrayBounds()[0].lowerBound, 0);
    EXPECT_EQ(data4.arrayBounds()[0].elements, 8u);

    // Wine's libraries use INT, UINT and UI4 widely; no plain number type reads "Empty", and
    // every user-defined type reports variant type 0.
    int numbers = 0, userDefined = 0;
    for (const char* file : {"wshom.ocx", "scrrun.dll", "mshtml.tlb", "msxml3.dll"}) {
        auto lib = machine().open(QString::fromLatin1(file));
        lib->setMemberFilters(0, 0);
        lib->setTypeFilter(0, true, true);
        for (const ListRow& row : lib->typeInfoRows())
            for (const MemberView& m : lib->members(row.itemData)) {
                QList<TypeDescriptor> types{m.returnType()};
                for (const ParameterView& p : m.parameters().items)
                    types.push_back(p.type());
                for (const TypeDescriptor& d : types) {
                    const TypeDesc* t = &d.library()->type(d.id());
                    int pointers = 0;
                    while (t->vt == vt::Ptr) {
                        t = &d.library()->type(t->inner);
                        ++pointers;
                    }
                    if (t->vt == vt::UserDefined) {
                        ++userDefined;
                        EXPECT_EQ(d.varType(), 0);
                        EXPECT_EQ(d.pointerLevel(), pointers);
                    } else if (t->vt == vt::Int || t->vt == vt::UInt || t->vt == vt::UI4 ||
                               t->vt == vt::I4 || t->vt == vt::I2) {
                        ++numbers;
                        EXPECT_EQ(d.varType(), t->vt);
                        EXPECT_NE(d.typedValueName(), QStringLiteral("Empty"));
                    }
                }
            }
    }
    EXPECT_GT(numbers, 100);
    EXPECT_GT(userDefined, 100);
}

// A function taking a parameter array reports optional count -1 and its last parameter as
// optional.
TEST(TypeDescriptors, ParameterArrays) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wscript.exe.txt"));
    auto lib = machine().open(QStringLiteral("wscript.exe"));
    int found = 0;
    for (const OracleType& t : oracle.types)
        for (const OracleMember& m : t.members)
            if (m.isFunc && m.cParamsOpt == -1) {
                const Parameters ps =
                    lib->member(searchDataOf(*lib, t.name), m.invkind, -1, m.name).parameters();
                EXPECT_EQ(ps.optionalCount, -1);
                ASSERT_GT(ps.count(), 0);
                EXPECT_TRUE(ps.items.back().isOptional());
                ++found;
            }
    EXPECT_GT(found, 0);
}

// A ProgID or CLSID leads, without running anything, to the class's coclass, its default
// interface and the containing library.
TEST(TLIApplication, InterfaceInfoOfARegisteredClass) {
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wshom.ocx.txt"));
    const OracleType* shell = oracle.find(QStringLiteral("WshShell"));
    ASSERT_NE(shell, nullptr);
    const InterfaceInfo byProgId = machine().app().interfaceInfoFromObject("WScript.Shell");
    EXPECT_EQ(byProgId.coClass.name(), shell->name);
    EXPECT_EQ(QStringLiteral("ref(") + byProgId.interface.name() + u')', shell->implTypes[0]);
    EXPECT_EQ(byProgId.libraryGuid, oracle.guid);
    EXPECT_TRUE(byProgId.containingFile.endsWith(QLatin1String("wshom.ocx"), Qt::CaseInsensitive));
    const InterfaceInfo byClsid =
        machine().app().interfaceInfoFromObject(byProgId.coClass.guidText());
    EXPECT_EQ(byClsid.interface, byProgId.interface);
    EXPECT_THROW(machine().app().interfaceInfoFromObject("No.Such.Class"), Error);
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
