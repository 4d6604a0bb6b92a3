#include "app/second_start.h"

#include "app/ini_file.h"
#include "app/settings_keys.h"
#include "platform/registry/machine.h"

#include <QDir>
#include <unistd.h>

namespace vantor {

StartKind checkSecondStart(const QStringList& args, const QProcessEnvironment& env,
                           const QString& programFolder, QTextStream& err) {
    StartKind start;
    const uint user = ::getuid();
    QString problem;
    const std::optional<QString> folder = instanceFolder(env, user, problem);
    if (!folder) {
        err << "vantor: " << problem << "; this window does not take hand-overs\n";
        return start;
    }
    const IniFile ini(QDir(programFolder).filePath(QStringLiteral("vantor.ini")));
    const registry::MachineChoice choice =
        registry::chooseMachine(args, ini.ReadIni(settings::Registry), env);
    const QString socket = QDir(*folder).filePath(
        instanceSocketName(user, programFolder, choice.machine.canonicalPath()));
    auto lock =
        std::make_unique<InstanceLock>(socket + QStringLiteral(".lock"), kHandOverWaitMilliseconds);
    if (!lock->held()) {
        err << "vantor: another copy holds " << socket << ".lock; this window does not take "
            << "hand-overs\n";
        return start;
    }
    const int running = FindRunningInstance(socket);
    if (running >= 0) {
        lock->release();
        const std::optional<qint32> answer =
            SendCommandLine(running, choice.commandLine.trimmed(), kHandOverWaitMilliseconds);
        if (!answer)
            err << "vantor: the running copy did not take the argument\n";
        start.exitStatus = answer ? 0 : 1;
        return start;
    }
    start.claim = std::make_shared<InstanceClaim>(InstanceClaim{socket, std::move(lock)});
    return start;
}

} // namespace vantor
