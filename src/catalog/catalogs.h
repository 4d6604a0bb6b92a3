#pragma once

#include "catalog/catalog_frame.h"
#include "catalog/catalog_lines.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vantor {

// One entry of the library path box: the library's path and its record index in TLDefs.
struct PathBoxEntry {
    QString text;
    qint32 itemData = 0;
    bool operator==(const PathBoxEntry&) const = default;
};

// The two definitions catalogs of the program folder, as loaded by LoadDefs, with the path box
// list that mirrors TLDefs.
class Catalogs {
public:
    inline static const QString kScriptHostGuid =
        QStringLiteral("{60254CA0-953B-11CF-8C96-00AA00B8708C}");

    // `builders` may be null: then a rebuild is reported as impossible instead of faked.
    Catalogs(QString programFolder, CatalogFrame& frame, CatalogBuilders* builders = nullptr);

    // Reads both catalog files, or with lAlwaysRef <= 0 or no dbTypes.dat rebuilds them from the
    // registry first. 0 when a catalog was loaded; non-zero when neither catalog could be read
    // nor rebuilt (start-up then skips opening a library).
    qint32 LoadDefs(qint32 lAlwaysRef = 1);
    // The line readers; they return the count of lines ending in CR (records + 1), 0 when the
    // file cannot be read, which leaves the catalog without records.
    qint32 LoadTLDefs(const QString& path);
    qint32 LoadPIDDefs(const QString& path);

    const QStringList& TLDefs() const { return tlDefs_; }
    const QStringList& PIDDefs() const { return pidDefs_; }
    const QList<PathBoxEntry>& pathBox() const { return pathBox_; }
    // The line readers' last counts, as the summary shows them.
    qint32 typeLibCount() const { return typeLibCount_; }
    qint32 progIdCount() const { return progIdCount_; }
    // Field 2 of the script host library's record, as of the last load that found it.
    const QString& scriptHostVersion() const { return scriptHostVersion_; }

    QString typeLibFile() const;
    QString progIdFile() const;

private:
    bool loadDirectly();
    bool rebuild();
    qint32 readFile(const QString& path, CatalogKind kind, QStringList& into);

    QString programFolder_;
    CatalogFrame& frame_;
    CatalogBuilders* builders_;
    QStringList tlDefs_{QString()};
    QStringList pidDefs_{QString()};
    QList<PathBoxEntry> pathBox_;
    QString scriptHostVersion_;
    qint32 typeLibCount_ = 0;
    qint32 progIdCount_ = 0;
};

} // namespace vantor
