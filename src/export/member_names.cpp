#include "export/member_names.h"

#include "catalog/sort_strings.h"
#include "text/text_order.h"

namespace vantor {

QString distinctNames(QStringList& names, qint32 total) {
    SortStrings(names);
    QString out;
    out.reserve(total);
    const QString* previous = nullptr;
    for (const QString& name : names) {
        if (previous && equalsText(name, *previous))
            continue;
        out += name;
        out += QStringLiteral("\r\n");
        previous = &name;
    }
    return out;
}

} // namespace vantor
