#include "text/text_order.h"

#include <algorithm>
#include <cstring>

namespace vantor {

int compareText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    qsizetype i = 0;
    // Runs of identical code units, four at a time: keys often share long prefixes.
    while (i + 4 <= n && std::memcmp(pa + i, pb + i, 8) == 0)
        i += 4;
    for (; i < n; ++i) {
        const char16_t ua = pa[i];
        const char16_t ub = pb[i];
        if (ua == ub)
            continue;
        const char16_t fa = foldCase(ua);
        const char16_t fb = foldCase(ub);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString foldedText(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        folded[i] = QChar(foldCase(text[i].unicode()));
    return folded;
}

bool startsWithText(QStringView text, QStringView prefix) {
    return text.size() >= prefix.size() && compareText(text.first(prefix.size()), prefix) == 0;
}

qsizetype indexOfText(QStringView haystack, QStringView needle, qsizetype from) {
    if (from < 0)
        from = 0;
    const qsizetype last = haystack.size() - needle.size();
    for (qsizetype i = from; i <= last; ++i) {
        if (compareText(haystack.sliced(i, needle.size()), needle) == 0)
            return i;
    }
    return -1;
}

} // namespace vantor
