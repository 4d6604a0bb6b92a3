#include "text/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

bool fail(QString* error, const QString& what) {
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

// Written on POSIX calls because a short write must count as a failure: QSaveFile in Qt 6.4
// commits a file cut short by a full disk and reports success.
bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return fail(error, QStringLiteral("Cannot create a file beside ") + path);
    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0;
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok) {
            data += n;
            left -= n;
        }
    }
    ok = ok && ::fsync(fd) == 0;
    const int savedErrno = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.constData(), target.constData()) == 0)
        return true;
    if (errno == 0)
        errno = savedErrno;
    const bool reported = fail(error, QStringLiteral("Cannot write ") + path);
    ::unlink(temp.constData());
    return reported;
}

} // namespace vantor
