#include "platform/pe/pe_resources.h"
#include "text/error.h"
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
    const qint64 offsets = 0x54 + ((get32(b, 0x14) & 0x100) ? 4 : 0);
    return offsets + 4 * qint64(get32(b, 0x20)) + 16 * s;
}

QString errorOf(const QByteArray& bytes) {
    try {
        readTypeLib(bytes, std::nullopt, &indexLibraries(), QStringLiteral("damaged.tlb"));
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

} // namespace

TEST(MsftDamage, HeaderAndTables) {
    const QByteArray good = msftOf(QStringLiteral("stdole2.tlb"));
    ASSERT_TRUE(good.startsWith("MSFT"));
    EXPECT_TRUE(errorOf(good).isEmpty());

    QByteArray many = good;
    put32(many, 0x20, 0x10000);
    EXPECT_EQ(errorOf(many), QStringLiteral("damaged.tlb: the header claims 65536 type infos"));

    QByteArray outside = good;
    put32(outside, segmentEntry(outside, 7), quint32(good.size() - 8)); // the name table
    EXPECT_TRUE(errorOf(outside).contains(QStringLiteral("runs past the end of the data")));

    EXPECT_TRUE(errorOf(good.first(0x40)).contains(QStringLiteral("leaves the data")));
}

// A pointer type that points at itself would recurse for ever.
TEST(MsftDamage, SelfReferentialTypeDescriptor) {
    QByteArray b = msftOf(QStringLiteral("stdole2.tlb"));
    const qint64 entry = segmentEntry(b, 9); // TypeDescTab
    const quint32 start = get32(b, entry), length = get32(b, entry + 4);
    bool patched = false;
    for (quint32 off = 0; off + 8 <= length && !patched; off += 8)
        if ((get32(b, start + off) & 0xFFFF) == 26) { // VT_PTR
            put32(b, start + off + 4, off);
            patched = true;
        }
    ASSERT_TRUE(patched);
    EXPECT_TRUE(errorOf(b).contains(QStringLiteral("nest deeper"))) << errorOf(b).toStdString();
}

// A dual interface that names itself as its base.
TEST(MsftDamage, InheritanceLoop) {
    QByteArray b = msftOf(QStringLiteral("wshom.ocx"));
    const qint64 tab = get32(b, segmentEntry(b, 0));
    const qint64 offsets = 0x54 + ((get32(b, 0x14) & 0x100) ? 4 : 0);
    bool patched = false;
    for (quint32 i = 0; i < get32(b, 0x20) && !patched; ++i) {
        const quint32 rel = get32(b, offsets + 4 * i);
        const qint64 rec = tab + rel;
        if ((get32(b, rec) & 0xF) == 4 && (get32(b, rec + 0x30) & 0x40)) {
            put32(b, rec + 0x54, rel);
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_TRUE(errorOf(b).contains(QStringLiteral("loops"))) << errorOf(b).toStdString();
}

// Type infos that all claim the largest member block would multiply the reading work.
TEST(MsftDamage, SharedMemberBlocks) {
    QByteArray b = msftOf(QStringLiteral("mshtml.tlb"));
    const qint64 tab = get32(b, segmentEntry(b, 0));
    const qint64 offsets = 0x54 + ((get32(b, 0x14) & 0x100) ? 4 : 0);
    const quint32 count = get32(b, 0x20);
    quint32 largest = 0, block = 0;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 rec = tab + get32(b, offsets + 4 * i);
        if ((get32(b, rec + 0x18) & 0xFFFF) > (largest & 0xFFFF)) {
            largest = get32(b, rec + 0x18);
            block = get32(b, rec + 4);
        }
    }
    ASSERT_GT(largest & 0xFFFF, 0u);
    for (quint32 i = 0; i < count; ++i) {
        const qint64 rec = tab + get32(b, offsets + 4 * i);
        put32(b, rec + 4, block);
        put32(b, rec + 0x18, largest);
    }
    EXPECT_TRUE(errorOf(b).contains(QStringLiteral("overlap"))) << errorOf(b).toStdString();
}
