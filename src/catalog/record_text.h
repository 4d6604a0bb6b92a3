#pragma once

#include "text/error.h"

#include <QString>

namespace vantor {

// Text rules the catalog builders share.

// A registry path without trailing blanks and one trailing NUL; empty when nothing is left.
QString cleanPath(QString path);

// Control characters become blanks (a record never spans lines); true when there were any.
bool blankControls(QString& text);

// The help-string field: quoted when it holds the field separator's comma.
QString quotedIfComma(const QString& text);

// The log line for an error that a builder resumes after; invalid-argument errors pass
// silently.
void logFault(QString& log, const QString& key, const Error& error);

} // namespace vantor
