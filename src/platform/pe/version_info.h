#pragma once

#include "platform/pe/pe_resources.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace vantor::pe {

// VS_FIXEDFILEINFO.
struct FixedFileInfo {
    quint32 structVersion = 0;
    quint32 fileVersionMS = 0, fileVersionLS = 0;
    quint32 productVersionMS = 0, productVersionLS = 0;
    quint32 flagsMask = 0, flags = 0;
    quint32 os = 0, fileType = 0, fileSubtype = 0;
    quint32 dateMS = 0, dateLS = 0;

    // "a.b.c.d"
    QString fileVersion() const;
};

// One StringFileInfo table: key is language then code page in hex ("040904B0").
struct StringTable {
    QString key;
    QList<std::pair<QString, QString>> strings;
};

struct VersionInfo {
    std::optional<FixedFileInfo> fixed;
    QList<StringTable> tables;
    QList<quint32> translations; // language in the low 16 bits, code page in the high 16

    // The table of the first translation that has one, else the first table.
    const StringTable* preferredTable() const;
    // A field of the preferred table ("FileVersion", "CompanyName", ...); empty when absent.
    QString value(QStringView field) const;
};

// Parses RT_VERSION data. Throws vantor::Error when a block's length or key runs out of range.
VersionInfo parseVersionInfo(QByteArrayView data);

// The file's version resource (RT_VERSION id 1); nothing when it has none.
std::optional<VersionInfo> versionInfo(const PeResources& resources);

} // namespace vantor::pe
