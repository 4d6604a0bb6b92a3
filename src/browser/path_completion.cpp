#include "browser/path_completion.h"

#include "catalog/catalogs.h"
#include "text/text_order.h"

namespace vantor {

int findPathEntry(const QList<PathBoxEntry>& entries, const QString& prefix) {
    for (int i = 0; i < entries.size(); ++i)
        if (startsWithText(entries[i].text, prefix))
            return i;
    return -1;
}

std::optional<PathCompletion> completePath(const QList<PathBoxEntry>& entries, const QString& text,
                                           int caret, int& stop) {
    if (text.size() != stop + 1)
        stop = 0;
    int c = std::clamp(caret, 0, int(text.size()));
    if (stop != 0)
        c = std::min(stop, int(text.size()));
    const int found = findPathEntry(entries, text.left(c));
    if (found < 0)
        return std::nullopt;
    const QString& entry = entries[found].text;
    // The first backslash at or after character c (counted from 1).
    const qsizetype slash = entry.indexOf(u'\\', std::max(c - 1, 0));
    if (slash < 0) {
        stop = 0;
        return PathCompletion{entry, c, 0};
    }
    const QString completed = entry.left(slash + 1);
    stop = int(slash) + 2;
    return PathCompletion{completed, c, int(completed.size()) - c};
}

} // namespace vantor
