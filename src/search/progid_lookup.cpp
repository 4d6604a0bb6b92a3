#include "search/progid_lookup.h"

#include "catalog/get_token.h"
#include "catalog/type_lib_record.h"
#include "platform/registry/store.h"
#include "search/gets_vers.h"
#include "text/error.h"
#include "text/text_order.h"
#include "tli/session.h"
#include "tli/tli_application.h"

namespace vantor {

namespace {

constexpr qsizetype kGuidLength = 38;
const QString kFromObject = QStringLiteral("GetFromObj");

// The version field read as a decimal number, as the choice of the highest version does.
double versionNumber(const QString& version) {
    bool ok = false;
    const double v = version.toDouble(&ok);
    return ok ? v : 0;
}

} // namespace

int backReference(const QString& field) {
    bool ok = false;
    const int n = field.left(2).toInt(&ok);
    return ok && n < 0 ? n : 0;
}

ProgIdLookup::ProgIdLookup(const QStringList& tlDefs, const QStringList& pidDefs,
                           const tli::TLIApplication& app, JoinFixSettings joinFix)
    : tlDefs_(tlDefs), pidDefs_(pidDefs), app_(app), joinFix_(std::move(joinFix)) {}

// A field of a ProgID record; empty for an index outside the catalog or a damaged line.
QString ProgIdLookup::field(qint32 ndx, int nCol) const {
    // The last element is the catalog's empty end marker, no record.
    if (ndx < 0 || ndx >= pidDefs_.size() - 1)
        return QString();
    return GetTokenOrEmpty(nCol, pidDefs_[ndx]);
}

QString ProgIdLookup::GetCsvCol(qint32 ndx, int nCol) {
    QString s = field(ndx, nCol);
    if (s.size() == 1) {
        // A class without a type library reference: the remembered library, else the object.
        // The remembered value is taken once; one that is itself a single character would send
        // the lookup round in a circle.
        const QString remembered = GetJoinFix(field(ndx, 1));
        if (remembered.isEmpty() || remembered.size() == 1) {
            if (!context_.allowInstantiation)
                return QString();
            const QString r = BrowsePID();
            const QString sp = serverPath(ndx);
            const qsizetype bar = r.indexOf(u'|');
            if (!r.isEmpty() && bar >= 0 && !equalsText(r.left(bar), sp) && joinFix_.write)
                joinFix_.write(context_.progIdBox.toLower(), r.mid(bar + 1));
            return sp;
        }
        s = remembered;
    }
    if (s.size() == 2) {
        const int back = backReference(s);
        return back ? GetCsvCol(ndx + back, nCol) : QString();
    }
    if (s.size() == kGuidLength)
        return libraryPath(s);
    return QString();
}

QString ProgIdLookup::libraryPath(const QString& guid) const {
    const registry::Store* store = app_.session()->store();
    if (!store ||
        !store->keyExists(registry::Root::ClassesRoot, QStringLiteral("TypeLib\\") + guid))
        return QString();
    const qsizetype records = tlDefs_.size() - 1;
    qsizetype first = -1;
    for (qsizetype i = 0; i < records && first < 0; ++i)
        if (equalsText(QStringView(tlDefs_[i]).left(kGuidLength), guid) &&
            tlDefs_[i].size() > kGuidLength && tlDefs_[i][kGuidLength] == u',')
            first = i;
    if (first < 0)
        return QString();
    qsizetype count = 1;
    while (first + count < records &&
           equalsText(QStringView(tlDefs_[first + count]).left(kGuidLength), guid))
        ++count;
    QList<TypeLibRecord> versions;
    for (qsizetype i = first; i < first + count; ++i)
        versions.append(TypeLibRecord::parse(tlDefs_[i]));
    if (count == 1)
        return versions[0].path;
    if (context_.versionHint == kNoVersionHint) {
        const TypeLibRecord* best = &versions[0];
        for (const TypeLibRecord& v : versions)
            if (versionNumber(v.version) > versionNumber(best->version))
                best = &v;
        return best->path;
    }
    for (auto v = versions.crbegin(); v != versions.crend(); ++v)
        if (v->helpString.contains(context_.versionHint, Qt::CaseInsensitive) ||
            v->version.contains(context_.versionHint, Qt::CaseInsensitive))
            return v->path;
    return QString();
}

QString ProgIdLookup::serverPath(qint32 ndx) const {
    const QString sp = field(ndx, 4);
    const int back = sp.startsWith(u'-') ? backReference(sp) : 0;
    return back ? field(ndx + back, 4) : sp;
}

QString ProgIdLookup::GetCsvColzz(qint32 ndx, int nCol) const {
    const QString s = field(ndx, nCol);
    if (s.size() == 2) {
        const int back = backReference(s);
        return back ? GetCsvColzz(ndx + back, nCol) : kFromObject;
    }
    return s.size() == kGuidLength ? s : kFromObject;
}

QString ProgIdLookup::GetJoinFix(const QString& progId) const {
    if (!joinFix_.read)
        return QString();
    const qsizetype dot = progId.indexOf(u'.');
    if (dot < 0)
        return joinFix_.read(progId.toLower());
    const QString family = joinFix_.read(progId.left(dot).toLower() + QStringLiteral(".*"));
    return family.isEmpty() ? joinFix_.read(progId.toLower()) : family;
}

QString ProgIdLookup::BrowsePID() {
    try {
        const tli::InterfaceInfo info = app_.interfaceInfoFromObject(context_.progIdBox);
        return info.containingFile + u'|' + info.libraryGuid;
    } catch (const Error& e) {
        if (message_)
            message_(QStringLiteral("BrowsePID: ") + e.description());
        return QString();
    }
}

} // namespace vantor
