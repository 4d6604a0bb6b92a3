#include "search/gets_vers.h"

#include <QStringList>

namespace vantor {

QString GetsVers(const QString& progId) {
    QString digits;
    if (progId.contains(u'.')) {
        for (const QString& part : progId.split(u'.')) {
            bool ok = false;
            // A short part that is no number contributes nothing.
            const int n = part.toInt(&ok);
            if (part.size() < 3 && ok && n < 500)
                digits += QString::number(n);
        }
    }
    if (digits.size() == 2)
        return digits.left(1) + u'.' + digits.mid(1);
    return digits + QStringLiteral(".0");
}

} // namespace vantor
