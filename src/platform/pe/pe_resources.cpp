#include "platform/pe/pe_resources.h"

#include "text/error.h"

#include <algorithm>

namespace vantor::pe {

namespace {

constexpr quint16 kPe32Magic = 0x010B;
constexpr quint16 kPe32PlusMagic = 0x020B;
constexpr quint32 kSectionHeaderSize = 40;
constexpr quint32 kDirectoryHeaderSize = 16;
constexpr quint32 kDirEntrySize = 8;
constexpr quint32 kDataEntrySize = 16;
constexpr quint32 kHighBit = 0x80000000u;
constexpr int kResourceDirectoryIndex = 2;

const QString& typelibType() {
    static const QString name = QStringLiteral("TYPELIB");
    return name;
}

} // namespace

PeResources::PeResources(QByteArrayView file, QString fileName)
    : file_(file), fileName_(std::move(fileName)) {
    if (file_.size() < 0x40 || file.at(0) != 'M' || file.at(1) != 'Z')
        fail(QStringLiteral("no MZ header"));
    const quint32 nt = *file_.u32(0x3C);
    const auto signature = file_.u32(nt);
    if (!signature || *signature != 0x00004550u)
        fail(QStringLiteral("no PE signature at the offset the MZ header names"));

    const quint64 coff = quint64(nt) + 4;
    if (!file_.contains(coff, 20))
        fail(QStringLiteral("the COFF header runs past the end of the file"));
    machine_ = *file_.u16(coff);
    const quint16 sectionCount = *file_.u16(coff + 2);
    const quint16 optionalSize = *file_.u16(coff + 16);

    const quint64 oh = coff + 20;
    if (!file_.contains(oh, optionalSize))
        fail(QStringLiteral("the optional header runs past the end of the file"));
    const auto magic = file_.u16(oh);
    if (optionalSize < 2 || (*magic != kPe32Magic && *magic != kPe32PlusMagic))
        fail(QStringLiteral("unknown optional header magic"));
    pe32Plus_ = *magic == kPe32PlusMagic;

    const quint64 sectionTable = oh + optionalSize;
    if (!file_.contains(sectionTable, quint64(sectionCount) * kSectionHeaderSize))
        fail(QStringLiteral("the section table runs past the end of the file"));
    sections_.reserve(sectionCount);
    for (quint32 i = 0; i < sectionCount; ++i) {
        const quint64 at = sectionTable + quint64(i) * kSectionHeaderSize;
        sections_.append(
            {*file_.u32(at + 12), *file_.u32(at + 8), *file_.u32(at + 16), *file_.u32(at + 20)});
    }

    // The data directories live inside the optional header; SizeOfOptionalHeader bounds them.
    const quint32 countField = pe32Plus_ ? 108 : 92;
    const quint32 directories = pe32Plus_ ? 112 : 96;
    if (optionalSize < countField + 4)
        return;
    const quint32 directoryCount = *file_.u32(oh + countField);
    const quint64 resourceDir = directories + quint64(kResourceDirectoryIndex) * 8;
    if (directoryCount <= kResourceDirectoryIndex || optionalSize < resourceDir + 8)
        return;
    const quint32 rva = *file_.u32(oh + resourceDir);
    if (rva == 0)
        return;

    const auto base = rvaToOffset(rva, kDirectoryHeaderSize);
    if (!base)
        fail(QStringLiteral("the resource directory lies outside the file's sections"));
    // Tree offsets may reach anywhere in the raw data of the section holding the directory.
    const Section* section = sectionOf(rva);
    const quint64 end =
        std::min(quint64(file_.size()), quint64(section->rawPointer) + section->rawSize);
    tree_ = ByteReader(*file_.slice(*base, end - *base));
    hasTree_ = true;
    readDirectory(0, {});
}

void PeResources::fail(const QString& what) const {
    QString description = QStringLiteral("Invalid PE file: ") + what;
    if (!fileName_.isEmpty())
        description = fileName_ + QStringLiteral(": ") + description;
    throw Error(Error::InvalidCall, QStringLiteral("PeResources"), description);
}

Error PeResources::named(const Error& error) const {
    if (fileName_.isEmpty())
        return error;
    return Error(error.number(), error.source(),
                 fileName_ + QStringLiteral(": ") + error.description());
}

const PeResources::Section* PeResources::sectionOf(quint32 rva) const {
    for (const Section& s : sections_) {
        const quint32 extent = std::max(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent)
            return &s;
    }
    return nullptr;
}

std::optional<quint64> PeResources::rvaToOffset(quint32 rva, quint32 size) const {
    const Section* s = sectionOf(rva);
    if (!s)
        return std::nullopt;
    // Bytes past the raw data are zero-filled at load time and not in the file.
    const quint64 inSection = rva - s->virtualAddress;
    if (inSection + size > s->rawSize)
        return std::nullopt;
    const quint64 offset = quint64(s->rawPointer) + inSection;
    if (!file_.contains(offset, size))
        return std::nullopt;
    return offset;
}

QList<PeResources::DirEntry> PeResources::readDirectory(quint32 offset,
                                                        const QList<quint32>& ancestors) const {
    if (ancestors.contains(offset))
        fail(QStringLiteral("the resource directory loops back to itself"));
    if (!tree_.contains(offset, kDirectoryHeaderSize))
        fail(QStringLiteral("a resource directory lies past the end of the section"));
    const quint32 count = quint32(*tree_.u16(offset + 12)) + *tree_.u16(offset + 14);
    const quint64 first = quint64(offset) + kDirectoryHeaderSize;
    if (!tree_.contains(first, quint64(count) * kDirEntrySize))
        fail(QStringLiteral("resource directory entries run past the end of the section"));

    QList<DirEntry> entries;
    entries.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint64 at = first + quint64(i) * kDirEntrySize;
        const quint32 name = *tree_.u32(at);
        const quint32 target = *tree_.u32(at + 4);
        entries.append({(name & kHighBit) ? readName(name & ~kHighBit) : ResourceKey(quint16(name)),
                        target & ~kHighBit, (target & kHighBit) != 0});
    }
    return entries;
}

ResourceKey PeResources::readName(quint32 offset) const {
    const auto length = tree_.u16(offset);
    if (!length || !tree_.contains(quint64(offset) + 2, quint64(*length) * 2))
        fail(QStringLiteral("a resource name lies past the end of the section"));
    QString name(*length, Qt::Uninitialized);
    for (quint16 i = 0; i < *length; ++i)
        name[i] = QChar(*tree_.u16(quint64(offset) + 2 + quint64(i) * 2));
    return ResourceKey(std::move(name));
}

std::optional<PeResources::DirEntry> PeResources::lookup(quint32 dirOffset, const ResourceKey& key,
                                                         const QList<quint32>& ancestors) const {
    for (const DirEntry& e : readDirectory(dirOffset, ancestors)) {
        if (e.key.matches(key))
            return e;
    }
    return std::nullopt;
}

ResourceEntry PeResources::readData(const DirEntry& leaf, const ResourceKey& type,
                                    const ResourceKey& name) const {
    const QString which = type.toString() + QLatin1Char('/') + name.toString();
    if (leaf.isDirectory)
        fail(QStringLiteral("resource %1 is nested deeper than three levels").arg(which));
    if (!tree_.contains(leaf.offset, kDataEntrySize))
        fail(QStringLiteral("the data entry of resource %1 lies past the end of the section")
                 .arg(which));
    const quint32 rva = *tree_.u32(leaf.offset);
    const quint32 size = *tree_.u32(leaf.offset + 4);
    const auto offset = rvaToOffset(rva, size);
    if (!offset)
        fail(QStringLiteral("the data of resource %1 lies outside the file").arg(which));
    return {type, name, leaf.key.id(), *tree_.u32(leaf.offset + 8), *file_.slice(*offset, size)};
}

QList<ResourceKey> PeResources::types() const {
    QList<ResourceKey> keys;
    if (!hasTree_)
        return keys;
    for (const DirEntry& e : readDirectory(0, {}))
        keys.append(e.key);
    return keys;
}

QList<ResourceKey> PeResources::names(const ResourceKey& type) const {
    QList<ResourceKey> keys;
    if (!hasTree_)
        return keys;
    const auto typeDir = lookup(0, type, {});
    if (!typeDir)
        return keys;
    if (!typeDir->isDirectory)
        fail(QStringLiteral("resource type %1 is not a directory").arg(type.toString()));
    for (const DirEntry& e : readDirectory(typeDir->offset, {0}))
        keys.append(e.key);
    return keys;
}

std::optional<QByteArrayView> PeResources::find(const ResourceKey& type,
                                                const ResourceKey& name) const {
    if (!hasTree_)
        return std::nullopt;
    const auto typeDir = lookup(0, type, {});
    if (!typeDir)
        return std::nullopt;
    if (!typeDir->isDirectory)
        fail(QStringLiteral("resource type %1 is not a directory").arg(type.toString()));
    const auto nameDir = lookup(typeDir->offset, name, {0});
    if (!nameDir)
        return std::nullopt;
    if (!nameDir->isDirectory)
        fail(QStringLiteral("resource %1/%2 is not a directory")
                 .arg(type.toString(), name.toString()));
    const QList<DirEntry> languages = readDirectory(nameDir->offset, {0, typeDir->offset});
    if (languages.isEmpty())
        return std::nullopt;
    return readData(languages.first(), type, name).data;
}

QList<ResourceEntry> PeResources::entries() const {
    QList<ResourceEntry> all;
    if (!hasTree_)
        return all;
    for (const DirEntry& type : readDirectory(0, {})) {
        if (!type.isDirectory)
            fail(QStringLiteral("resource type %1 is not a directory").arg(type.key.toString()));
        for (const DirEntry& name : readDirectory(type.offset, {0})) {
            if (!name.isDirectory)
                fail(QStringLiteral("resource %1/%2 is not a directory")
                         .arg(type.key.toString(), name.key.toString()));
            for (const DirEntry& language : readDirectory(name.offset, {0, type.offset}))
                all.append(readData(language, type.key, name.key));
        }
    }
    return all;
}

QList<quint16> PeResources::typelibIds() const {
    QList<quint16> ids;
    for (const ResourceKey& key : names(typelibType())) {
        if (key.isId())
            ids.append(key.id());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::optional<QByteArrayView> PeResources::typelib(quint16 id) const {
    return find(typelibType(), id);
}

} // namespace vantor::pe
