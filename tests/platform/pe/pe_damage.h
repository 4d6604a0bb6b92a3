#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace vantor::pe::testing {

struct DamageReport {
    int reads = 0;
    int errors = 0;
    QStringList unclearErrors; // errors that do not name the file
};

// file name -> TYPELIB ids, as the oracle's index lists them.
QMap<QString, QList<quint16>> indexedTypelibs();

// Real files with TYPELIB, icon and version resources, PE32 and PE32+, as full paths.
QStringList damageSample();

// Reads the file cut at `truncations` evenly spaced lengths, then with `corruptions` single-byte
// corruptions aimed at what a resource reader reads (the headers, the resource tree, the
// TYPELIB, icon group and version bytes). Every read either succeeds or fails with an error
// naming the file; a crash or hang is the caller's finding. An unreadable or intact-but-rejected
// file is reported as an unclear error.
DamageReport damageFile(const QString& path, int truncations, int corruptions, quint32 seed);

} // namespace vantor::pe::testing
