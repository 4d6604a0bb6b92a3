#pragma once

#include "platform/pe/byte_reader.h"
#include "platform/pe/resource_key.h"
#include "text/error.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace vantor::pe {

// One leaf of the resource tree.
struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    quint16 language = 0;
    quint32 codePage = 0;
    QByteArrayView data;
};

// The resource tree of a PE32 or PE32+ file, read in place over the file's bytes (the caller
// keeps them alive). Construction checks the headers and the root directory and throws
// vantor::Error for a file that is not a valid PE file; lookups walk the tree on demand and
// throw vantor::Error when the part of the tree they need is corrupt (an offset or size out of
// range, a loop). A file without resources is valid and simply has none.
class PeResources {
public:
    explicit PeResources(QByteArrayView file, QString fileName = {});

    const QString& fileName() const { return fileName_; }
    bool isPe32Plus() const { return pe32Plus_; }
    quint16 machine() const { return machine_; }
    bool hasResources() const { return hasTree_; }
    // File offset of the resource directory; -1 when the file has none.
    qsizetype resourceDirectoryOffset() const {
        return hasTree_ ? tree_.bytes().data() - file_.bytes().data() : -1;
    }

    // Entries of the root (type) and second (name) levels in directory order.
    QList<ResourceKey> types() const;
    QList<ResourceKey> names(const ResourceKey& type) const;
    // Bytes of the first language entry of a resource; nothing when there is no such resource.
    std::optional<QByteArrayView> find(const ResourceKey& type, const ResourceKey& name) const;
    // Every leaf of the tree; checks the whole tree.
    QList<ResourceEntry> entries() const;

    // An error about one of this file's resources, with the file's name in front.
    Error named(const Error& error) const;

    // Integer ids of the "TYPELIB" resources, ascending.
    QList<quint16> typelibIds() const;
    std::optional<QByteArrayView> typelib(quint16 id) const;

private:
    struct DirEntry {
        ResourceKey key;
        quint32 offset; // tree-relative
        bool isDirectory;
    };
    struct Section {
        quint32 virtualAddress, virtualSize, rawSize, rawPointer;
    };

    [[noreturn]] void fail(const QString& what) const;
    const Section* sectionOf(quint32 rva) const;
    std::optional<quint64> rvaToOffset(quint32 rva, quint32 size) const;
    QList<DirEntry> readDirectory(quint32 offset, const QList<quint32>& ancestors) const;
    std::optional<DirEntry> lookup(quint32 dirOffset, const ResourceKey& key,
                                   const QList<quint32>& ancestors) const;
    ResourceEntry readData(const DirEntry& leaf, const ResourceKey& type,
                           const ResourceKey& name) const;
    ResourceKey readName(quint32 offset) const;

    ByteReader file_;
    QString fileName_;
    bool pe32Plus_ = false;
    quint16 machine_ = 0;
    QList<Section> sections_;
    bool hasTree_ = false;
    ByteReader tree_; // from the resource directory to the end of its section's raw data
};

} // namespace vantor::pe
