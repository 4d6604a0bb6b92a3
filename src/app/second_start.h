#pragma once

#include "app/instance_tag.h"

#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

namespace vantor {

// How long a second copy waits for the running one: for the instance lock, and for the answer
// to its hand-over (a hung first copy must not keep it waiting for ever).
inline constexpr int kHandOverWaitMilliseconds = 60000;

// A first copy's hold on the instance tag: the socket to listen on, and the lock kept until it
// listens.
struct InstanceClaim {
    QString socketPath;
    std::unique_ptr<InstanceLock> lock;
};

struct StartKind {
    // This start handed its argument to the running copy (0) or gave up waiting for it (1).
    std::optional<int> exitStatus;
    // Otherwise, the first copy's claim; null when no private runtime folder could be used (the
    // window then opens untagged, and says so on `err`).
    std::shared_ptr<InstanceClaim> claim;
};

// Steps 1 and 2 of start-up, before anything needs a display: with the instance lock held, a
// copy running for the same program folder and machine gets the argument text.
// `args`: the process arguments without the program and without Qt's own options.
StartKind checkSecondStart(const QStringList& args, const QProcessEnvironment& env,
                           const QString& programFolder, QTextStream& err);

} // namespace vantor
