// EnumPID: dbPID.dat from the root keys of HKEY_CLASSES_ROOT that name a class, with runs of
// ProgIDs of one class written once in full and then as back-references.
#include "catalog/catalog_lines.h"
#include "catalog/record_text.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/sort_strings.h"
#include "text/error.h"
#include "text/string_helpers.h"
#include "text/text_order.h"

namespace vantor {
namespace {

// File-type keys ("txtfile", "Word.Document.File"...) are no ProgIDs; names with a blank
// neither.
bool excludedName(const QString& key) {
    if (key.contains(u' '))
        return true;
    if (key.size() <= 7)
        return false;
    return indexOfText(key, u"file", key.size() - 6) >= 0 && indexOfText(key, u"htm") < 0;
}

QString bracedGuid(const QString& text) {
    return text.size() == 36 ? u'{' + text + u'}' : text;
}

} // namespace

void RegistryCatalogBuilders::EnumPID(CatalogFrame& frame) {
    cRegistry reg(store_);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(QString());
    QStringList keys;
    qint32 n = 0;
    EnumRootKeys(store_, keys, n);

    QString out = QString::fromLatin1(kProgIdHeader) + QStringLiteral("\r\n");
    out.reserve(qsizetype(n) * 132 + 20000);
    QString log = logLineHead("dbPID.dat", n);
    frame.ProgressMax(n);
    frame.Status(QStringLiteral("Sorting ProgID Array ...."));
    if (n > 0)
        SortStrings(keys, 1, n);
    frame.Status(QStringLiteral("Processing ....."));

    const auto defaultValue = [&reg](const QString& path) {
        reg.setSectionKey(path);
        reg.setValueKey(QString());
        return TrimSpaces(reg.Value().toString());
    };
    const auto exists = [&reg](const QString& path) {
        reg.setSectionKey(path);
        return reg.KeyExists();
    };

    QString lastClass;
    qint32 run = 0;
    for (qint32 i = 1; i <= n; ++i) {
        const QString& k = keys[i];
        try {
            if (!excludedName(k) && exists(k + QStringLiteral("\\CLSID"))) {
                const QString c = bracedGuid(defaultValue(k + QStringLiteral("\\CLSID")));
                if (c.size() != 38) {
                    log += QStringLiteral("Bad CLSID: at ProgID key=") + k +
                           QStringLiteral(" CLSID=") + c + QStringLiteral("\r\n");
                } else {
                    const QString classKey = QStringLiteral("CLSID\\") + c + u'\\';
                    QString help = defaultValue(classKey);
                    if (help.isEmpty()) {
                        help = k;
                    } else {
                        blankControls(help);
                        help = quotedIfComma(help);
                    }
                    QString server;
                    if (exists(classKey + QStringLiteral("InProcServer32")))
                        server = defaultValue(classKey + QStringLiteral("InProcServer32"));
                    else if (exists(classKey + QStringLiteral("LocalServer")))
                        server = defaultValue(classKey + QStringLiteral("LocalServer"));
                    server = cleanPath(server);
                    if (server.isEmpty())
                        server = QStringLiteral("Not Found");
                    QString typeLib = QStringLiteral("*");
                    if (exists(classKey + QStringLiteral("TypeLib"))) {
                        typeLib = bracedGuid(defaultValue(classKey + QStringLiteral("TypeLib")));
                        if (typeLib.size() != 38)
                            typeLib = QStringLiteral("*");
                    }
                    QString fields = c + QStringLiteral(", ") + TrimSpaces(help) +
                                     QStringLiteral(", ") + server + QStringLiteral(", ") + typeLib;
                    if (equalsText(c, lastClass)) {
                        --run;
                        const QString ref = QString::number(run);
                        fields = ref + QStringLiteral(", ") + ref + QStringLiteral(", ") + ref +
                                 QStringLiteral(", ") + ref;
                    } else {
                        run = 0;
                    }
                    lastClass = c;
                    out += k + QStringLiteral(", ") + fields + QStringLiteral("\r\n");
                }
            }
        } catch (const Error& e) {
            logFault(log, k, e);
        }
        yieldToEvents(frame);
        if (i % 200 != 0)
            frame.ProgressValue(i);
    }
    writeCatalog(QStringLiteral("dbPID.dat"), out, log);
}

} // namespace vantor
