#pragma once

#include "app/ini_file.h"

#include <QString>
#include <QStringList>

namespace vantor {

// A library to open at start-up: catalog GUID and version (major.minor, may be empty) and the
// type info to select.
struct LibraryChoice {
    QString guid;
    QString version;
    QString typeInfo;
    bool operator==(const LibraryChoice&) const = default;
};

// Splits "GUID:major.minor.TypeInfo": the last "." ends the version, the first ":" before it
// ends the GUID. Without "." nothing is set; without ":" only the type info.
LibraryChoice splitLastLibrary(const QString& ltLast);

// The script host library, opened when no library was remembered.
LibraryChoice firstFallbackLibrary();
// The TypeLib Information library, opened when the remembered one is gone or changed identity.
LibraryChoice secondFallbackLibrary();

// The catalog key of a choice; an empty version matches some version of the GUID.
QString catalogKey(const LibraryChoice& choice);

// NormalOp refuses the start when it reads as the number 0 ("0", "00"); anything that is not a
// number counts as the default 1.
bool refusesToStart(const QString& normalOp);
inline constexpr auto kRefusedStartMessage =
    "Vantor has problems and can't load. Contact the author";

// The window's last geometry in twips; a value that is not a number gives its default.
struct WindowGeometry {
    double top = 100;
    double height = 6800;
    double width = 8265;
    double left = 100;
};
WindowGeometry readGeometry(const IniFile& ini);

// What start-up asks of a remembered library's file.
class LibraryFileCheck {
public:
    struct Identity {
        QString guid;
        int major = 0;
        int minor = 0;
    };
    virtual ~LibraryFileCheck() = default;
    // Whether the file (a catalog path, resource number removed) changed after dbTypes.dat.
    virtual bool isNewerThanCatalog(const QString& libraryPath) = 0;
    // Opens the file as a type library; throws Error when it cannot.
    virtual Identity readIdentity(const QString& libraryPath) = 0;
};

struct StartLibrary {
    qint32 index = -1; // the catalog record to open, -1 for none
    QString typeInfo;
    QString status; // a status-line message, or empty
};

// Picks the catalog record start-up opens when no argument names one: the remembered library,
// checked against its file when that is newer than the catalog, else the fallbacks. Errors from
// the file check propagate.
StartLibrary chooseStartLibrary(LibraryChoice last, const QStringList& tlDefs,
                                LibraryFileCheck& check);

} // namespace vantor
