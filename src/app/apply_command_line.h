#pragma once

#include <QString>

namespace vantor {

class Catalogs;
class LibraryFileOpener;
class MainWindow;
namespace winpath {
class PrefixPaths;
}

// ApplyCommandLine: opens what CommandLine names. A GUID argument selects its type info in the
// catalog record its key finds (nothing when none does); a type library file is opened as "Open
// Library File..." does; any other text is searched as a ProgID (Srch2Set). Errors end it
// quietly, leaving the window as it was.
void ApplyCommandLine(const QString& commandLine, MainWindow& window, const Catalogs& catalogs,
                      LibraryFileOpener& files, const winpath::PrefixPaths* paths);

} // namespace vantor
