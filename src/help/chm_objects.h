#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Parsers of the objects inside a compiled help file that the viewer needs. Their input comes
// from a file of unknown origin: every read is bounds-checked and nonsense gives an empty result
// (or no result), never a read outside the bytes given.
namespace vantor::help {

// What the file's /#SYSTEM object says about it.
struct SystemInfo {
    QByteArray contentsFile; // code 0, e.g. "toc.hhc"
    QByteArray indexFile;    // code 1, e.g. "index.hhk"
    QByteArray defaultTopic; // code 2
    QByteArray title;        // code 3
    quint32 lcid = 0;        // code 4, its first 32 bits; 0 when not given
};
std::optional<SystemInfo> parseSystem(const QByteArray& bytes);

// One <OBJECT type="text/sitemap"> of a contents (.hhc) or index (.hhk) sitemap: its name, its
// pages (several for a keyword with several topics) and its nesting depth (0 = top level).
struct SitemapEntry {
    QString name;
    QStringList locals;
    int depth = 0;
};
// `decode` turns the file's 8-bit text into characters (the file's code page).
using TextDecoder = QString (*)(const QByteArray&, quint32 lcid);
QList<SitemapEntry> parseSitemap(const QByteArray& bytes, quint32 lcid, TextDecoder decode);

// The compiled context map: /#IVB pairs {context number, offset into /#STRINGS} and the
// NUL-terminated topic paths at those offsets.
QHash<qint32, QByteArray> parseContextMap(const QByteArray& ivb, const QByteArray& strings);

} // namespace vantor::help
