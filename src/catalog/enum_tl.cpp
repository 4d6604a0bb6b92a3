// EnumTL: dbTypes.dat from HKEY_CLASSES_ROOT\TypeLib, one record per library version.
#include "catalog/catalog_lines.h"
#include "catalog/hex_ver.h"
#include "catalog/record_text.h"
#include "catalog/registry_catalog_builders.h"
#include "catalog/sort_strings.h"
#include "text/error.h"
#include "text/string_helpers.h"

namespace vantor {
void RegistryCatalogBuilders::EnumTL(CatalogFrame& frame) {
    cRegistry reg(store_);
    reg.setClassKey(HKEY_CLASSES_ROOT);
    reg.setSectionKey(QStringLiteral("TypeLib\\"));
    QStringList guids;
    qint32 n = 0;
    reg.EnumerateSections(guids, n);
    frame.ProgressMax(n);
    if (n > 0)
        SortStrings(guids, 1, n);

    QString log = logLineHead("dbTypes.dat", n);
    QString out = QString::fromLatin1(kTypeLibHeader) + QStringLiteral("\r\n");
    out.reserve(qsizetype(n) * 150 + 20000);
    const int systemLocale = this->systemLocale();
    const QString locale = QString::number(systemLocale);
    const QString hexLocale = QString::number(systemLocale, 16);
    const auto exists = [&reg](const QString& path) {
        reg.setSectionKey(path);
        return reg.KeyExists();
    };
    const auto defaultValue = [&reg](const QString& path) {
        reg.setSectionKey(path);
        reg.setValueKey(QString());
        return TrimSpaces(reg.Value().toString());
    };

    for (qint32 i = 1; i <= n; ++i) {
        const QString& g = guids[i];
        const QString guidKey = QStringLiteral("TypeLib\\") + g;
        try {
            reg.setSectionKey(guidKey);
            QStringList versions;
            qint32 count = 0;
            if (!reg.EnumerateSections(versions, count)) {
                log +=
                    QStringLiteral(" err from cRegistry for TL GUID=") + g + QStringLiteral("\r\n");
                continue;
            }
            if (count == 0) {
                log += QStringLiteral(" Empty sub-keys at TL GUID=") + g + QStringLiteral("\r\n");
                continue;
            }
            if (count > 1)
                SortStrings(versions, 1, count);
            for (qint32 v = 1; v <= count; ++v) {
                try {
                    const QString versionKey = guidKey + u'\\' + versions[v];
                    const QString placeholder = QStringLiteral("c:\\ImNotThere%1.dll").arg(i);
                    // The locale key, and the locale it names (keys are hexadecimal).
                    QString lcid = locale;
                    int lcidNumber = systemLocale;
                    if (exists(versionKey + QStringLiteral("\\0"))) {
                        lcid = QStringLiteral("0");
                        lcidNumber = 0;
                    } else if (exists(versionKey + u'\\' + locale)) {
                        lcid = locale;
                    } else if (exists(versionKey + u'\\' + hexLocale)) {
                        lcid = hexLocale;
                    } else if (exists(versionKey + QStringLiteral("\\409"))) {
                        lcid = QStringLiteral("409");
                        lcidNumber = 0x409;
                    } else if (exists(versionKey + QStringLiteral("\\9"))) {
                        lcid = QStringLiteral("9");
                        lcidNumber = 9;
                    }
                    // A Wine prefix registers its libraries for 64-bit only.
                    QString path;
                    for (const char* platform : {"win32", "win64", "win16"}) {
                        const QString key =
                            versionKey + u'\\' + lcid + u'\\' + QLatin1String(platform);
                        if (exists(key)) {
                            path = defaultValue(key);
                            break;
                        }
                    }
                    path = cleanPath(path);
                    if (path.isEmpty())
                        path = placeholder;

                    QString help = defaultValue(versionKey);
                    if (help.isEmpty()) {
                        help = QStringLiteral("No help");
                    } else {
                        if (blankControls(help))
                            log += QStringLiteral(
                                       " Unprintable Control Chars found in help_string for TL "
                                       "GUID=") +
                                   g + QStringLiteral("\r\n");
                        help = quotedIfComma(help);
                    }
                    const QString version = HexVer(versions[v]);
                    QString name = QStringLiteral("LibName");
                    if (defineLibName_ && services_) {
                        const qsizetype dot = version.indexOf(u'.');
                        try {
                            name = services_->registeredLibraryName(
                                g, version.left(dot).toInt(),
                                dot < 0 ? 0 : version.mid(dot + 1).toInt(), lcidNumber);
                        } catch (const Error&) {
                            // A library that cannot be read keeps the word "LibName": the
                            // option names libraries where it can and loses no record.
                        }
                    }
                    out += g + QStringLiteral(", ") + version + QStringLiteral(", ") +
                           TrimSpaces(help) + QStringLiteral(", ") + path + QStringLiteral(", ") +
                           name + QStringLiteral("\r\n");
                } catch (const Error& e) {
                    logFault(log, g, e);
                }
            }
        } catch (const Error& e) {
            logFault(log, g, e);
        }
        yieldToEvents(frame);
        if ((i + 1) % 25 != 0)
            frame.ProgressValue(i + 1);
    }
    writeCatalog(QStringLiteral("dbTypes.dat"), out, log);
}

} // namespace vantor
