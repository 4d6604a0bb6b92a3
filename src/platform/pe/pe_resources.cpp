#include "platform/pe/pe_resources.h"

#include "platform/pe/pe_layout.h"
#include "text/error.h"
#include "text/text_order.h"

#include <algorithm>

namespace vantor::pe {

namespace {

using namespace layout;
constexpr quint32 kHighBit = resourceEntry::HighBit;

const QString& typelibType() {
    static const QString name = QStringLiteral("TYPELIB");
    return name;
}

} // namespace

PeResources::PeResources(QByteArrayView file, QString fileName)
    : file_(file), fileName_(std::move(fileName)) {
    if (file_.size() < qsizetype(mz::Size) || file.at(0) != 'M' || file.at(1) != 'Z')
        fail(QStringLiteral("no MZ header"));
    const quint32 nt = *file_.u32(mz::NtOffset);
    const auto signature = file_.u32(nt);
    if (!signature || *signature != PeSignature)
        fail(QStringLiteral("no PE signature at the offset the MZ header names"));

    const quint64 coffHeader = quint64(nt) + coff::At;
    if (!file_.contains(coffHeader, coff::Size))
        fail(QStringLiteral("the COFF header runs past the end of the file"));
    const quint16 sectionCount = *file_.u16(coffHeader + coff::SectionCount);
    const quint16 optionalSize = *file_.u16(coffHeader + coff::OptionalHeaderSize);

    const quint64 oh = coffHeader + coff::Size;
    if (!file_.contains(oh, optionalSize))
        fail(QStringLiteral("the optional header runs past the end of the file"));
    const auto magic = file_.u16(oh + optional::Magic);
    if (optionalSize < 2 || (*magic != optional::Pe32Magic && *magic != optional::Pe32PlusMagic))
        fail(QStringLiteral("unknown optional header magic"));
    pe32Plus_ = *magic == optional::Pe32PlusMagic;

    const quint64 sectionTable = oh + optionalSize;
    if (!file_.contains(sectionTable, quint64(sectionCount) * section::Size))
        fail(QStringLiteral("the section table runs past the end of the file"));
    sections_.reserve(sectionCount);
    for (quint32 i = 0; i < sectionCount; ++i) {
        const quint64 at = sectionTable + quint64(i) * section::Size;
        sections_.append({*file_.u32(at + section::VirtualAddress),
                          *file_.u32(at + section::VirtualSize), *file_.u32(at + section::RawSize),
                          *file_.u32(at + section::RawPointer)});
    }

    // The data directories live inside the optional header; SizeOfOptionalHeader bounds them.
    const quint32 countField = optional::directoryCount(pe32Plus_);
    if (optionalSize < countField + 4)
        return;
    const quint32 directoryCount = *file_.u32(oh + countField);
    const quint64 resourceDir = optional::directories(pe32Plus_) +
                                quint64(optional::ResourceDirectory) * optional::DirectorySize;
    if (directoryCount <= optional::ResourceDirectory ||
        optionalSize < resourceDir + optional::DirectorySize)
        return;
    const quint32 rva = *file_.u32(oh + resourceDir);
    if (rva == 0)
        return;

    const auto base = rvaToOffset(rva, resourceDirectory::Size);
    if (!base)
        fail(QStringLiteral("the resource directory lies outside the file's sections"));
    // Tree offsets may reach anywhere in the raw data of the section holding the directory.
    const Section* section = sectionOf(rva);
    const quint64 end =
        std::min(quint64(file_.size()), quint64(section->rawPointer) + section->rawSize);
    tree_ = ByteReader(*file_.slice(*base, end - *base));
    hasTree_ = true;
    QSet<quint32> seen;
    readDirectory(0, seen);
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

QList<PeResources::DirEntry> PeResources::readDirectory(quint32 offset, QSet<quint32>& seen) const {
    if (seen.contains(offset))
        fail(QStringLiteral("the resource directory loops: a directory is reached twice"));
    seen.insert(offset);
    if (!tree_.contains(offset, resourceDirectory::Size))
        fail(QStringLiteral("a resource directory lies past the end of the section"));
    const quint32 count = quint32(*tree_.u16(offset + resourceDirectory::NamedCount)) +
                          *tree_.u16(offset + resourceDirectory::IdCount);
    const quint64 first = quint64(offset) + resourceDirectory::Size;
    if (!tree_.contains(first, quint64(count) * resourceEntry::Size))
        fail(QStringLiteral("resource directory entries run past the end of the section"));

    QList<DirEntry> entries;
    entries.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint64 at = first + quint64(i) * resourceEntry::Size;
        const quint32 name = *tree_.u32(at + resourceEntry::Name);
        const quint32 target = *tree_.u32(at + resourceEntry::Target);
        entries.append({name & ~kHighBit, target & ~kHighBit, (name & kHighBit) != 0,
                        (target & kHighBit) != 0});
    }
    return entries;
}

quint16 PeResources::nameLength(quint32 offset) const {
    const auto length = tree_.u16(offset + resourceName::Length);
    if (!length || !tree_.contains(quint64(offset) + resourceName::Text, quint64(*length) * 2))
        fail(QStringLiteral("a resource name lies past the end of the section"));
    return *length;
}

bool PeResources::matches(const DirEntry& entry, const ResourceKey& key) const {
    if (!entry.named)
        return key.isId() && key.id() == quint16(entry.name);
    if (key.isId())
        return false;
    // Compared in place: a lookup decodes no names.
    const quint16 length = nameLength(entry.name);
    if (length != key.name().size())
        return false;
    for (quint16 i = 0; i < length; ++i) {
        const char16_t unit = *tree_.u16(quint64(entry.name) + resourceName::Text + quint64(i) * 2);
        if (foldCase(unit) != foldCase(key.name().at(i).unicode()))
            return false;
    }
    return true;
}

ResourceKey PeResources::keyOf(const DirEntry& entry, qint64& budget) const {
    if (!entry.named)
        return ResourceKey(quint16(entry.name));
    const quint16 length = nameLength(entry.name);
    budget -= 2 + qint64(length) * 2;
    if (budget < 0)
        fail(QStringLiteral("resource names overlap"));
    QString name(length, Qt::Uninitialized);
    for (quint16 i = 0; i < length; ++i)
        name[i] = QChar(*tree_.u16(quint64(entry.name) + resourceName::Text + quint64(i) * 2));
    return ResourceKey(std::move(name));
}

std::optional<PeResources::DirEntry> PeResources::lookup(quint32 directory, const ResourceKey& key,
                                                         QSet<quint32>& seen) const {
    for (const DirEntry& e : readDirectory(directory, seen)) {
        if (matches(e, key))
            return e;
    }
    return std::nullopt;
}

quint32 PeResources::subdirectory(const DirEntry& entry, const QString& which) const {
    if (!entry.isDirectory)
        fail(QStringLiteral("resource %1 is not a directory").arg(which));
    return entry.target;
}

ResourceEntry PeResources::readData(const DirEntry& leaf, const ResourceKey& type,
                                    const ResourceKey& name) const {
    const QString which = type.toString() + QLatin1Char('/') + name.toString();
    if (leaf.isDirectory)
        fail(QStringLiteral("resource %1 is nested deeper than three levels").arg(which));
    if (!tree_.contains(leaf.target, dataEntry::Size))
        fail(QStringLiteral("the data entry of resource %1 lies past the end of the section")
                 .arg(which));
    const quint32 rva = *tree_.u32(leaf.target + dataEntry::Rva);
    const quint32 size = *tree_.u32(leaf.target + dataEntry::DataSize);
    const auto offset = rvaToOffset(rva, size);
    if (!offset)
        fail(QStringLiteral("the data of resource %1 lies outside the file").arg(which));
    const quint16 language = leaf.named ? 0 : quint16(leaf.name);
    return {type, name, language, *tree_.u32(leaf.target + dataEntry::CodePage),
            *file_.slice(*offset, size)};
}

QList<ResourceKey> PeResources::types() const {
    QList<ResourceKey> keys;
    if (!hasTree_)
        return keys;
    QSet<quint32> seen;
    qint64 budget = tree_.size();
    for (const DirEntry& e : readDirectory(0, seen))
        keys.append(keyOf(e, budget));
    return keys;
}

QList<ResourceKey> PeResources::names(const ResourceKey& type) const {
    QList<ResourceKey> keys;
    if (!hasTree_)
        return keys;
    QSet<quint32> seen;
    const auto typeDir = lookup(0, type, seen);
    if (!typeDir)
        return keys;
    qint64 budget = tree_.size();
    for (const DirEntry& e : readDirectory(subdirectory(*typeDir, type.toString()), seen))
        keys.append(keyOf(e, budget));
    return keys;
}

std::optional<QByteArrayView> PeResources::find(const ResourceKey& type,
                                                const ResourceKey& name) const {
    if (!hasTree_)
        return std::nullopt;
    QSet<quint32> seen;
    const auto typeDir = lookup(0, type, seen);
    if (!typeDir)
        return std::nullopt;
    const auto nameDir = lookup(subdirectory(*typeDir, type.toString()), name, seen);
    if (!nameDir)
        return std::nullopt;
    const QList<DirEntry> languages = readDirectory(
        subdirectory(*nameDir, type.toString() + QLatin1Char('/') + name.toString()), seen);
    if (languages.isEmpty())
        return std::nullopt;
    return readData(languages.first(), type, name).data;
}

void PeResources::collect(const DirEntry& type, const ResourceKey& typeKey, QSet<quint32>& seen,
                          qint64& budget, QList<ResourceEntry>& out) const {
    for (const DirEntry& name : readDirectory(subdirectory(type, typeKey.toString()), seen)) {
        const ResourceKey nameKey = keyOf(name, budget);
        const QString which = typeKey.toString() + QLatin1Char('/') + nameKey.toString();
        for (const DirEntry& language : readDirectory(subdirectory(name, which), seen))
            out.append(readData(language, typeKey, nameKey));
    }
}

QList<ResourceEntry> PeResources::entries() const {
    QList<ResourceEntry> all;
    if (!hasTree_)
        return all;
    QSet<quint32> seen;
    qint64 budget = tree_.size();
    for (const DirEntry& type : readDirectory(0, seen))
        collect(type, keyOf(type, budget), seen, budget, all);
    return all;
}

QList<ResourceEntry> PeResources::entries(const ResourceKey& type) const {
    QList<ResourceEntry> all;
    if (!hasTree_)
        return all;
    QSet<quint32> seen;
    qint64 budget = tree_.size();
    if (const auto typeDir = lookup(0, type, seen))
        collect(*typeDir, type, seen, budget, all);
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
