#include "pe_test_support.h"
#include "platform/pe/icon_group.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace vantor::pe {
namespace {

IconImage image(quint8 size, quint16 bits, quint16 id) {
    IconImage i;
    i.width = i.height = size;
    i.bitCount = bits;
    i.id = id;
    return i;
}

// The image bytes themselves must describe the image the group entry announces: a PNG's IHDR,
// or a DIB whose header has the double height of an icon.
void expectImageMatchesEntry(const IconImage& i, const std::string& where) {
    ASSERT_EQ(quint32(i.data.size()), i.byteSize) << where;
    if (i.data.startsWith("\x89PNG\r\n\x1a\n")) {
        ASSERT_GE(i.data.size(), 24) << where;
        EXPECT_EQ(qFromBigEndian<quint32>(i.data.data() + 16), quint32(i.pixelWidth())) << where;
        EXPECT_EQ(qFromBigEndian<quint32>(i.data.data() + 20), quint32(i.pixelHeight())) << where;
        return;
    }
    ASSERT_GE(i.data.size(), 40) << where;
    EXPECT_EQ(qFromLittleEndian<quint32>(i.data.data()), 40u) << where;
    EXPECT_EQ(qFromLittleEndian<qint32>(i.data.data() + 4), i.pixelWidth()) << where;
    EXPECT_EQ(qFromLittleEndian<qint32>(i.data.data() + 8), 2 * i.pixelHeight()) << where;
    EXPECT_EQ(qFromLittleEndian<quint16>(i.data.data() + 14), i.bitCount) << where;
}

TEST(IconGroup, ReadsTheFirstIconGroupOfEveryWineBinary) {
    int withIcons = 0;
    for (const QString& name : testing::wineBinaries()) {
        const QByteArray bytes = testing::readWineFile(name);
        const PeResources pe(bytes, name);
        const auto group = firstIconGroup(pe);
        EXPECT_EQ(group.has_value(), !pe.names(RtGroupIcon).isEmpty()) << name.toStdString();
        if (!group)
            continue;
        ++withIcons;
        EXPECT_EQ(group->type, 1) << name.toStdString();
        EXPECT_FALSE(group->images.isEmpty()) << name.toStdString();
        for (const IconImage& i : group->images)
            expectImageMatchesEntry(i, name.toStdString() + " #" + std::to_string(i.id));
    }
    EXPECT_GT(withIcons, 0);
}

// The .ico layout, read back independently: each directory entry locates its image's bytes.
TEST(IconGroup, WritesAnIcoFileThatLocatesEveryImage) {
    const QByteArray bytes = testing::readWineFile(QStringLiteral("winemine.exe"));
    const auto group = firstIconGroup(PeResources(bytes));
    ASSERT_TRUE(group.has_value());
    const QByteArray ico = toIcoFile(*group);
    ASSERT_GE(ico.size(), 6);
    EXPECT_EQ(qFromLittleEndian<quint16>(ico.data() + 2), 1);
    const int count = qFromLittleEndian<quint16>(ico.data() + 4);
    ASSERT_EQ(count, group->images.size());
    qsizetype total = 6 + 16 * count;
    for (int n = 0; n < count; ++n) {
        const char* e = ico.constData() + 6 + 16 * n;
        const IconImage& i = group->images[n];
        EXPECT_EQ(quint8(e[0]), i.width);
        EXPECT_EQ(qFromLittleEndian<quint16>(e + 6), i.bitCount);
        const quint32 size = qFromLittleEndian<quint32>(e + 8);
        const quint32 offset = qFromLittleEndian<quint32>(e + 12);
        ASSERT_LE(qsizetype(offset) + size, ico.size());
        EXPECT_EQ(QByteArrayView(ico).sliced(offset, size), i.data);
        total += size;
    }
    EXPECT_EQ(ico.size(), total);
}

TEST(IconGroup, PicksTheSmallIcon) {
    IconGroup group;
    group.images = {image(32, 32, 1), image(16, 4, 2), image(16, 32, 3), image(16, 8, 4)};
    EXPECT_EQ(smallIcon(group)->id, 3);
    group.images = {image(0, 32, 1), image(48, 8, 2), image(32, 4, 3), image(32, 32, 4)};
    EXPECT_EQ(smallIcon(group)->id, 3);
    EXPECT_FALSE(smallIcon(IconGroup{}).has_value());
}

// winemine.exe's group with its first image made missing and its second a repeat of the third.
TEST(IconGroup, DropsMissingAndRepeatedImagesAndRejectsShortGroups) {
    QByteArray bytes = testing::readWineFile(QStringLiteral("winemine.exe"));
    const QByteArrayView group = PeResources(bytes).entries(RtGroupIcon).first().data;
    const auto intact = parseIconGroup(group);
    ASSERT_GE(intact.images.size(), 3);
    const qsizetype at = group.data() - bytes.constData();
    const QByteArray cut = group.toByteArray().chopped(1);
    qToLittleEndian<quint16>(0xFFFF, bytes.data() + at + 6 + 12);
    qToLittleEndian<quint16>(intact.images[2].id, bytes.data() + at + 6 + 14 + 12);
    const auto damaged = firstIconGroup(PeResources(bytes));
    ASSERT_TRUE(damaged.has_value());
    ASSERT_EQ(damaged->images.size(), intact.images.size() - 2);
    EXPECT_EQ(damaged->images[0].id, intact.images[2].id);

    EXPECT_THROW(parseIconGroup(QByteArray(4, '\0')), Error);
    EXPECT_THROW(parseIconGroup(cut), Error);
}

} // namespace
} // namespace vantor::pe
