#include "oracle_dump.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli_machine.h"
#include "tli_test_support.h"

#include <QHash>
#include <cstdio>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

// The invoke kinds a member's row carries for it.
int rowKind(const OracleMember& m) {
    if (m.isFunc)
        return m.invkind;
    return m.varkind != 2 && (m.flags & 0x1) ? 2 : 6;
}

const OracleMember* firstOf(const OracleType& t, const QString& name, int kind) {
    for (const OracleMember& m : t.members)
        if (!m.unreadable && equalsText(m.name, name) && (kind == 0 || (rowKind(m) & kind)))
            return &m;
    return nullptr;
}

} // namespace

// Every member of every library the oracle holds, looked up from the row the list shows for
// it: the row's text and item data (what a click passes) and its own invoke kind (what the
// documentation export passes) both lead back to the member the type services report.
TEST(MemberLookup, EveryOracleMemberRoundTripsFromItsRow) {
    PrefixMachine machine;
    ASSERT_TRUE(machine.valid());
    const QList<IndexRow> index = readIndex();
    ASSERT_FALSE(index.isEmpty());
    int libraries = 0, members = 0, expected = 0;
    for (const IndexRow& entry : index) {
        SCOPED_TRACE(entry.dump.toStdString());
        const OracleLibrary oracle = readOracleDump(entry.dump);
        if (oracle.types.isEmpty())
            continue; // a library the type services could not load either
        std::unique_ptr<TypeLibInfo> lib;
        try {
            lib = machine.app().typeLibInfoFromFile(entry.path());
        } catch (const Error& e) {
            ADD_FAILURE() << e.description().toStdString();
            continue;
        }
        ++libraries;
        lib->setMemberFilters(0, 0);
        lib->setTypeFilter(0, true, true);
        QHash<int, qint32> searchOf;
        for (const ListRow& row : lib->typeInfoRows()) {
            if (isGlobalsSearchData(row.itemData))
                continue;
            const int n = typeInfoNumber(row.itemData);
            ASSERT_LT(n, oracle.types.size());
            EXPECT_EQ(row.text, oracle.types[n].name);
            EXPECT_FALSE(searchOf.contains(n));
            searchOf.insert(n, row.itemData);
        }
        EXPECT_EQ(searchOf.size(), oracle.types.size());

        for (const OracleType& t : oracle.types) {
            // Aliases and coclasses list another type's members; checked on their own.
            if (t.kind == 5 || t.kind == 6)
                continue;
            SCOPED_TRACE(t.name.toStdString());
            const qint32 sd = searchOf.value(t.index);
            const QList<ListRow> rows = lib->memberRows(sd);
            for (const OracleMember& m : t.members) {
                if (m.unreadable)
                    continue;
                ++expected;
                const auto row = std::find_if(rows.begin(), rows.end(), [&](const ListRow& r) {
                    return equalsText(r.text, m.name);
                });
                if (row == rows.end()) {
                    ADD_FAILURE() << "no row for " << m.name.toStdString();
                    continue;
                }
                EXPECT_TRUE(row->itemData & rowKind(m)) << m.name.toStdString();

                const MemberView clicked = lib->member(sd, row->itemData, -1, row->text);
                const OracleMember* any = firstOf(t, row->text, clicked.invokeKind());
                ASSERT_NE(any, nullptr) << m.name.toStdString();
                EXPECT_EQ(clicked.name(), any->name);

                const MemberView own = lib->member(sd, rowKind(m), -1, row->text);
                const OracleMember* first = firstOf(t, m.name, rowKind(m));
                EXPECT_EQ(own.memberId(), qint32(first->memid)) << m.name.toStdString();
                EXPECT_EQ(own.name(), first->name);
                EXPECT_EQ(own.isFunction(), first->isFunc);
                EXPECT_EQ(own.owner().number(), t.index);
                EXPECT_EQ(own.owner().library().name(), oracle.name);
                if (first->isFunc) {
                    EXPECT_EQ(own.invokeKind(), first->invkind);
                    EXPECT_EQ(own.parameters().count(), first->paramTypes.size());
                    EXPECT_EQ(own.parameters().optionalCount, first->cParamsOpt);
                }
                ++members;
            }
        }
    }
    std::printf("%d members of %d libraries looked up\n", members, libraries);
    EXPECT_EQ(members, expected);
    EXPECT_GT(libraries, 40);
}
