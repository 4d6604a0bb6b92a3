#include "catalog/catalogs.h"

#include "catalog/bin_search.h"
#include "catalog/catalog_summary.h"
#include "catalog/get_token.h"
#include "text/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantor {

Catalogs::Catalogs(QString programFolder, CatalogFrame& frame, CatalogBuilders* builders)
    : programFolder_(std::move(programFolder)), frame_(frame), builders_(builders) {}

QString Catalogs::typeLibFile() const {
    return QDir(programFolder_).filePath(QStringLiteral("dbTypes.dat"));
}

QString Catalogs::progIdFile() const {
    return QDir(programFolder_).filePath(QStringLiteral("dbPID.dat"));
}

qint32 Catalogs::LoadDefs(qint32 lAlwaysRef) {
    if (builders_) {
        try {
            builders_->RegScriptHost(frame_);
        } catch (const Error& e) {
            frame_.Status(e.description());
        }
    }
    const bool loaded =
        (lAlwaysRef > 0 && QFileInfo::exists(typeLibFile())) ? loadDirectly() : rebuild();
    qint32 index = 0;
    if (BinSearch(tlDefs_, kScriptHostGuid, index) == 1) {
        try {
            scriptHostVersion_ = GetToken(2, tlDefs_[index]);
        } catch (const Error&) {
            // A record that matched but has no version field leaves the remembered one.
        }
    }
    return loaded ? 0 : 1;
}

bool Catalogs::loadDirectly() {
    frame_.SetBusy(true);
    frame_.Status(QStringLiteral("Loading TypeLib Defs..."));
    const qint32 typeLibs = LoadTLDefs(typeLibFile());
    frame_.Status(QStringLiteral("Loading ProgID Defs..."));
    const qint32 progIds = LoadPIDDefs(progIdFile());
    frame_.ShowPaneRtf(directLoadSummary(typeLibs, progIds));
    frame_.ProcessPendingEvents();
    frame_.SetBusy(false);
    frame_.ResetStatusBackground();
    frame_.Status(QStringLiteral("Ready..."));
    return typeLibs > 0 || progIds > 0;
}

bool Catalogs::rebuild() {
    if (!builders_) {
        frame_.Status(QStringLiteral("The catalogs cannot be rebuilt here: no catalog builder"));
        return false;
    }
    frame_.SetBusy(true);
    try {
        frame_.Status(QStringLiteral("Loading TypeLib Definitions..."));
        builders_->EnumTL(frame_);
        frame_.ProgressValue(0);
        frame_.ProcessPendingEvents();
        frame_.Status(QStringLiteral("Loading ProgID Definitions..."));
        builders_->EnumPID(frame_);
    } catch (const Error& e) {
        // Read back whatever the builders wrote: the catalogs always mirror the files.
        frame_.Status(e.description());
    }
    frame_.ShowPaneRtf(QString());
    const qint32 progIds = LoadPIDDefs(progIdFile());
    const qint32 typeLibs = LoadTLDefs(typeLibFile());
    frame_.ShowPaneRtf(rebuildSummary(typeLibs, progIds));
    frame_.ResetStatusBackground();
    frame_.Status(QStringLiteral("Ready..."));
    frame_.ProgressValue(0);
    frame_.SetBusy(false);
    return typeLibs > 0 || progIds > 0;
}

qint32 Catalogs::LoadTLDefs(const QString& path) {
    pathBox_.clear();
    typeLibCount_ = readFile(path, CatalogKind::TypeLib, tlDefs_);
    pathBox_.reserve(tlDefs_.size() - 1);
    for (qint32 i = 0; i + 1 < tlDefs_.size(); ++i) {
        try {
            pathBox_.append({GetToken(4, tlDefs_[i]), i});
        } catch (const Error&) {
            // A line that cannot be cut into fields is not a record: it keeps its place as the
            // placeholder.
            tlDefs_[i] = QString::fromLatin1(kTypeLibPlaceholder);
            pathBox_.append({GetToken(4, tlDefs_[i]), i});
        }
    }
    return typeLibCount_;
}

qint32 Catalogs::LoadPIDDefs(const QString& path) {
    progIdCount_ = readFile(path, CatalogKind::ProgId, pidDefs_);
    return progIdCount_;
}

qint32 Catalogs::readFile(const QString& path, CatalogKind kind, QStringList& into) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        into = QStringList{QString()};
        return 0;
    }
    const QByteArray bytes = file.readAll();
    frame_.ProgressMax(bytes.size());
    CatalogLines lines =
        splitCatalogLines(bytes, kind, [this](qint64 offset) { frame_.ProgressValue(offset); });
    frame_.ProgressValue(0);
    into = std::move(lines.records);
    return lines.count;
}

} // namespace vantor
