#include "browser/type_kind_order.h"

#include "catalog/range_sort.h"
#include "tli/tli_views.h"

#include <random>

namespace vantor {

qint16 categoryCode(const tli::TypeInfoView& info) {
    using tli::TypeKind;
    const std::optional<tli::TypeInfoView> shown =
        info.kind() == TypeKind::Alias ? info.finalType() : info;
    if (!shown)
        return 2;
    switch (shown->kind()) {
    case TypeKind::Enum:
        return 9;
    case TypeKind::Record:
        return 0;
    case TypeKind::Module:
        return 3;
    case TypeKind::Interface:
    case TypeKind::Dispatch:
        return 12;
    case TypeKind::Coclass:
        return (shown->typeFlags() & (tli::flag::TypeCanCreate | tli::flag::TypeControl)) ? 17 : 8;
    default:
        return 2;
    }
}

TypeKindOrder typeKindOrder(const QString& setting) {
    TypeKindOrder order = {6, 4, 5, 3, 2, 1, 7, 8, 9};
    const QStringList parts = setting.trimmed().split(u',');
    for (int k = 0; k < int(order.size()) && k < parts.size(); ++k) {
        bool ok = false;
        const int n = parts[k].trimmed().toInt(&ok);
        if (ok && n >= -32768 && n <= 32767)
            order[k] = qint16(n);
    }
    return order;
}

void sortGroupPairs(QList<GroupPair>& pairs, const TypeKindOrder& order) {
    const auto key = [&](const GroupPair& p) {
        return p.kind >= 0 && p.kind < qint16(order.size()) ? order[p.kind] : qint16(32767);
    };
    // A fixed seed keeps the export's order the same from run to run.
    std::minstd_rand random(20261206);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    quickSortRanges(0, qint32(pairs.size()) - 1, [&](qint32 lo, qint32 hi) {
        const auto p = qint32(unit(random) * (hi - lo + 1) + lo);
        pairs.swapItemsAt(std::min(p, hi), hi);
        const qint16 pivot = key(pairs[hi]);
        // Three parts (below, equal, above): libraries hold hundreds of types of one kind.
        qint32 lt = lo, i = lo, gt = hi;
        while (i <= gt) {
            const qint16 k = key(pairs[i]);
            if (k < pivot)
                pairs.swapItemsAt(lt++, i++);
            else if (k > pivot)
                pairs.swapItemsAt(i, gt--);
            else
                ++i;
        }
        return std::pair{lt, gt};
    });
}

} // namespace vantor
