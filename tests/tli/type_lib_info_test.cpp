#include "oracle_dump.h"
#include "platform/registry/value_type.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli_machine.h"
#include "tli_test_support.h"
#include "wine_library.h"

#include <QRegularExpression>
#include <algorithm>
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

// The default lists: types sorted by name without hidden and restricted ones, "<globals>" first,
// constants flagged; a dispinterface lists what the member filters let through, a property's
// accessors in one row whose item data is their invoke kinds.
void checkDefaultLists(TypeLibInfo& lib, const OracleLibrary& oracle) {
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
void checkCoclass(TypeLibInfo& lib, const OracleType& t, qint32 sd) {
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
    EXPECT_EQ(view.defaultInterface()->name(), interfaces.front().name());
    EXPECT_EQ(lib.memberRows(sd), lib.memberRows(interfaces.front()));
    for (qsizetype i = 0; i < flags.size(); ++i)
        if (flags[i] & 2)
            for (const ListRow& row : lib.memberRows(interfaces[i], true)) {
                EXPECT_EQ(row.itemData, invoke::Event) << row.text.toStdString();
            }
}

// Each member has a row carrying its invoke kind, and its own kind (what the documentation
// export passes) leads to the member the type services report.
void checkMembers(TypeLibInfo& lib, const OracleType& t, qint32 sd) {
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
    }
}

// An interface lists what its base offers, each name once; what it does not declare itself
// belongs to a base.
void checkInherited(TypeLibInfo& lib, const OracleType& t, qint32 sd, qint32 baseSd) {
    QStringList own = texts(lib.memberRows(sd));
    EXPECT_EQ(own.removeDuplicates(), 0);
    for (const QString& name : texts(lib.memberRows(baseSd))) {
        EXPECT_TRUE(own.contains(name)) << name.toStdString();
        if (own.contains(name) && !firstOf(t, name, 0)) {
            EXPECT_NE(lib.member(sd, 0, -1, name).owner().name(), t.name) << name.toStdString();
        }
    }
}

} // namespace

// The library listed under the default filters and then with every type and member shown;
// references into other libraries resolve through the prefix's registry.
TEST_P(WineLibrary, ListsAndLooksUpLikeTheOracle) {
    ASSERT_TRUE(machine().valid());
    const OracleLibrary oracle = readOracleDump(GetParam().dump);
    if (oracle.types.isEmpty())
        GTEST_SKIP() << "the type services could not load it either";
    const std::unique_ptr<TypeLibInfo> lib = machine().app().typeLibInfoFromFile(GetParam().path());
    checkDefaultLists(*lib, oracle);

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
            checkCoclass(*lib, t, sd);
        } else if (t.kind == 6) {
            // Wine names most enumerations only through a typedef, which lists their constants.
            if (const OracleType* named = oracle.finalType(t)) {
                EXPECT_EQ(lib->memberRows(sd), lib->memberRows(searchOf.value(named->index)));
            }
        } else {
            checkMembers(*lib, t, sd);
        }
        if (t.kind == 3 && !t.implTypes.isEmpty() && !t.implTypes[0].contains(u'@'))
            if (const OracleType* base = oracle.find(refName(t.implTypes[0])))
                checkInherited(*lib, t, sd, searchOf.value(base->index));
    }
}

// stdole2's module functions are its global members, owned by the module.
TEST(TypeLibInfo, GlobalsAreTheModulesFunctions) {
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
}

// Without a registry a reference into stdole2 (atl's IFontDisp, mshtml's bases) is reported
// unresolved while the member itself still reads; through the registry the oracle comparison
// and the prototypes' links check it.
TEST(TypeDescriptors, ReferencesWithoutARegistryAreUnresolved) {
    const TLIApplication bare(nullptr, nullptr);
    auto atl = bare.typeLibInfoFromFile(kWineDir + QStringLiteral("/atl.dll"));
    const TypeDescriptor font =
        atl->member(searchDataOf(*atl, QStringLiteral("IAxWinAmbientDispatch")),
                    invoke::PropertyGet, -1, QStringLiteral("Font"))
            .returnType();
    EXPECT_TRUE(font.isExternal());
    EXPECT_EQ(font.pointerLevel(), 1);
    EXPECT_FALSE(font.typeInfo().has_value());
    auto html = bare.typeLibInfoFromFile(kWineDir + QStringLiteral("/mshtml.tlb"));
    EXPECT_TRUE(html->typeInfo(15).interfaces().isEmpty()); // IHTMLDOMConstructor: IDispatch
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

// Registering a library the prefix does not know (wscript.exe's IHost) writes its TypeLib and
// Interface keys into the overlay; after a restart the library opens by GUID and version, and
// the machine's own hives are unchanged.
TEST(Registration, RegisteredLibraryIsFoundAgainAfterARestartAlsoUnderAPaddedLocale) {
    PrefixMachine m;
    ASSERT_TRUE(m.valid());
    const QByteArray before = m.prefix().hivesHash();
    const OracleLibrary oracle = readOracleDump(QStringLiteral("wscript.exe.txt"));
    ASSERT_FALSE(oracle.types.isEmpty());

    auto lib = m.open(QStringLiteral("wscript.exe"));
    const QString guid = lib->guidText();
    const int major = lib->majorVersion(), minor = lib->minorVersion(), lcid = int(lib->lcid());
    EXPECT_THROW(m.app().typeLibInfoFromRegistry(guid, major, minor, lcid), Error);
    lib->registerLibrary();

    registry::Store again(m.store().machine(), m.prefix().programFolder());
    const winpath::PrefixPaths paths(m.prefix().prefix(), again.systemRoot());
    TLIApplication app(&again, &paths);
    EXPECT_EQ(app.registeredLibraryName(guid, major, minor, lcid), oracle.name);
    // Another locale falls back to the registered one; an unknown version is not found.
    EXPECT_EQ(app.registeredLibraryName(guid, major, minor, 0x407), oracle.name);
    EXPECT_THROW(app.registeredLibraryName(guid, major + 1, minor, lcid), Error);

    const QString versionKey =
        QStringLiteral("TypeLib\\%1\\%2.%3").arg(guid).arg(major, 0, 16).arg(minor, 0, 16);
    const auto text = [&](const QString& key) {
        return again.defaultText(registry::Root::ClassesRoot, key);
    };
    EXPECT_EQ(text(versionKey + QStringLiteral("\\%1\\win64").arg(lcid, 0, 16)),
              QStringLiteral("C:\\windows\\system32\\wscript.exe"));
    EXPECT_EQ(text(versionKey + QStringLiteral("\\HELPDIR")),
              QStringLiteral("C:\\windows\\system32"));
    // Dispinterfaces, duals and automation interfaces get an Interface key; the others none.
    const auto automation = [](int kind, quint32 flags) { return kind == 4 || (flags & 0x140); };
    int expected = 0, written = 0;
    for (const OracleType& t : oracle.types)
        expected += (t.kind == 3 || t.kind == 4) && automation(t.kind, t.flags);
    for (const TypeInfoView& i :
         app.typeLibInfoFromRegistry(guid, major, minor, lcid)->interfaces()) {
        const QString key = QStringLiteral("Interface\\") + i.guidText();
        const bool registered = automation(int(i.kind()), i.typeFlags());
        EXPECT_EQ(again.keyExists(registry::Root::ClassesRoot, key), registered);
        if (registered) {
            EXPECT_EQ(text(key), i.name());
            EXPECT_EQ(text(key + QStringLiteral("\\TypeLib")), guid);
        }
        written += registered;
    }
    EXPECT_GT(written, 0);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(m.prefix().hivesHash(), before);

    // A locale key written with leading zeros ("0407") is the same locale; only the locale asked
    // for, 0, 9 and 409 are tried.
    const QString padded = versionKey + QStringLiteral("\\0407\\win32");
    ASSERT_TRUE(again.removeOverlayKey(registry::Root::ClassesRoot,
                                       versionKey + QStringLiteral("\\%1").arg(lcid, 0, 16)));
    ASSERT_TRUE(
        again.setValue(registry::Root::ClassesRoot, padded, QString(), registry::RegSz,
                       vantor::test::utf16z(QStringLiteral("C:\\windows\\system32\\wscript.exe"))));
    EXPECT_EQ(app.registeredLibraryName(guid, major, minor, 0x407), oracle.name);
    EXPECT_THROW(app.registeredLibraryName(guid, major, minor, 0x409), Error);
    EXPECT_THROW(app.registeredLibraryName(QStringLiteral("{nonsense}"), 2, 0, 0), Error);
}
