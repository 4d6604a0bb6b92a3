#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace vantor {

// The one case-insensitive text order behind every sort, binary search and lookup: UTF-16 code
// units compared after folding each to lower case, the shorter text first on a tie. No locale
// collation, so a catalog sorts the same for every user.
inline char16_t foldCase(char16_t unit) {
    if (unit < 0x80)
        return (unit >= 'A' && unit <= 'Z') ? char16_t(unit + 32) : unit;
    return QChar::toLower(unit);
}

// The text with every unit folded as the order folds it: equal texts fold to equal strings.
QString foldedText(QStringView text);

// < 0, 0 or > 0.
int compareText(QStringView a, QStringView b);

inline bool equalsText(QStringView a, QStringView b) {
    return a.size() == b.size() && compareText(a, b) == 0;
}

// Whether `text` starts with `prefix` in the text order.
bool startsWithText(QStringView text, QStringView prefix);

// Position of the first occurrence of `needle` at or after `from`, ignoring case; -1 when none.
qsizetype indexOfText(QStringView haystack, QStringView needle, qsizetype from = 0);

} // namespace vantor
