#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

namespace vantor {

// dbTypes.dat and dbPID.dat: CR LF lines of Windows-1252 text, a fixed header, then one record
// per line.
inline constexpr auto kTypeLibHeader = "TypeLib_GUID, Version, Help_String, TLPath, LibName";
inline constexpr auto kProgIdHeader = "ProgID, CLSID, Help_String, ServerPath, TypeLib";
// What stands in for a record line that cannot be read.
inline constexpr auto kTypeLibPlaceholder =
    "{00000000-0000-0000-0000-000000000000}, 0.0, ShitHapen, c:\\junk, LibName";
inline constexpr auto kProgIdPlaceholder = " ";

enum class CatalogKind { TypeLib, ProgId };

struct CatalogLines {
    // The records in file order, then one empty element.
    QStringList records{QString()};
    // Lines ending in CR, header included: the number of records + 1.
    qint32 count = 0;
};

// Splits a whole catalog file on CR bytes; the byte after each CR is skipped unseen, bytes after
// the last CR are ignored, and a line of two characters or fewer becomes the placeholder. (A
// type library line without a path field becomes the placeholder too; LoadTLDefs sees to that.)
// `progress` (may be empty) receives the byte offset of each CR.
CatalogLines splitCatalogLines(QByteArrayView bytes, CatalogKind kind,
                               const std::function<void(qint64)>& progress = {});

} // namespace vantor
