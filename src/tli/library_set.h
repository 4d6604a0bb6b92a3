#pragma once

#include "tli/library_resolver.h"
#include "tli/msft_reader.h"

#include <QStringList>
#include <deque>

namespace vantor::tli {

// A fixed set of library files standing in for the registry: an import is found by GUID and
// version among the listed libraries, else by the file name it was imported as in `folder`.
// Each library is read once, when first asked for, and kept.
class LibrarySet : public LibraryResolver {
public:
    // `paths` are PATH[\N] locations.
    LibrarySet(QStringList paths, QString folder);

    // The locations an oracle index lists (its file and resource columns), in `folder`.
    static QStringList pathsFromIndex(const QString& indexFile, const QString& folder);

    std::shared_ptr<const TypeLib> find(const Guid& guid, quint16 major, quint16 minor,
                                        quint32 lcid, const QString& fileName) override;

private:
    struct Entry {
        QString path;
        bool probed = false;
        bool readable = false;
        bool loading = false;
        LibraryIdentity id;
        std::shared_ptr<const TypeLib> lib;
    };

    void probe(Entry& e);
    std::shared_ptr<const TypeLib> load(Entry& e);

    std::deque<Entry> entries_; // stable addresses: finding may add entries while one loads
    QString folder_;
    QStringList folderFiles_; // listed once, on the first lookup by file name
    bool listed_ = false;
};

} // namespace vantor::tli
