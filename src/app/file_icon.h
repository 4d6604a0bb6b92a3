#pragma once

#include <QIcon>
#include <QString>

namespace vantor {

// A library file's own small icon: the first icon group of the PE file at `hostPath`. A null
// icon when the file cannot be read, is not a PE file or has no icon.
QIcon libraryFileIcon(const QString& hostPath);

} // namespace vantor
