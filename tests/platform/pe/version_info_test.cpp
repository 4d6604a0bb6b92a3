#include "pe_test_support.h"
#include "platform/pe/version_info.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

using vantor::test::utf16z;

void pad4(QByteArray& b) {
    b.resize((b.size() + 3) & ~3, '\0');
}

// One version block as writers lay it out; `valueLength` is stored as given.
QByteArray block(const QString& key, quint16 type, const QByteArray& value, quint16 valueLength,
                 const QList<QByteArray>& children = {}) {
    QByteArray b(6, '\0');
    b.append(utf16z(key));
    pad4(b);
    b.append(value);
    for (const QByteArray& child : children) {
        pad4(b);
        b.append(child);
    }
    qToLittleEndian<quint16>(quint16(b.size()), b.data());
    qToLittleEndian<quint16>(valueLength, b.data() + 2);
    qToLittleEndian<quint16>(type, b.data() + 4);
    return b;
}

QByteArray text(const QString& key, const QString& value) {
    const QByteArray v = utf16z(value);
    return block(key, 1, v, quint16(v.size() / 2));
}

QByteArray translation(quint16 language, quint16 codePage) {
    QByteArray v(4, '\0');
    qToLittleEndian<quint32>(quint32(codePage) << 16 | language, v.data());
    return block(QStringLiteral("VarFileInfo"), 1, {}, 0,
                 {block(QStringLiteral("Translation"), 0, v, 4)});
}

QByteArray root(const QList<QByteArray>& children) {
    QByteArray fixed(52, '\0');
    qToLittleEndian<quint32>(0xFEEF04BDu, fixed.data());
    qToLittleEndian<quint32>(0x00050008, fixed.data() + 8);
    qToLittleEndian<quint32>(0x1DB10001, fixed.data() + 12);
    return block(QStringLiteral("VS_VERSION_INFO"), 0, fixed, 52, children);
}

// Across Wine's binaries: a version resource is found exactly where the file holds the root
// key, and every decoded string is text that the file really holds; vbscript's as documented.
TEST(VersionInfo, ReadsEveryWineVersionResource) {
    const QByteArray rootKey = utf16z(QStringLiteral("VS_VERSION_INFO")).chopped(2);
    int withVersion = 0;
    for (const QString& name : testing::wineBinaries()) {
        const QByteArray bytes = testing::readWineFile(name);
        const auto info = versionInfo(PeResources(bytes, name));
        EXPECT_EQ(info.has_value(), bytes.contains(rootKey)) << name.toStdString();
        if (!info)
            continue;
        ++withVersion;
        EXPECT_TRUE(info->fixed.has_value()) << name.toStdString();
        ASSERT_FALSE(info->tables.isEmpty()) << name.toStdString();
        for (const StringTable& table : info->tables) {
            EXPECT_EQ(table.key.size(), 8) << name.toStdString();
            for (const auto& [key, value] : table.strings) {
                EXPECT_TRUE(bytes.contains(utf16z(key))) << name.toStdString();
                EXPECT_TRUE(bytes.contains(utf16z(value)))
                    << name.toStdString() << " " << key.toStdString();
            }
        }
    }
    EXPECT_GT(withVersion, 100);
    const auto vbscript = versionInfo(PeResources(testing::readWineFile("vbscript.dll")));
    ASSERT_TRUE(vbscript && vbscript->fixed);
    EXPECT_EQ(vbscript->value(u"companyname"), u"Microsoft Corporation");
    EXPECT_EQ(vbscript->translations, QList<quint32>{0x04B00409u});
    EXPECT_EQ(vbscript->fixed->fileVersion(), u"5.8.7601.16978");
}

// Text values run to their block's end, whatever length they state: writers differ on whether
// it counts bytes or units.
TEST(VersionInfo, ChoosesTheTableOfTheTranslationAndReadsTextToTheBlockEnd) {
    QByteArray byteCounted = text("CompanyName", "Acme");
    qToLittleEndian<quint16>(10, byteCounted.data() + 2);
    QByteArray empty = text("Comments", "");
    qToLittleEndian<quint16>(0, empty.data() + 2);
    const QByteArray strings =
        block(QStringLiteral("StringFileInfo"), 1, {}, 0,
              {block(QStringLiteral("040704b0"), 1, {}, 0, {text("FileVersion", "german")}),
               block(QStringLiteral("040904B0"), 1, {}, 0,
                     {text("FileVersion", "english"), byteCounted, empty})});
    const VersionInfo chosen = parseVersionInfo(root({strings, translation(0x0409, 1200)}));
    EXPECT_EQ(chosen.value(u"FileVersion"), u"english");
    EXPECT_EQ(chosen.value(u"CompanyName"), u"Acme");
    EXPECT_EQ(chosen.value(u"Comments"), u"");
    EXPECT_EQ(chosen.tables[1].strings.size(), 3);
    EXPECT_EQ(chosen.fixed->fileVersion(), u"5.8.7601.1");
    const VersionInfo lowerCase = parseVersionInfo(root({strings, translation(0x0407, 1200)}));
    EXPECT_EQ(lowerCase.value(u"FileVersion"), u"german");
    const VersionInfo fallback = parseVersionInfo(root({strings, translation(0x0411, 932)}));
    EXPECT_EQ(fallback.value(u"FileVersion"), u"german");
    EXPECT_EQ(fallback.value(u"CompanyName"), QString());
}

TEST(VersionInfo, RejectsBlocksThatCannotBeWalked) {
    const QByteArray good =
        root({block(QStringLiteral("StringFileInfo"), 1, {}, 0,
                    {block(QStringLiteral("040904B0"), 1, {}, 0, {text("FileVersion", "1.0")})})});
    const qsizetype inner = good.indexOf(utf16z(QStringLiteral("FileVersion"))) - 6;
    const QList<std::pair<qsizetype, quint16>> cases = {
        {0, 0},            // root length 0
        {0, 4},            // shorter than a header
        {0, 0xFFFF},       // past the data
        {inner, 0},        // a child that never advances
        {inner, 0x4000},   // a child past its parent
        {inner + 2, 0x400} // binary value past its block (type set below)
    };
    for (const auto& [at, value] : cases) {
        QByteArray bytes = good;
        qToLittleEndian<quint16>(value, bytes.data() + at);
        if (at == inner + 2)
            bytes[inner + 4] = 0;
        EXPECT_THROW(parseVersionInfo(bytes), Error) << at << " " << value;
    }
    QByteArray unterminated = good.first(40);
    qToLittleEndian<quint16>(40, unterminated.data());
    for (qsizetype i = 6; i < 40; ++i)
        unterminated[i] = 'A';
    EXPECT_THROW(parseVersionInfo(unterminated), Error);
    EXPECT_THROW(parseVersionInfo(block(QStringLiteral("OTHER"), 0, {}, 0)), Error);
    EXPECT_NO_THROW(parseVersionInfo(good));
}

} // namespace
} // namespace vantor::pe
