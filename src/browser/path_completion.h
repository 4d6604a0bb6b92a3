#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vantor {

struct PathBoxEntry;

// The path box after a completion step: its text, the caret and the selected tail.
struct PathCompletion {
    QString text;
    int selectionStart = 0;
    int selectionLength = 0;
};

// Completes typing in the path box one folder at a time. `stop` is the position where the last
// completion stopped (0: none); it is updated. Nothing to change gives nullopt.
std::optional<PathCompletion> completePath(const QList<PathBoxEntry>& entries, const QString& text,
                                           int caret, int& stop);

// The first entry that starts with `prefix`, ignoring case; -1 without one.
int findPathEntry(const QList<PathBoxEntry>& entries, const QString& prefix);

} // namespace vantor
