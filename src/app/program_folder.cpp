#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vantor {

QString ProgramFolder(const QString& executableFolder, const QProcessEnvironment& env,
                      const std::function<bool(const QString&)>& isWritable) {
    if (isWritable(executableFolder))
        return QDir::cleanPath(executableFolder);
    QString data = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = env.value(QStringLiteral("HOME")) + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/vantor"));
}

QString ProgramFolder() {
    const QString folder = ProgramFolder(
        QCoreApplication::applicationDirPath(), QProcessEnvironment::systemEnvironment(),
        [](const QString& dir) { return QFileInfo(dir).isWritable(); });
    QDir().mkpath(folder);
    return folder;
}

} // namespace vantor
