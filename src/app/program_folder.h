#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <functional>

namespace vantor {

// Where vantor.ini, the catalogs, TLError.log, LibDocs and the overlay hive live: the
// executable's folder when it is writable, else $XDG_DATA_HOME/vantor (~/.local/share/vantor).
QString ProgramFolder(const QString& executableFolder, const QProcessEnvironment& env,
                      const std::function<bool(const QString&)>& isWritable);

// The same for this process, creating the folder when it is not there yet.
QString ProgramFolder();

} // namespace vantor
