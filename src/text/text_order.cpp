#include "text/text_order.h"

#include <algorithm>

namespace vantor {

int compareText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.data();
    const QChar* pb = b.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ua = pa[i].unicode();
        const char16_t ub = pb[i].unicode();
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
