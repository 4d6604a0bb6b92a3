// Any bytes as a catalog file: the line reader, every field of every record, and a lookup.
#include "catalog/bin_search.h"
#include "catalog/catalog_lines.h"
#include "catalog/get_token.h"
#include "text/error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CatalogKind kind = size % 2 ? CatalogKind::TypeLib : CatalogKind::ProgId;
    const CatalogLines lines = splitCatalogLines(bytes, kind);
    if (lines.records.isEmpty() || !lines.records.last().isEmpty() ||
        std::max<qsizetype>(lines.count, 1) != lines.records.size())
        __builtin_trap();
    for (const QString& record : lines.records) {
        for (int col = 0; col <= 6; ++col) {
            try {
                GetToken(col, record);
            } catch (const Error&) {
            }
        }
        qint32 index = -1;
        if (BinSearch(lines.records, record.left(10), index) == 1 &&
            (index < 0 || index >= lines.records.size()))
            __builtin_trap();
        if (index < 0 || index > lines.records.size())
            __builtin_trap();
    }
    return 0;
}
