#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <optional>

namespace vantor {

// The instance tag is a local socket: a copy that listens on it is the running copy. Its name
// holds the user, the program folder and the machine, so that a test run or a second build
// never hands over to the user's own window and a start for another machine opens its own.
QString instanceSocketName(uint userId, const QString& programFolder, const QString& machinePath);

// The user's runtime folder ($XDG_RUNTIME_DIR when it is the user's own folder), else a private
// folder /tmp/vantor-UID made 0700; nullopt with `problem` set when neither is safe to use.
std::optional<QString> instanceFolder(const QProcessEnvironment& env, uint userId,
                                      QString& problem);

// Serialises the look for a running copy with the tagging of a new one, so that copies started
// at the same moment give one window. The lock is an flock on a file of the runtime folder and
// goes with the process.
class InstanceLock {
public:
    // Waits for the lock at most `waitMilliseconds`; held() says whether it was taken.
    InstanceLock(const QString& path, int waitMilliseconds);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    bool held() const { return fd_ >= 0; }
    void release();

private:
    int fd_ = -1;
};

// A connection to the running copy's socket, or -1 when no copy listens there (also when a
// crashed copy left its socket behind).
int FindRunningInstance(const QString& socketPath);

// Sends the hand-over message on the connection and waits for the answer at most
// `waitMilliseconds`; closes the connection. The foreground result, or nullopt when the running
// copy refused the message, closed the connection or did not answer in time.
std::optional<qint32> SendCommandLine(int connection, const QString& text, int waitMilliseconds);

} // namespace vantor
