#pragma once

#include "search/symbol_entries.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

namespace vantor {

// How a name may match the search text; the order is the order of the results.
namespace match {
enum : int { Exact = 1, Prefix = 2, Substring = 4, HelpWords = 8, All = 15 };
}
// Which kinds of entries a search lists.
namespace kinds {
enum : int { Types = 1, Members = 2, Constants = 4, All = 7 };
}

struct SymbolHit {
    SymbolEntry entry;
    int match = 0;   // the one match:: value it was listed for
    QString library; // the library's own name
    int major = 0;
    int minor = 0;
    QString record; // the catalog record the library came from
    QString path;   // the record's library path (Windows path, "\N" kept)
};

struct SymbolResults {
    QList<SymbolHit> hits; // best first, at most the limit asked for
    qint64 total = 0;      // every match
};

// What an update did: libraries of the catalog, those read, those that could not be read.
struct IndexUpdate {
    int libraries = 0;
    int read = 0;
    int failed = 0;
    int removed = 0;
    bool rebuilt = false; // the file was found damaged, put aside and indexed anew
};

// A library the index could not read, and why.
struct UnreadLibrary {
    QString record;
    QString reason;
};

// The index file of a machine, in the folder of its catalogs.
QString symbolIndexFile(const QString& catalogFolder, const QString& machineId);

// The find-anywhere index: every type, member and constant of every library of the type library
// catalog in an SQLite database of the program folder. Libraries are indexed one transaction
// each, so a reader on another connection sees every library that is done. One object per
// thread: its connection belongs to the thread that opened it.
class SymbolIndex {
public:
    SymbolIndex();
    ~SymbolIndex();
    SymbolIndex(const SymbolIndex&) = delete;
    SymbolIndex& operator=(const SymbolIndex&) = delete;

    // Opens the database at `path`, creating it when missing. A file that is no sound index of
    // ours is moved to `path` + ".damaged" and a new one made; one of another format or reader
    // version is emptied, so that everything is read again. Throws vantor::Error when no index
    // can be made there.
    void open(const QString& path);
    // Where open() put a damaged or foreign file; empty when it found none.
    const QString& putAside() const { return putAside_; }
    // Whether an operation found the file damaged; rebuild() then puts it aside and starts a
    // new, empty index.
    bool damaged() const;
    void rebuild();

    // Brings the index in line with the catalog's records: a library whose record, file size and
    // modification time are unchanged is kept; others are read (one commit each) or recorded
    // with the reason they cannot be; records no longer in the catalog go. `hostPath` maps a
    // record's Windows path to a host path; `progress(n, m)` follows each library; a set `stop`
    // ends the update after the library in hand.
    IndexUpdate update(const QStringList& records,
                       const std::function<QString(const QString&)>& hostPath,
                       const std::function<void(int, int)>& progress = {},
                       const std::atomic_bool* stop = nullptr);

    // Stores one library's entries under a catalog record (replacing what it had), as update()
    // does for each library it reads.
    void store(const QString& record, const QString& libraryName, int major, int minor,
               const std::vector<SymbolEntry>& entries, qint64 size = -1, qint64 modified = -1);

    // The entries matching `text` in the text order: of the kinds `kindFilter` names (kinds::),
    // hidden ones only with `showHidden`; best matches first (match:: order, then types,
    // members, constants, then library name, then library version descending).
    SymbolResults query(const QString& text, int matchKinds = match::All,
                        int kindFilter = kinds::All, bool showHidden = false,
                        int limit = 500) const;

    qint64 symbolCount() const;
    QList<UnreadLibrary> unread() const;

private:
    void openFile(const QString& path, bool damaged);

    struct Db;
    std::unique_ptr<Db> db_;
    QString putAside_;
};

} // namespace vantor
