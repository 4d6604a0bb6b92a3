#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace vantor {

// Splits at every occurrence of `delimiter` (matched exactly), keeping empty parts. An empty
// text gives an empty list; an empty delimiter gives the whole text as one part.
QStringList Split(const QString& text, QStringView delimiter);

// Replaces every occurrence of `find`, ignoring case, scanning left to right and resuming after
// each match, so replaced text is never scanned again. An empty `find` changes nothing.
QString ReplaceAll(const QString& text, QStringView find, QStringView replacement);

// The text backwards; a surrogate pair stays one character.
QString Reverse(QStringView text);

// The text without leading and trailing spaces (only U+0020, not tabs or line breaks).
QString TrimSpaces(QStringView text);

// The value of a hexadecimal digit, or -1.
int HexDigit(QChar c);

} // namespace vantor
