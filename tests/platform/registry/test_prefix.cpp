#include "platform/registry/test_prefix.h"

#include "platform/registry/tree_compare.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <filesystem>

namespace vantor::registry::test {

TestPrefix::TestPrefix() {
    QDir root(dir_.path());
    valid_ = dir_.isValid() && root.mkpath(QStringLiteral("prefix/dosdevices")) &&
             root.mkpath(QStringLiteral("prefix/drive_c/Windows/System32")) &&
             root.mkpath(QStringLiteral("program"));
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
        const QString target = prefix() + u'/' + QString::fromLatin1(name);
        valid_ = valid_ && QFile::copy(primaryHive(name), target) &&
                 QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    // As in every Wine prefix, Z: is the host's root.
    valid_ = valid_ &&
             QFile::link(QStringLiteral("../drive_c"), prefix() + QStringLiteral("/dosdevices/c:"));
    std::error_code linked;
    std::filesystem::create_directory_symlink(
        "/", (prefix() + QStringLiteral("/dosdevices/z:")).toStdString(), linked);
    valid_ = valid_ && !linked;
    const QDir system32(prefix() + QStringLiteral("/drive_c/Windows/System32"));
    for (const QString& file : QDir(wineBinaries()).entryList(QDir::Files))
        valid_ = valid_ && QFile::link(wineBinaries() + u'/' + file, system32.filePath(file));
}

QByteArray TestPrefix::hivesHash() const {
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char* name : {"system.reg", "user.reg", "userdef.reg"})
        h.addData(vantor::test::readFile(prefix() + u'/' + QLatin1String(name)));
    return h.result();
}

} // namespace vantor::registry::test
