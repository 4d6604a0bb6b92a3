#pragma once

#include "platform/pe/pe_resources.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

namespace vantor::pe {

// One image of an icon group, with its RT_ICON bytes (a PNG stream or a DIB).
struct IconImage {
    quint8 width = 0; // 0 means 256
    quint8 height = 0;
    quint8 colorCount = 0;
    quint16 planes = 0;
    quint16 bitCount = 0;
    quint32 byteSize = 0; // as the group states it
    quint16 id = 0;       // RT_ICON id
    QByteArrayView data;

    int pixelWidth() const { return width ? width : 256; }
    int pixelHeight() const { return height ? height : 256; }
};

struct IconGroup {
    quint16 type = 1; // 1 icon, 2 cursor
    QList<IconImage> images;
};

// Parses RT_GROUP_ICON data; images carry no bytes yet. Throws vantor::Error when the group is
// cut short.
IconGroup parseIconGroup(QByteArrayView group);

// The file's first icon group (the one a file icon shows), each image with its bytes; images
// whose RT_ICON resource is missing, and repeats of an image, are left out. Nothing when the file
// has no icon group.
std::optional<IconGroup> firstIconGroup(const PeResources& resources);

// The image for a small (16-pixel) icon: width 16 with the most bits per pixel, otherwise the
// smallest image. Nothing for an empty group.
std::optional<IconImage> smallIcon(const IconGroup& group);

// The group as the bytes of an .ico file.
QByteArray toIcoFile(const IconGroup& group);

} // namespace vantor::pe
