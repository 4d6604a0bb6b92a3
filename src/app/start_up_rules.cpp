#include "app/start_up_rules.h"

#include "catalog/bin_search.h"
#include "catalog/get_token.h"
#include "text/text_order.h"

namespace vantor {
namespace {

double numberOr(const QString& text, double fallback) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : fallback;
}

double readNumber(const IniFile& ini, const settings::Key& key) {
    return numberOr(ini.ReadIni(key), QString::fromLatin1(key.defaultValue).toDouble());
}

} // namespace

LibraryReference firstFallbackLibrary() {
    return {QStringLiteral("{60254CA0-953B-11CF-8C96-00AA00B8708C}"), QString(),
            QStringLiteral("IHOST_CLASS")};
}

LibraryReference secondFallbackLibrary() {
    return {QStringLiteral("{8B217740-717D-11CE-AB5B-D41203C10000}"), QStringLiteral("1.0"),
            QStringLiteral("TypeLibInfo")};
}

bool refusesToStart(const QString& normalOp) {
    return numberOr(normalOp, 1) == 0;
}

WindowGeometry readGeometry(const IniFile& ini) {
    return {readNumber(ini, settings::Top), readNumber(ini, settings::Height),
            readNumber(ini, settings::Width), readNumber(ini, settings::Left)};
}

StartLibrary chooseStartLibrary(LibraryReference last, const QStringList& tlDefs,
                                LibraryFileCheck& check) {
    StartLibrary result;
    if (last.guid.isEmpty())
        last = firstFallbackLibrary();
    qint32 index = 0;
    bool found = !tlDefs.isEmpty() && BinSearch(tlDefs, catalogKey(last), index) == 1;
    if (found) {
        QString path = GetToken(4, tlDefs[index]);
        if (path.size() >= 2 && path[path.size() - 2] == u'\\')
            path.chop(2);
        if (check.isNewerThanCatalog(path)) {
            const LibraryFileCheck::Identity identity = check.readIdentity(path);
            if (!equalsText(identity.guid, last.guid)) {
                found = false;
                result.status = QStringLiteral("the TypeLib has been modified");
            } else {
                const QString version =
                    QStringLiteral("%1.%2").arg(identity.major).arg(identity.minor);
                if (!equalsText(version, last.version)) {
                    last.version = version;
                    result.status = QStringLiteral("the TypeLib version is new.");
                }
            }
        }
    }
    if (!found) {
        last = secondFallbackLibrary();
        found = !tlDefs.isEmpty() && BinSearch(tlDefs, catalogKey(last), index) == 1;
    }
    if (found) {
        result.index = index;
        result.typeInfo = last.typeInfo;
    }
    return result;
}

} // namespace vantor
