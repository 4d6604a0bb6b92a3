#include "export/doc_source.h"

#include "tli/search_data.h"

namespace vantor {

QList<qint32> visitedRows(const DocSource& source, bool groupByKind) {
    QList<qint32> rows;
    if (groupByKind) {
        rows.reserve(source.kindOrder.size());
        for (const GroupPair& pair : source.kindOrder)
            if (pair.row >= 0 && pair.row < source.rows.size())
                rows.append(pair.row);
        return rows;
    }
    rows.reserve(source.rows.size());
    for (qint32 row = 0; row < source.rows.size(); ++row)
        rows.append(row);
    return rows;
}

std::optional<tli::TypeInfoView> rowTypeInfo(const DocSource& source, qint32 row) {
    const qint32 data = source.rows[row].itemData;
    if (tli::isGlobalsSearchData(data))
        return std::nullopt;
    return source.library->typeInfo(tli::typeInfoNumber(data));
}

} // namespace vantor
