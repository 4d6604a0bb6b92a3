#pragma once

#include "app/ini_file.h"
#include "browser/library_reference.h"

#include <QString>
#include <QStringList>

namespace vantor {

// The script host library, opened when no library was remembered.
LibraryReference firstFallbackLibrary();
// The TypeLib Information library, opened when the remembered one is gone or changed identity.
LibraryReference secondFallbackLibrary();

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
StartLibrary chooseStartLibrary(LibraryReference last, const QStringList& tlDefs,
                                LibraryFileCheck& check);

} // namespace vantor
