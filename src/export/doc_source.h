#pragma once

#include "browser/type_kind_order.h"
#include "tli/type_lib_info.h"

#include <QList>

namespace vantor {

// What the process-wide DocMode tells the prototype formatter and the documents.
namespace docmode {
enum : qint32 { RtfDocument = 2, HtmlDocument = 3, XmlDocument = 5, MemberNames = 6 };
}

// The loaded library as the documents read it: the type-info list's rows and the kind-ordered
// index of them (every row but "<globals>").
struct DocSource {
    const tli::TypeLibInfo* library = nullptr;
    QList<tli::ListRow> rows;
    QList<GroupPair> kindOrder;
};

// The rows a document visits: in kind order when grouping, else every row in list order.
QList<qint32> visitedRows(const DocSource& source, bool groupByKind);

// The type info a row designates; nullopt for the "<globals>" row.
std::optional<tli::TypeInfoView> rowTypeInfo(const DocSource& source, qint32 row);

} // namespace vantor
