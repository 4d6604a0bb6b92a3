#include "tli/library_set.h"

#include "text/error.h"
#include "text/text_order.h"
#include "tli/type_lib_file.h"

#include <QDir>
#include <QFile>

namespace vantor::tli {

LibrarySet::LibrarySet(QStringList paths, QString folder) : folder_(std::move(folder)) {
    for (QString& p : paths)
        entries_.push_back(Entry{std::move(p), false, false, false, {}, nullptr});
}

QStringList LibrarySet::pathsFromIndex(const QString& indexFile, const QString& folder) {
    QStringList paths;
    QFile f(indexFile);
    if (!f.open(QIODevice::ReadOnly))
        return paths;
    bool header = true;
    while (!f.atEnd()) {
        const QList<QByteArray> cols = f.readLine().trimmed().split('\t');
        if (header || cols.size() < 2) {
            header = false;
            continue;
        }
        const QString file = QDir(folder).filePath(QString::fromUtf8(cols[0]));
        const QByteArray id = cols[1];
        paths.push_back(id == "1" ? file : file + QLatin1Char('\\') + QString::fromUtf8(id));
    }
    return paths;
}

void LibrarySet::probe(Entry& e) {
    if (e.probed)
        return;
    e.probed = true;
    try {
        e.id = loadTypeLibIdentity(e.path);
        e.readable = true;
    } catch (const Error&) {
        // An unreadable file is recorded as such; it only cannot resolve imports.
        e.readable = false;
    }
}

std::shared_ptr<const TypeLib> LibrarySet::load(Entry& e) {
    // A library that imports itself, directly or not, finds nothing while it is being read.
    if (e.lib || e.loading)
        return e.lib;
    e.loading = true;
    try {
        e.lib = loadTypeLib(e.path, this);
    } catch (const Error&) {
        // As above: the references into it stay unresolved.
        e.readable = false;
    }
    e.loading = false;
    return e.lib;
}

std::shared_ptr<const TypeLib> LibrarySet::find(const Guid& guid, quint16 major, quint16 minor,
                                                quint32 lcid, const QString& fileName) {
    // Best match: the exact version, else the highest minor of the same major, then the
    // locale asked for before any other.
    Entry* best = nullptr;
    auto rank = [&](const Entry& e) {
        int r = 0;
        if (e.id.major == major && e.id.minor == minor)
            r += 4;
        else if (e.id.major == major && e.id.minor > minor)
            r += 2;
        if (e.id.lcid == lcid)
            r += 1;
        return r;
    };
    for (Entry& e : entries_) {
        probe(e);
        if (!e.readable || !(e.id.guid == guid))
            continue;
        if (e.id.major != major || e.id.minor < minor)
            continue;
        if (!best || rank(e) > rank(*best) ||
            (rank(e) == rank(*best) && e.id.minor > best->id.minor))
            best = &e;
    }
    if (best)
        return load(*best);
    if (fileName.isEmpty() || folder_.isEmpty())
        return nullptr;
    const QDir dir(folder_);
    if (!listed_) {
        folderFiles_ = dir.entryList(QDir::Files);
        listed_ = true;
    }
    for (const QString& candidate : std::as_const(folderFiles_))
        if (equalsText(candidate, fileName)) {
            entries_.push_back(Entry{dir.filePath(candidate), false, false, false, {}, nullptr});
            Entry& e = entries_.back();
            probe(e);
            if (e.readable && e.id.guid == guid)
                return load(e);
            return nullptr;
        }
    return nullptr;
}

} // namespace vantor::tli
