#pragma once

#include <QString>

namespace vantor::cli {

class CliMachine;

// The catalog record a LIBRARY argument names: "{GUID}" or "{GUID}:major.minor", a library path
// as the catalog names it, a host file of the machine, a file name ("mshtml.tlb",
// "vbscript.dll\3"), or a library name. Throws Error when it names none, and when it names
// several (the message lists them).
qint32 catalogRecord(CliMachine& machine, const QString& argument);

// The library file a LIBRARY argument names: an existing file (a host path, or a Windows path of
// the machine, with an optional "\N") as it is, else the path of its catalog record.
QString libraryFile(CliMachine& machine, const QString& argument);

} // namespace vantor::cli
