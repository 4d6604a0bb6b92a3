#include "platform/pe/pe_resources.h"
#include "robustness.h"
#include "text/error.h"
#include "tli/sltg_layout.h"
#include "tli/sltg_reader.h"
#include "tli_test_support.h"

#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::tli;
using namespace vantor::tli::sltg;
using namespace vantor::tli::testing;

namespace {

quint16 get16(const QByteArray& b, qint64 off) {
    return qFromLittleEndian<quint16>(b.constData() + off);
}
void put16(QByteArray& b, qint64 off, quint16 v) {
    qToLittleEndian(v, b.data() + off);
}

// olepro32's SLTG bytes, to damage on purpose.
QByteArray sltgOf() {
    const QByteArray pe =
        readFile(QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/olepro32.dll"));
    const auto blob = pe::PeResources(pe).typelib(1);
    return blob ? blob->toByteArray() : QByteArray();
}

// The offsets of the block entries and of the blocks, in chain order.
struct Chain {
    QList<qint64> entries, blocks;
};
Chain chainOf(const QByteArray& b) {
    const int entries = get16(b, header::BlockCount) - 1;
    qint64 pos = header::Size + block_entry::Size * entries + DirectoryMagicSize +
                 IndexStringSize * (entries - 1) + PaddingSize;
    Chain c;
    for (int order = get16(b, header::FirstBlock) - 1; c.blocks.size() < entries;) {
        const qint64 entry = header::Size + block_entry::Size * order;
        c.entries << entry;
        c.blocks << pos;
        pos += qFromLittleEndian<quint32>(b.constData() + entry + block_entry::Length);
        order = get16(b, entry + block_entry::Next) - 1;
    }
    return c;
}

// The member body and the tail of a type info block.
qint64 bodyOf(const QByteArray& b, qint64 block) {
    return block + qFromLittleEndian<quint32>(b.constData() + block + type_header::ElemTable) +
           member_header::Size;
}
qint64 tailOf(const QByteArray& b, qint64 block) {
    const qint64 body = bodyOf(b, block);
    return body + qFromLittleEndian<quint32>(b.constData() + body - member_header::Size +
                                             member_header::BodyLength);
}

QString errorOf(const QByteArray& bytes) {
    return test::errorText([&] { readSltg(bytes, nullptr); });
}

} // namespace

// Damage a reader must refuse clearly: each case changes one real field.
TEST(SltgDamage, RefusedClearly) {
    const QByteArray good = sltgOf();
    ASSERT_TRUE(good.startsWith("SLTG"));
    ASSERT_TRUE(errorOf(good).isEmpty()) << errorOf(good).toStdString();
    const Chain chain = chainOf(good);
    const qint64 ifont = chain.blocks[24];
    ASSERT_EQ(get16(good, tailOf(good, ifont) + tail::FuncCount), 22);

    const struct {
        const char* what;
        std::function<void(QByteArray&)> damage;
        const char* error;
    } cases[] = {
        {"a chain that loops",
         [&](QByteArray& b) {
             put16(b, chain.entries[3] + block_entry::Next, get16(b, header::FirstBlock));
         },
         "loops"},
        {"more functions than the block holds",
         [&](QByteArray& b) { put16(b, tailOf(b, ifont) + tail::FuncCount, 0xFFFF); },
         "claims more members"},
        {"a return type of pointers to pointers",
         [&](QByteArray& b) {
             const qint64 body = bodyOf(b, ifont);
             const qint64 f = body + get16(b, tailOf(b, ifont) + tail::FuncsOffset);
             b[f + func::ReturnInfo] = char(quint8(b[f + func::ReturnInfo]) & ~func::InlineReturn);
             put16(b, f + func::ReturnType, 0x100);
             for (int k = 0; k < 64; ++k)
                 put16(b, body + 0x100 + 2 * k, vt::Ptr);
         },
         "nests deeper"},
        {"a name table past the end", [&](QByteArray& b) { b.truncate(b.size() - 2000); },
         "leaves the data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray b = good;
        c.damage(b);
        const QString e = errorOf(b);
        EXPECT_TRUE(e.contains(QLatin1String(c.error))) << e.toStdString();
    }
}

// A sample of robust-tli's sweep over both SLTG files: a model or an error naming the fault.
TEST(SltgDamage, DamagedCopiesGiveAModelOrAClearError) {
    for (const char* file : {"olepro32.dll", "XL5EN32.OLB"}) {
        const ShakeReport r =
            shakeLibrary(QStringLiteral(VANTOR_TESTDATA_DIR "/windows-built/") + file, {16, 200, 1},
                         &indexLibraries());
        EXPECT_TRUE(r.unclearErrors.isEmpty()) << r.unclearErrors.value(0).toStdString();
        EXPECT_GT(r.models, 0) << file;
        EXPECT_GT(r.errors, 0) << file;
    }
}
