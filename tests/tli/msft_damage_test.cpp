#include "platform/pe/pe_resources.h"
#include "text/error.h"
#include "tli/msft_layout.h"
#include "tli/type_lib_file.h"
#include "tli_test_support.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::testing;

namespace {

// A real library's MSFT bytes, to damage on purpose.
QByteArray msftOf(const QString& name) {
    const QByteArray pe = readFile(kWineDir + u'/' + name);
    const auto blob = pe::PeResources(pe).typelib(1);
    return blob ? blob->toByteArray() : QByteArray();
}

quint32 get32(const QByteArray& b, qint64 off) {
    return qFromLittleEndian<quint32>(b.constData() + off);
}
void put32(QByteArray& b, qint64 off, quint32 v) {
    qToLittleEndian(v, b.data() + off);
}

// Offset of the segment directory entry `s`.
qint64 segmentEntry(const QByteArray& b, int s) {
    return msft::segmentEntry(get32(b, msft::header::VarFlags),
                              get32(b, msft::header::TypeInfoCount), s);
}

// Offsets of the type info records, in index order.
QList<qint64> typeInfoRecords(const QByteArray& b) {
    const qint64 offsets = msft::header::typeInfoOffsets(get32(b, msft::header::VarFlags));
    const qint64 table = get32(b, segmentEntry(b, msft::TypeInfoTab));
    QList<qint64> records;
    for (quint32 i = 0; i < get32(b, msft::header::TypeInfoCount); ++i)
        records.push_back(table + get32(b, offsets + 4 * i));
    return records;
}

QString errorOf(const QByteArray& bytes) {
    return test::errorText([&] {
        readTypeLib(bytes, std::nullopt, &indexLibraries(), QStringLiteral("damaged.tlb"));
    });
}

} // namespace

TEST(MsftDamage, HeaderAndTables) {
    const QByteArray good = msftOf(QStringLiteral("stdole2.tlb"));
    ASSERT_TRUE(good.startsWith("MSFT"));
    EXPECT_TRUE(errorOf(good).isEmpty());

    QByteArray many = good;
    put32(many, msft::header::TypeInfoCount, 0x10000);
    EXPECT_EQ(errorOf(many), QStringLiteral("damaged.tlb: the header claims 65536 type infos"));

    QByteArray outside = good;
    put32(outside, segmentEntry(outside, msft::NameTab), quint32(good.size() - 8));
    EXPECT_TRUE(errorOf(outside).contains(QStringLiteral("runs past the end of the data")));

    EXPECT_TRUE(errorOf(good.first(0x40)).contains(QStringLiteral("leaves the data")));
}

// A pointer type that points at itself would recurse for ever.
TEST(MsftDamage, SelfReferentialTypeDescriptor) {
    QByteArray b = msftOf(QStringLiteral("stdole2.tlb"));
    const qint64 entry = segmentEntry(b, msft::TypeDescTab);
    const quint32 start = get32(b, entry), length = get32(b, entry + 4);
    quint32 off = 0;
    while (off + msft::typeDesc::Size <= length && (get32(b, start + off) & 0xFFFF) != vt::Ptr)
        off += msft::typeDesc::Size;
    ASSERT_LE(off + msft::typeDesc::Size, length) << "no pointer type";
    put32(b, start + off + msft::typeDesc::Inner, off);
    const QString e = errorOf(b);
    EXPECT_TRUE(e.contains(QStringLiteral("nest deeper"))) << e.toStdString();
}

// A dual interface that names itself as its base.
TEST(MsftDamage, InheritanceLoop) {
    QByteArray b = msftOf(QStringLiteral("wshom.ocx"));
    const qint64 table = get32(b, segmentEntry(b, msft::TypeInfoTab));
    const QList<qint64> records = typeInfoRecords(b);
    const auto dual = std::find_if(records.begin(), records.end(), [&](qint64 rec) {
        return TypeKind(get32(b, rec + msft::typeinfo::Kind) & 0xF) == TypeKind::Dispatch &&
               (get32(b, rec + msft::typeinfo::Flags) & flag::TypeDual);
    });
    ASSERT_NE(dual, records.end());
    put32(b, *dual + msft::typeinfo::Datatype1, quint32(*dual - table));
    const QString e = errorOf(b);
    EXPECT_TRUE(e.contains(QStringLiteral("loops"))) << e.toStdString();
}

// Type infos that all claim the largest member block would multiply the reading work.
TEST(MsftDamage, SharedMemberBlocks) {
    QByteArray b = msftOf(QStringLiteral("mshtml.tlb"));
    const QList<qint64> records = typeInfoRecords(b);
    const qint64 largest =
        *std::max_element(records.begin(), records.end(), [&](qint64 x, qint64 y) {
            return (get32(b, x + msft::typeinfo::Elements) & 0xFFFF) <
                   (get32(b, y + msft::typeinfo::Elements) & 0xFFFF);
        });
    const quint32 counts = get32(b, largest + msft::typeinfo::Elements),
                  block = get32(b, largest + msft::typeinfo::MemberBlock);
    ASSERT_GT(counts & 0xFFFF, 0u);
    for (qint64 rec : records) {
        put32(b, rec + msft::typeinfo::MemberBlock, block);
        put32(b, rec + msft::typeinfo::Elements, counts);
    }
    const QString e = errorOf(b);
    EXPECT_TRUE(e.contains(QStringLiteral("overlap"))) << e.toStdString();
}
