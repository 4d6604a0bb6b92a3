#pragma once

#include <QString>

namespace vantor {

// A library of the catalog and a type info in it, as the settings keep it:
// "GUID:major.minor.TypeInfo". The version (major.minor) may be empty.
struct LibraryReference {
    QString guid;
    QString version;
    QString typeInfo;
    bool operator==(const LibraryReference&) const = default;
};

// The last "." ends the version, the first ":" before it ends the GUID. Without "." nothing is
// set; without ":" only the type info.
LibraryReference parseLibraryReference(const QString& text);
QString formatLibraryReference(const LibraryReference& reference);

// The catalog key of a reference; an empty version matches some version of the GUID.
QString catalogKey(const LibraryReference& reference);

} // namespace vantor
