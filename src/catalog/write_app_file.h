#pragma once

#include <QString>
#include <QStringView>

namespace vantor {

// Appends the first `length` characters of `text` and CR LF, as Windows-1252, to the file at
// `relativePath` in the program folder (created when absent). 1 on success, 0 when the file
// could not be written.
qint32 WriteAppFile(const QString& programFolder, QStringView text, qint32 length,
                    const QString& relativePath);

} // namespace vantor
