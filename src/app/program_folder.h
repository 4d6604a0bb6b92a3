#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <functional>

namespace vantor {

// The file the build writes beside the programs it makes: its presence marks a build tree.
inline constexpr auto kBuildTreeMarker = "vantor-build-tree";

// Where vantor.ini, the catalogs, TLError.log, LibDocs and the overlay hive live: the
// executable's folder in a build tree, else $XDG_DATA_HOME/vantor (~/.local/share/vantor), also
// when the executable's folder is writable (an install into ~/.local keeps ~/.local/bin clean).
QString ProgramFolder(const QString& executableFolder, const QProcessEnvironment& env,
                      const std::function<bool(const QString&)>& isBuildTree);

// The same for this process (also before the application object exists), creating the folder.
QString ProgramFolder();

} // namespace vantor
