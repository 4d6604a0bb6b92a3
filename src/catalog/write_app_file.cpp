#include "catalog/write_app_file.h"

#include "text/win1252.h"

#include <QDir>
#include <QFile>

namespace vantor {

qint32 WriteAppFile(const QString& programFolder, QStringView text, qint32 length,
                    const QString& relativePath) {
    QFile file(QDir(programFolder).filePath(relativePath));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return 0;
    const QByteArray bytes =
        win1252::encode(text.first(std::clamp<qsizetype>(length, 0, text.size()))) + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush() ? 1 : 0;
}

} // namespace vantor
