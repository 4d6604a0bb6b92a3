#include "search/symbol_index.h"

#include "catalog/type_lib_record.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/type_lib_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <sqlite3.h>

namespace vantor {

namespace {

// "VTIX": marks the file as ours; a file without it is never trusted.
constexpr int kApplicationId = 0x56544958;
// Raised whenever the tables or what goes into them change.
constexpr int kFormatVersion = 2;

const QString kSource = QStringLiteral("SymbolIndex");

const char* const kSchema[] = {
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT)",
    "CREATE TABLE libraries(id INTEGER PRIMARY KEY, record TEXT UNIQUE NOT NULL, path TEXT, "
    "size INTEGER, modified INTEGER, name TEXT, folded_name TEXT, major INTEGER, minor INTEGER, "
    "error TEXT NOT NULL DEFAULT '')",
    // Each folded name once: names repeat across interfaces and libraries, so the trigram
    // index over them is a fraction of one over every symbol, and reading a library again
    // only adds the names it brings new. A name no symbol uses any more does no harm.
    "CREATE TABLE names(id INTEGER PRIMARY KEY, folded TEXT UNIQUE NOT NULL)",
    "CREATE TABLE symbols(id INTEGER PRIMARY KEY, library INTEGER NOT NULL, "
    "name_id INTEGER NOT NULL, kind INTEGER, name TEXT, type TEXT, value TEXT, help TEXT, "
    "category INTEGER, invoke INTEGER, hidden INTEGER)",
    "CREATE INDEX symbols_by_name ON symbols(name_id)",
    "CREATE INDEX symbols_by_library ON symbols(library)",
    // The text indexes are written a library at a time (Db::insertSymbols, removeSymbols)
    // rather than by triggers: FTS5 flushes its pending terms at the end of every statement
    // that writes it, so a row at a time would make a segment per row.
    "CREATE VIRTUAL TABLE name_text USING fts5(folded, content='names', content_rowid='id', "
    "tokenize='trigram')",
    "CREATE VIRTUAL TABLE symbol_help USING fts5(help, content='symbols', content_rowid='id')",
};

std::atomic_int connections{0};

// The largest character: every folded text starting with a prefix sorts below prefix + it.
const QString kTop = QString::fromUcs4(U"\U0010FFFF", 1);

// An FTS5 string: between double quotes, a quote doubled.
QString ftsString(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// The words of a text as an FTS5 query that wants every one of them; empty when it has none.
QString ftsWords(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : text + u' ') {
        if (c.isLetterOrNumber() || c == u'_') {
            word += c;
        } else if (!word.isEmpty()) {
            words.append(ftsString(word));
            word.clear();
        }
    }
    return words.join(u' ');
}

} // namespace

struct SymbolIndex::Db {
    QString name;
    QString path;
    bool damaged = false;

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    // Runs one statement; throws vantor::Error naming what failed.
    QSqlQuery run(const QString& sql, const QVariantList& args = {}) {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            fail(q);
        for (const QVariant& a : args)
            q.addBindValue(a);
        if (!q.exec())
            fail(q);
        return q;
    }
    QVariant single(const QString& sql, const QVariantList& args = {}) {
        QSqlQuery q = run(sql, args);
        const QVariant value = q.next() ? q.value(0) : QVariant();
        finish(q);
        return value;
    }
    // A read that stopped on an error (a damaged page) is no end of the rows.
    void finish(QSqlQuery& q) {
        if (q.lastError().isValid())
            fail(q);
    }
    [[noreturn]] void fail(const QSqlQuery& q) {
        fail(q.lastError().nativeErrorCode().toInt(), q.lastError().text());
    }
    [[noreturn]] void fail(int sqliteCode, const QString& message) {
        // Extended codes carry the primary one in their low byte.
        damaged = damaged || (sqliteCode & 0xFF) == SQLITE_CORRUPT ||
                  (sqliteCode & 0xFF) == SQLITE_NOTADB;
        throw Error(Error::PathAccess, kSource, path + QStringLiteral(": ") + message);
    }
    // Runs `work` in one transaction: all of it or nothing.
    template <typename F> void transaction(F work) {
        run(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            work();
        } catch (...) {
            db().rollback();
            throw;
        }
        run(QStringLiteral("COMMIT"));
    }
    // Adds a library's symbols and their text. Through SQLite itself: Qt's driver spends
    // several times SQLite's own time on every statement, and a large library has 15,000 rows.
    void insertSymbols(qint64 library, const std::vector<SymbolEntry>& entries) {
        // Debian's driver uses the system's SQLite, the one linked here.
        const QVariant driverHandle = db().driver()->handle();
        if (qstrcmp(driverHandle.typeName(), "sqlite3*") != 0)
            throw Error(Error::PathAccess, kSource, QStringLiteral("no SQLite connection"));
        sqlite3* handle = *static_cast<sqlite3* const*>(driverHandle.constData());
        const auto check = [&](int rc) {
            if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
                fail(sqlite3_extended_errcode(handle), QString::fromUtf8(sqlite3_errmsg(handle)));
        };
        using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;
        const auto prepare = [&](const char* sql) {
            sqlite3_stmt* prepared = nullptr;
            check(sqlite3_prepare_v2(handle, sql, -1, &prepared, nullptr));
            return Statement(prepared, sqlite3_finalize);
        };
        // Bound without a copy: each text outlives the step that reads it.
        const auto text = [&](const Statement& s, int column, const QString& value) {
            const void* chars = value.isEmpty() ? static_cast<const void*>(u"") : value.constData();
            check(
                sqlite3_bind_text16(s.get(), column, chars, int(value.size() * 2), SQLITE_STATIC));
        };
        const qint64 lastName = single(QStringLiteral("SELECT max(id) FROM names")).toLongLong();
        const Statement addName = prepare("INSERT OR IGNORE INTO names(folded) VALUES (?)");
        const Statement findName = prepare("SELECT id FROM names WHERE folded = ?");
        const Statement insert = prepare("INSERT INTO symbols(library, name_id, kind, name, type, "
                                         "value, help, category, invoke, hidden) VALUES (?, ?, ?, "
                                         "?, ?, ?, ?, ?, ?, ?)");
        QHash<QString, qint64> nameIds;
        for (const SymbolEntry& e : entries) {
            const QString folded = foldedText(e.name);
            auto id = nameIds.constFind(folded);
            if (id == nameIds.cend()) {
                text(addName, 1, folded);
                check(sqlite3_step(addName.get()));
                check(sqlite3_reset(addName.get()));
                text(findName, 1, folded);
                if (sqlite3_step(findName.get()) != SQLITE_ROW)
                    fail(sqlite3_extended_errcode(handle),
                         QStringLiteral("a name was not stored: ") + e.name);
                id = nameIds.insert(folded, sqlite3_column_int64(findName.get(), 0));
                check(sqlite3_reset(findName.get()));
            }
            check(sqlite3_bind_int64(insert.get(), 1, library));
            check(sqlite3_bind_int64(insert.get(), 2, *id));
            check(sqlite3_bind_int(insert.get(), 3, int(e.kind)));
            text(insert, 4, e.name);
            text(insert, 5, e.typeName);
            text(insert, 6, e.value);
            text(insert, 7, e.help);
            check(sqlite3_bind_int(insert.get(), 8, e.category));
            check(sqlite3_bind_int(insert.get(), 9, e.invokeKinds));
            check(sqlite3_bind_int(insert.get(), 10, int(e.hidden)));
            check(sqlite3_step(insert.get()));
            check(sqlite3_reset(insert.get()));
        }
        // The names this library brought: the write lock keeps their ids above the last one.
        run(QStringLiteral("INSERT INTO name_text(rowid, folded) "
                           "SELECT id, folded FROM names WHERE id > ?"),
            {lastName});
        run(QStringLiteral("INSERT INTO symbol_help(rowid, help) "
                           "SELECT id, help FROM symbols WHERE library = ? AND help <> ''"),
            {library});
    }
    // Removes a library's symbols, from the help index first: it needs the text to find the
    // terms to delete.
    void removeSymbols(qint64 library) {
        run(QStringLiteral(
                "INSERT INTO symbol_help(symbol_help, rowid, help) "
                "SELECT 'delete', id, help FROM symbols WHERE library = ? AND help <> ''"),
            {library});
        run(QStringLiteral("DELETE FROM symbols WHERE library = ?"), {library});
    }
    // The id of a record's library; -1 when it has none.
    qint64 libraryId(const QString& record) {
        const QVariant id =
            single(QStringLiteral("SELECT id FROM libraries WHERE record = ?"), {record});
        return id.isValid() ? id.toLongLong() : -1;
    }
    // Empties a record's library of symbols and writes its row (inside a transaction); its id.
    qint64 replaceLibrary(const QString& record, const QString& path, qint64 size, qint64 modified,
                          const QString& name, int major, int minor, const QString& error) {
        if (const qint64 old = libraryId(record); old >= 0)
            removeSymbols(old);
        run(QStringLiteral("INSERT OR REPLACE INTO libraries(record, path, size, modified, name, "
                           "folded_name, major, minor, error) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                           "coalesce(?, ''))"),
            {record, path, size, modified, name, foldedText(name), major, minor, error});
        return libraryId(record);
    }
    ~Db() {
        {
            QSqlDatabase d = db();
            if (d.isValid())
                d.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};

QString symbolIndexFile(const QString& catalogFolder, const QString& machineId) {
    return QDir(catalogFolder)
        .filePath(QStringLiteral("index/") + machineId + QStringLiteral(".sqlite"));
}

SymbolIndex::SymbolIndex() = default;
SymbolIndex::~SymbolIndex() = default;

void SymbolIndex::open(const QString& path) {
    openFile(path, false);
}

bool SymbolIndex::damaged() const {
    return db_ && db_->damaged;
}

void SymbolIndex::rebuild() {
    if (!db_)
        return;
    // A copy: opening again replaces the connection that holds the path.
    const QString path = db_->path;
    openFile(path, true);
}

void SymbolIndex::openFile(const QString& path, bool damaged) {
    putAside_.clear();
    enum class Found { Ours, New, Outdated, Damaged };
    const auto connect = [&] {
        db_.reset();
        auto db = std::make_unique<Db>();
        db->name = QStringLiteral("vantor-symbols-%1").arg(connections++);
        db->path = path;
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->name);
        d.setDatabaseName(path);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!d.open())
            throw Error(Error::PathAccess, kSource,
                        path + QStringLiteral(": ") + d.lastError().text());
        db_ = std::move(db);
    };
    const auto inspect = [&]() -> Found {
        try {
            const int id = db_->single(QStringLiteral("PRAGMA application_id")).toInt();
            if (id == 0 &&
                db_->single(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt() == 0)
                return Found::New;
            // Damage deeper in the file shows when it is read (see damaged()): checking every
            // page here would hold the window up for seconds on a large index.
            if (id != kApplicationId)
                return Found::Damaged;
            const auto meta = [&](const char* key) {
                return db_
                    ->single(QStringLiteral("SELECT value FROM meta WHERE key = ?"),
                             {QString::fromLatin1(key)})
                    .toInt();
            };
            return meta("format") == kFormatVersion && meta("reader") == tli::kReaderVersion
                       ? Found::Ours
                       : Found::Outdated;
        } catch (const Error&) {
            return Found::Damaged; // not a database at all
        }
    };
    const auto removeFiles = [&](const QString& aside) {
        db_.reset();
        for (const char* tail : {"-wal", "-shm"})
            QFile::remove(path + QString::fromLatin1(tail));
        if (!aside.isEmpty()) {
            QFile::remove(aside);
            if (!QFile::rename(path, aside))
                throw Error(Error::PathAccess, kSource,
                            path + QStringLiteral(": a damaged index cannot be moved aside"));
            putAside_ = aside;
        } else if (!QFile::remove(path)) {
            throw Error(Error::PathAccess, kSource,
                        path + QStringLiteral(": an outdated index cannot be removed"));
        }
        connect();
    };

    QDir().mkpath(QFileInfo(path).absolutePath());
    connect();
    Found found = damaged ? Found::Damaged : inspect();
    if (found == Found::Damaged)
        removeFiles(path + QStringLiteral(".damaged"));
    else if (found == Found::Outdated)
        removeFiles(QString());
    db_->run(QStringLiteral("PRAGMA journal_mode=WAL"));
    db_->run(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // A large library's rows fit in the cache until its commit.
    db_->run(QStringLiteral("PRAGMA cache_size=-16384"));
    if (found == Found::Ours)
        return;
    db_->transaction([&] {
        // Another connection may have made it meanwhile.
        if (db_->single(QStringLiteral("PRAGMA application_id")).toInt() == kApplicationId)
            return;
        for (const char* statement : kSchema)
            db_->run(QString::fromLatin1(statement));
        db_->run(QStringLiteral("INSERT INTO meta VALUES ('format', ?), ('reader', ?)"),
                 {kFormatVersion, tli::kReaderVersion});
        db_->run(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    });
}

namespace {

struct FileStamp {
    qint64 size = -1;
    qint64 modified = -1;
};

FileStamp stampOf(const QString& hostPath) {
    const QFileInfo info(tli::splitLibraryPath(hostPath).file);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

// "major.minor" of a record, for ordering a library that could not be read.
std::pair<int, int> recordVersion(const QString& version) {
    const qsizetype dot = version.indexOf(u'.');
    return {version.left(dot).toInt(), dot < 0 ? 0 : version.mid(dot + 1).toInt()};
}

} // namespace

IndexUpdate SymbolIndex::update(const QStringList& records,
                                const std::function<QString(const QString&)>& hostPath,
                                const std::function<void(int, int)>& progress,
                                const std::atomic_bool* stop) {
    if (!db_)
        throw Error(Error::ObjectMissing, kSource, QStringLiteral("the index is not open"));
    QHash<QString, FileStamp> known;
    {
        QSqlQuery q = db_->run(QStringLiteral("SELECT record, size, modified FROM libraries"));
        while (q.next())
            known.insert(q.value(0).toString(), {q.value(1).toLongLong(), q.value(2).toLongLong()});
        db_->finish(q);
    }
    QStringList current;
    for (const QString& r : records)
        if (!r.trimmed().isEmpty())
            current.append(r);
    IndexUpdate result;
    result.libraries = int(current.size());
    QSet<QString> seen;
    for (int n = 0; n < current.size(); ++n) {
        if (stop && stop->load())
            return result;
        if (progress)
            progress(n + 1, result.libraries);
        const QString& record = current[n];
        seen.insert(record);
        const TypeLibRecord fields = TypeLibRecord::parse(record);
        const QString host = hostPath(fields.path);
        const FileStamp stamp = stampOf(host);
        if (const auto it = known.constFind(record);
            it != known.cend() && it->size == stamp.size && it->modified == stamp.modified)
            continue;
        try {
            if (host.isEmpty())
                throw Error(Error::FileNotFound, kSource,
                            fields.path + QStringLiteral(": no such file on this machine"));
            const std::shared_ptr<const tli::TypeLib> lib = tli::loadTypeLib(host, nullptr);
            store(record, lib->name(), lib->major(), lib->minor(), symbolEntries(lib), stamp.size,
                  stamp.modified);
            ++result.read;
        } catch (const Error& e) {
            const auto [major, minor] = recordVersion(fields.version);
            db_->transaction([&] {
                db_->replaceLibrary(record, fields.path, stamp.size, stamp.modified, fields.libName,
                                    major, minor, e.description());
            });
            ++result.failed;
        }
    }
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (seen.contains(it.key()))
            continue;
        db_->transaction([&] {
            if (const qint64 library = db_->libraryId(it.key()); library >= 0)
                db_->removeSymbols(library);
            db_->run(QStringLiteral("DELETE FROM libraries WHERE record = ?"), {it.key()});
        });
        ++result.removed;
    }
    return result;
}

void SymbolIndex::store(const QString& record, const QString& libraryName, int major, int minor,
                        const std::vector<SymbolEntry>& entries, qint64 size, qint64 modified) {
    if (!db_)
        throw Error(Error::ObjectMissing, kSource, QStringLiteral("the index is not open"));
    const TypeLibRecord fields = TypeLibRecord::parse(record);
    db_->transaction([&] {
        const qint64 library = db_->replaceLibrary(record, fields.path, size, modified, libraryName,
                                                   major, minor, QString());
        db_->insertSymbols(library, entries);
    });
}

SymbolResults SymbolIndex::query(const QString& text, int matchKinds, int kindFilter,
                                 bool showHidden, int limit) const {
    SymbolResults results;
    if (!db_ || text.isEmpty())
        return results;
    const QString f = foldedText(text);
    const QString words = ftsWords(text);
    // Each kind of match: what selects its rows, and a cheap test of a row that the later
    // kinds use to leave out what an earlier one listed.
    struct Match {
        int kind;
        QString select;
        QVariantList args;
        QString test;
        QVariantList testArgs;
    };
    const QString range = QStringLiteral("(n.folded >= ? AND n.folded < ?)");
    const QString contains = QStringLiteral("instr(n.folded, ?) > 0");
    const QList<Match> all = {
        {match::Exact, QStringLiteral("n.folded = ?"), {f}, QStringLiteral("n.folded = ?"), {f}},
        {match::Prefix, range, {f, f + kTop}, range, {f, f + kTop}},
        {match::Substring,
         f.size() >= 3 ? QStringLiteral("n.id IN (SELECT rowid FROM name_text WHERE "
                                        "name_text MATCH ?) AND ") +
                             contains
                       : contains,
         f.size() >= 3 ? QVariantList{ftsString(f), f} : QVariantList{f},
         contains,
         {f}},
        {match::HelpWords,
         QStringLiteral("s.id IN (SELECT rowid FROM symbol_help WHERE symbol_help MATCH ?)"),
         {words},
         QString(),
         {}},
    };
    QString filter;
    QStringList kindList;
    for (int k = 0; k < 3; ++k)
        if (kindFilter & (1 << k))
            kindList.append(QString::number(k));
    if (kindList.isEmpty())
        return results;
    filter = QStringLiteral(" AND s.kind IN (") + kindList.join(u',') + u')';
    if (!showHidden)
        filter += QStringLiteral(" AND s.hidden = 0");

    QString earlier;
    QVariantList earlierArgs;
    for (const Match& m : all) {
        if (!(matchKinds & m.kind) || (m.kind == match::HelpWords && words.isEmpty()))
            continue;
        const QString where = m.select + earlier + filter;
        QVariantList args = m.args + earlierArgs;
        const qint64 count =
            db_->single(
                   QStringLiteral("SELECT count(*) FROM symbols s JOIN names n ON n.id = s.name_id "
                                  "WHERE ") +
                       where,
                   args)
                .toLongLong();
        results.total += count;
        const qint64 room = limit - results.hits.size();
        if (count > 0 && room > 0) {
            args.append(room);
            QSqlQuery q = db_->run(
                QStringLiteral("SELECT s.kind, s.name, s.type, s.value, s.help, s.category, "
                               "s.invoke, s.hidden, l.name, l.major, l.minor, l.record, l.path "
                               "FROM symbols s JOIN names n ON n.id = s.name_id "
                               "JOIN libraries l ON l.id = s.library WHERE ") +
                    where +
                    QStringLiteral(" ORDER BY s.kind, l.folded_name, l.major DESC, l.minor DESC, "
                                   "n.folded, s.id LIMIT ?"),
                args);
            while (q.next()) {
                SymbolHit hit;
                hit.entry = {SymbolKind(q.value(0).toInt()),
                             q.value(1).toString(),
                             q.value(2).toString(),
                             q.value(3).toString(),
                             q.value(4).toString(),
                             q.value(5).toInt(),
                             q.value(6).toInt(),
                             q.value(7).toBool()};
                hit.match = m.kind;
                hit.library = q.value(8).toString();
                hit.major = q.value(9).toInt();
                hit.minor = q.value(10).toInt();
                hit.record = q.value(11).toString();
                hit.path = q.value(12).toString();
                results.hits.append(hit);
            }
            db_->finish(q);
        }
        if (!m.test.isEmpty()) {
            earlier += QStringLiteral(" AND NOT ") + m.test;
            earlierArgs += m.testArgs;
        }
    }
    return results;
}

qint64 SymbolIndex::symbolCount() const {
    return db_ ? db_->single(QStringLiteral("SELECT count(*) FROM symbols")).toLongLong() : 0;
}

QList<UnreadLibrary> SymbolIndex::unread() const {
    QList<UnreadLibrary> list;
    if (!db_)
        return list;
    QSqlQuery q = db_->run(
        QStringLiteral("SELECT record, error FROM libraries WHERE error <> '' ORDER BY record"));
    while (q.next())
        list.append({q.value(0).toString(), q.value(1).toString()});
    db_->finish(q);
    return list;
}

} // namespace vantor
