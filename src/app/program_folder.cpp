#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace vantor {

QString ProgramFolder(const QString& executableFolder, const QProcessEnvironment& env,
                      const std::function<bool(const QString&)>& isBuildTree) {
    if (isBuildTree(executableFolder))
        return QDir::cleanPath(executableFolder);
    QString data = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = env.value(QStringLiteral("HOME")) + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/vantor"));
}

QString ProgramFolder() {
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString folder = ProgramFolder(
        QFileInfo(executable).absolutePath(), QProcessEnvironment::systemEnvironment(),
        [](const QString& dir) {
            return QFileInfo::exists(QDir(dir).filePath(QString::fromLatin1(kBuildTreeMarker)));
        });
    QDir().mkpath(folder);
    return folder;
}

} // namespace vantor
