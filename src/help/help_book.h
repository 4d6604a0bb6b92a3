#pragma once

#include "help/chm_objects.h"
#include "help/chm_reader.h"

#include <QHash>
#include <memory>
#include <optional>

namespace vantor::help {

// One compiled help file as the viewer uses it: its system information, contents, index and
// context map, read through the reader process on open, and its pages on demand.
class HelpBook {
public:
    explicit HelpBook(QString file, QString readerProgram = QString());

    // Reads the file's system information, contents, index and context map; false when the
    // reader cannot read the file (the book is then broken).
    bool open();
    bool broken() const { return reader_.broken(); }
    const QString& file() const { return reader_.file(); }

    const SystemInfo& system() const { return system_; }
    const QList<SitemapEntry>& contents() const { return contents_; }
    const QList<SitemapEntry>& index() const { return index_; }
    // The default page ("/intro.htm"), or the first page of the contents.
    QString defaultPage() const;

    // A keyword list (";"-separated): the first keyword found in the index and its entry.
    struct KeywordHit {
        QString keyword;
        int entry = -1; // into index()
    };
    std::optional<KeywordHit> findKeyword(const QString& keywords) const;
    // The page a context number maps to, as a path inside the file.
    std::optional<QString> contextPage(qint32 context);

    // The object at `path` (normalised); nullopt when the file has none or cannot be read.
    std::optional<QByteArray> object(const QString& path);
    QString text(const QByteArray& bytes) const;

private:
    QByteArray objectOrEmpty(const QByteArray& name);

    ChmReader reader_;
    SystemInfo system_;
    QList<SitemapEntry> contents_;
    QList<SitemapEntry> index_;
    QHash<QString, int> keywords_; // lower-case name -> first index entry
    QHash<qint32, QByteArray> contextMap_;
};

} // namespace vantor::help
