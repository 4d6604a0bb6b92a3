#include "catalog/registry_catalog_builders.h"

#include "catalog/write_app_file.h"
#include "platform/winpath/win_path.h"
#include "text/atomic_file.h"
#include "text/error.h"
#include "text/win1252.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace vantor {

RegistryCatalogBuilders::RegistryCatalogBuilders(registry::Store& store, QString programFolder,
                                                 TypeLibraryServices* services,
                                                 const winpath::PrefixPaths* paths)
    : store_(store), programFolder_(std::move(programFolder)), services_(services), paths_(paths),
      sleep_([](int ms) { QThread::msleep(ms); }) {
    sinceEvents_.start();
}

qint32 RegistryCatalogBuilders::systemLocale() const {
    cRegistry reg(store_);
    reg.setClassKey(HKEY_LOCAL_MACHINE);
    reg.setSectionKey(QStringLiteral("System\\CurrentControlSet\\Control\\Nls\\Language"));
    reg.setValueKey(QStringLiteral("Default"));
    bool ok = false;
    const qint32 locale = reg.Value().toString().trimmed().toInt(&ok, 16);
    return ok && locale > 0 ? locale : 1033;
}

void RegistryCatalogBuilders::yieldToEvents(CatalogFrame& frame) {
    if (sinceEvents_.elapsed() >= 50) {
        frame.ProcessPendingEvents();
        sinceEvents_.restart();
    }
}

QString RegistryCatalogBuilders::logLineHead(const char* file, qsizetype keys) const {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(" :Refresh %1 with %2 keys.\r\n").arg(QLatin1String(file)).arg(keys);
}

void RegistryCatalogBuilders::writeCatalog(const QString& name, const QString& text,
                                           const QString& log) {
    WriteAppFile(programFolder_, log, qint32(log.size() - 2), QStringLiteral("TLError.log"));
    const QString path = QDir(programFolder_).filePath(name);
    QString error;
    if (!writeFileAtomically(path, win1252::encode(text), &error))
        throw Error(Error::PathAccess, name, error);
}

bool RegistryCatalogBuilders::machineFileExists(const QString& windowsPath) const {
    if (!paths_)
        return QDir::isAbsolutePath(windowsPath) && QFileInfo(windowsPath).isFile();
    const QString host = paths_->toHost(windowsPath);
    return !host.isEmpty() && QFileInfo(host).isFile();
}

} // namespace vantor
