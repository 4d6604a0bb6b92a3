#include "app/library_file_opener.h"

#include "app/ini_file.h"
#include "app/settings_keys.h"
#include "catalog/hex_ver.h"
#include "text/error.h"
#include "tli/registration.h"
#include "tli/session.h"
#include "tli/tli_application.h"
#include "tli/type_lib_file.h"
#include "tli/type_lib_info.h"

#include <QFileInfo>

namespace vantor {

namespace {

const QString kSection = QString::fromLatin1(settings::OpenedFilesSection);

// An error's reason without the file name it starts with.
QString reason(const Error& e, const QString& file) {
    QString text = e.description();
    if (text.startsWith(file + QStringLiteral(": ")))
        text.remove(0, file.size() + 2);
    return text;
}

} // namespace

LibraryFileOpener::LibraryFileOpener(LibraryFileFrame& frame, IniFile& ini, registry::Store* store,
                                     const tli::TLIApplication& app)
    : frame_(frame), ini_(ini), store_(store), app_(app) {}

bool LibraryFileOpener::openLibraryFile(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    if (!store_) {
        frame_.flashStatus(QStringLiteral("cannot open ") + file +
                           QStringLiteral(": there is no machine registry to register it in"));
        return false;
    }
    QList<quint16> ids;
    try {
        ids = tli::loadTypeLibIds(file);
    } catch (const Error& e) {
        frame_.flashStatus(QStringLiteral("no type library in ") + file + QStringLiteral(": ") +
                           reason(e, file));
        return false;
    }
    if (ids.isEmpty()) {
        frame_.flashStatus(QStringLiteral("no type library in ") + file +
                           QStringLiteral(": the file has no TYPELIB resource"));
        return false;
    }
    // A resource other than the first is named by its number, as the registry does.
    const auto located = [&file](quint16 id) {
        return id == 1 ? file : file + u'\\' + QString::number(id);
    };
    int chosen = 0;
    if (ids.size() > 1) {
        QStringList choices;
        for (quint16 id : ids) {
            QString text = QStringLiteral("\\%1").arg(id);
            try {
                const std::unique_ptr<tli::TypeLibInfo> lib = app_.typeLibInfoFromFile(located(id));
                text += QStringLiteral("  %1 %2.%3  %4")
                            .arg(lib->name())
                            .arg(lib->majorVersion())
                            .arg(lib->minorVersion())
                            .arg(lib->helpString());
            } catch (const Error& e) {
                text += QStringLiteral("  ") + reason(e, file);
            }
            choices.append(text);
        }
        chosen = frame_.chooseLibrary(file, choices);
        if (chosen < 0 || chosen >= ids.size()) {
            frame_.flashStatus(QStringLiteral("nothing opened from ") + file);
            return false;
        }
    }
    return registerResource(file, located(ids[chosen]));
}

bool LibraryFileOpener::registerResource(const QString& file, const QString& hostPath) {
    std::unique_ptr<tli::TypeLibInfo> lib;
    try {
        lib = app_.typeLibInfoFromFile(hostPath);
    } catch (const Error& e) {
        frame_.flashStatus(QStringLiteral("no type library in ") + hostPath + QStringLiteral(": ") +
                           reason(e, file));
        return false;
    }
    const QString guid = lib->guidText();
    const QString versionKey = tli::typeLibVersionKey(lib->majorVersion(), lib->minorVersion());
    const QString catalogKey = guid + QStringLiteral(", ") + HexVer(versionKey);
    const QString windowsPath = app_.session()->windowsPath(hostPath);
    QStringList elsewhere;
    try {
        // Locations of another file first: the registration may rewrite one of them.
        elsewhere = tli::claimTypeLibLocations(*store_, guid, versionKey, windowsPath);
        lib->registerLibrary();
    } catch (const Error& e) {
        frame_.flashStatus(QStringLiteral("cannot register ") + windowsPath + QStringLiteral(": ") +
                           e.description());
        return false;
    }
    ini_.WriteIni(kSection, catalogKey, versionKey + u'|' + windowsPath);
    const QString name = lib->name();
    lib.reset();
    frame_.reloadCatalogs();
    if (!frame_.openCatalogLibrary(catalogKey)) {
        frame_.flashStatus(QStringLiteral("registered ") + name + QStringLiteral(" (") +
                           windowsPath + QStringLiteral("), but the catalog does not list it"));
        return false;
    }
    elsewhere.removeDuplicates();
    frame_.flashStatus(
        elsewhere.isEmpty()
            ? QStringLiteral("opened ") + name + QStringLiteral(" from ") + windowsPath
            : QStringLiteral("opened ") + name + QStringLiteral(" from ") + windowsPath +
                  QStringLiteral(": it was registered as ") + elsewhere.join(QStringLiteral(", ")) +
                  QStringLiteral("; this file now wins"));
    return true;
}

bool LibraryFileOpener::isOpenedFile(const QString& guid, const QString& version) const {
    return ini_.ReadWhole(kSection, guid + QStringLiteral(", ") + version).has_value();
}

bool LibraryFileOpener::unregisterLibraryFile(const QString& guid, const QString& version) {
    const QString key = guid + QStringLiteral(", ") + version;
    const std::optional<QString> record = ini_.ReadWhole(kSection, key);
    if (!record || !store_)
        return false;
    const QString versionKey = record->section(u'|', 0, 0);
    const QString windowsPath = record->section(u'|', 1);
    tli::unregisterTypeLib(*store_, guid, versionKey);
    ini_.DeleteIniKey(kSection, key);
    frame_.reloadCatalogs();
    frame_.flashStatus(QStringLiteral("unregistered ") + key + QStringLiteral(" (") + windowsPath +
                       u')');
    return true;
}

} // namespace vantor
