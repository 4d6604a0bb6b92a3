#include "catalog/bin_search.h"

#include "text/text_order.h"

namespace vantor {

int BinSearch(const QStringList& array, QStringView key, qint32& index) {
    if (array.isEmpty()) {
        index = 0;
        return 0;
    }
    qint32 lo = 0;
    qint32 hi = qint32(array.size()) - 1;
    const qsizetype n = key.size();
    qint32 m = 0;
    int c = 0;
    for (;;) {
        m = lo + (hi - lo) / 2;
        const QString& element = array[m];
        c = compareText(QStringView(element).first(std::min(n, element.size())), key);
        if (c == 0) {
            index = m;
            return 1;
        }
        if (c > 0) {
            hi = m;
            if (lo == hi)
                break;
        } else {
            lo = m + 1;
            if (lo > hi)
                break;
        }
    }
    index = c < 0 ? m + 1 : m;
    return 0;
}

} // namespace vantor
