#pragma once

#include <QString>

namespace vantor {

// "Vantor - " + library name + " (" + file name + ")" for a loaded library (a resource number
// after the file is left out); "Vantor" when none is loaded.
QString libraryWindowTitle(const QString& libraryName, const QString& libraryPath);

} // namespace vantor
