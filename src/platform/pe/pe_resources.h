#pragma once

#include "platform/pe/byte_reader.h"
#include "platform/pe/resource_key.h"
#include "text/error.h"

#include <QByteArrayView>
#include <QList>
#include <QSet>
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
// range, a loop). A file without resources is valid and simply has none. `fileName`, when
// given, leads every error description.
class PeResources {
public:
    explicit PeResources(QByteArrayView file, QString fileName = {});

    bool isPe32Plus() const { return pe32Plus_; }
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
    // Every leaf of one type.
    QList<ResourceEntry> entries(const ResourceKey& type) const;

    // An error about one of this file's resources, with the file's name in front.
    Error named(const Error& error) const;

    // Integer ids of the "TYPELIB" resources, ascending.
    QList<quint16> typelibIds() const;
    std::optional<QByteArrayView> typelib(quint16 id) const;

private:
    struct DirEntry {
        quint32 name;   // an id, or the tree offset of a name
        quint32 target; // tree offset of a subdirectory or a data entry
        bool named;
        bool isDirectory;
    };
    struct Section {
        quint32 virtualAddress, virtualSize, rawSize, rawPointer;
    };

    [[noreturn]] void fail(const QString& what) const;
    const Section* sectionOf(quint32 rva) const;
    std::optional<quint64> rvaToOffset(quint32 rva, quint32 size) const;
    // `seen` holds the directories a walk has read: reaching one again is a loop, or a shared
    // subdirectory that would multiply the work of a full walk.
    QList<DirEntry> readDirectory(quint32 offset, QSet<quint32>& seen) const;
    std::optional<DirEntry> lookup(quint32 directory, const ResourceKey& key,
                                   QSet<quint32>& seen) const;
    quint32 subdirectory(const DirEntry& entry, const QString& which) const;
    bool matches(const DirEntry& entry, const ResourceKey& key) const;
    quint16 nameLength(quint32 offset) const;
    // Decodes an entry's key; `budget` (bytes of the tree) caps what names may decode to in one
    // walk, since overlapping names could otherwise decode to far more text than the file holds.
    ResourceKey keyOf(const DirEntry& entry, qint64& budget) const;
    ResourceEntry readData(const DirEntry& leaf, const ResourceKey& type,
                           const ResourceKey& name) const;
    void collect(const DirEntry& type, const ResourceKey& typeKey, QSet<quint32>& seen,
                 qint64& budget, QList<ResourceEntry>& out) const;

    ByteReader file_;
    QString fileName_;
    bool pe32Plus_ = false;
    QList<Section> sections_;
    bool hasTree_ = false;
    ByteReader tree_; // from the resource directory to the end of its section's raw data
};

} // namespace vantor::pe
