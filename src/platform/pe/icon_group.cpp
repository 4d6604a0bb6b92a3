#include "platform/pe/icon_group.h"

#include "platform/pe/byte_reader.h"
#include "text/error.h"

#include <QHash>
#include <QtEndian>

namespace vantor::pe {

namespace {

constexpr quint32 kGroupHeaderSize = 6;
constexpr quint32 kGroupEntrySize = 14;
constexpr quint32 kIcoEntrySize = 16;

void appendU16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendU32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

IconGroup parseIconGroup(QByteArrayView bytes) {
    const ByteReader r(bytes);
    if (!r.contains(0, kGroupHeaderSize))
        throw Error(Error::InvalidCall, QStringLiteral("parseIconGroup"),
                    QStringLiteral("Invalid icon group: shorter than its header"));
    IconGroup group;
    group.type = *r.u16(2);
    const quint16 count = *r.u16(4);
    if (!r.contains(kGroupHeaderSize, quint64(count) * kGroupEntrySize))
        throw Error(Error::InvalidCall, QStringLiteral("parseIconGroup"),
                    QStringLiteral("Invalid icon group: %1 entries run past its end").arg(count));
    group.images.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint64 at = kGroupHeaderSize + quint64(i) * kGroupEntrySize;
        IconImage image;
        image.width = *r.u8(at);
        image.height = *r.u8(at + 1);
        image.colorCount = *r.u8(at + 2);
        image.planes = *r.u16(at + 4);
        image.bitCount = *r.u16(at + 6);
        image.byteSize = *r.u32(at + 8);
        image.id = *r.u16(at + 12);
        group.images.append(image);
    }
    return group;
}

std::optional<IconGroup> firstIconGroup(const PeResources& resources) {
    const QList<ResourceKey> groups = resources.names(RtGroupIcon);
    if (groups.isEmpty())
        return std::nullopt;
    const auto bytes = resources.find(RtGroupIcon, groups.first());
    if (!bytes)
        return std::nullopt;
    IconGroup group;
    try {
        group = parseIconGroup(*bytes);
    } catch (const Error& e) {
        throw resources.named(e);
    }
    // One walk over the images, whatever the group's size.
    QHash<quint16, QByteArrayView> icons;
    for (const ResourceEntry& e : resources.entries(RtIcon)) {
        if (e.name.isId() && !icons.contains(e.name.id()))
            icons.insert(e.name.id(), e.data);
    }
    QList<IconImage> present;
    for (IconImage& image : group.images) {
        // Each image once: a group repeating an id could otherwise make an .ico of any size.
        const auto data = icons.find(image.id);
        if (data == icons.end())
            continue;
        image.data = *data;
        present.append(image);
        icons.erase(data);
    }
    group.images = present;
    return group;
}

std::optional<IconImage> smallIcon(const IconGroup& group) {
    const IconImage* best = nullptr;
    for (const IconImage& image : group.images) {
        if (image.pixelWidth() == 16 && (!best || image.bitCount > best->bitCount))
            best = &image;
    }
    if (best)
        return *best;
    for (const IconImage& image : group.images) {
        if (!best ||
            image.pixelWidth() * image.pixelHeight() < best->pixelWidth() * best->pixelHeight())
            best = &image;
    }
    return best ? std::optional<IconImage>(*best) : std::nullopt;
}

QByteArray toIcoFile(const IconGroup& group) {
    QByteArray out;
    appendU16(out, 0);
    appendU16(out, group.type);
    appendU16(out, quint16(group.images.size()));
    quint32 offset = kGroupHeaderSize + quint32(group.images.size()) * kIcoEntrySize;
    for (const IconImage& image : group.images) {
        out.append(char(image.width));
        out.append(char(image.height));
        out.append(char(image.colorCount));
        out.append(char(0));
        appendU16(out, image.planes);
        appendU16(out, image.bitCount);
        // The directory states the size of the bytes written, not what the group claimed.
        appendU32(out, quint32(image.data.size()));
        appendU32(out, offset);
        offset += quint32(image.data.size());
    }
    for (const IconImage& image : group.images)
        out.append(image.data);
    return out;
}

} // namespace vantor::pe
