#include "app/instance_tag.h"

#include "app/hand_over_message.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantor {

namespace {

// The folder is usable when it is a real folder of the user that nobody else can enter.
bool isPrivateFolder(const QByteArray& path, uint userId) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == userId &&
           (st.st_mode & 077) == 0;
}

// Waits until `fd` is ready for `events`; false when the deadline passed first.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(qMin<qint64>(deadline.remainingTime(), 1000)));
        if (r > 0)
            return true;
        if ((r < 0 && errno != EINTR) || deadline.hasExpired())
            return false;
    }
}

} // namespace

QString instanceSocketName(uint userId, const QString& programFolder, const QString& machinePath) {
    const QByteArray hash = QCryptographicHash::hash(
        (QDir::cleanPath(programFolder) + u'\n' + machinePath).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("quillet-Vantor") + QStringLiteral("_APPLICATION-%1-%2")
                                                  .arg(userId)
                                                  .arg(QString::fromLatin1(hash.toHex().left(12)));
}

std::optional<QString> instanceFolder(const QProcessEnvironment& env, uint userId,
                                      QString& problem) {
    const QString runtime = env.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(QFile::encodeName(runtime), userId))
        return QDir::cleanPath(runtime);
    const QString own = QStringLiteral("/tmp/vantor-%1").arg(userId);
    const QByteArray path = QFile::encodeName(own);
    ::mkdir(path.constData(), 0700);
    if (isPrivateFolder(path, userId))
        return own;
    problem = own + QStringLiteral(" is not a private folder of this user");
    return std::nullopt;
}

InstanceLock::InstanceLock(const QString& path, int waitMilliseconds) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    const QDeadlineTimer deadline(waitMilliseconds);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (deadline.hasExpired()) {
            ::close(fd);
            return;
        }
        QThread::msleep(5);
    }
    fd_ = fd;
}

InstanceLock::~InstanceLock() {
    release();
}

void InstanceLock::release() {
    if (fd_ >= 0)
        ::close(fd_); // closing drops the lock
    fd_ = -1;
}

int FindRunningInstance(const QString& socketPath) {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof(address.sun_path)))
        return -1;
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<qint32> SendCommandLine(int connection, const QString& text, int waitMilliseconds) {
    const QDeadlineTimer deadline(waitMilliseconds);
    const QByteArray message = encodeHandOver(text);
    qsizetype sent = 0;
    while (sent < message.size()) {
        if (!waitFor(connection, POLLOUT, deadline))
            break;
        const ssize_t n = ::send(connection, message.constData() + sent,
                                 size_t(message.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
        sent += qMax<ssize_t>(n, 0);
    }
    QByteArray reply;
    while (sent == message.size() && reply.size() < 4 && waitFor(connection, POLLIN, deadline)) {
        char bytes[4];
        const ssize_t n = ::recv(connection, bytes, size_t(4 - reply.size()), 0);
        if (n == 0 || (n < 0 && errno != EINTR))
            break;
        reply.append(bytes, qMax<ssize_t>(n, 0));
    }
    ::close(connection);
    return decodeHandOverReply(reply);
}

} // namespace vantor
