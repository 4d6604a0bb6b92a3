#pragma once

#include <QList>
#include <QString>
#include <array>

namespace vantor::tli {
class TypeInfoView;
}

namespace vantor {

// The image index of a type-info row: by the kind an alias finally names, 17 for a creatable
// coclass or a control.
qint16 categoryCode(const tli::TypeInfoView& info);

// Order numbers of type kinds 0 to 8 from the TKOrder setting ("6,4,5,3,2,1,7,8,9": entry k is
// the order of kind k). A missing or unreadable entry keeps the default's.
using TypeKindOrder = std::array<qint16, 9>;
TypeKindOrder typeKindOrder(const QString& setting);

// A type-info row and its type kind, as the documentation export groups them.
struct GroupPair {
    qint16 row = 0;
    qint16 kind = 0;
    bool operator==(const GroupPair&) const = default;
};

// Sorts the pairs by the order number of their kind: an iterative quicksort over a CStack of
// pending ranges with a random pivot; pairs of equal order keep no particular order.
void sortGroupPairs(QList<GroupPair>& pairs, const TypeKindOrder& order);

} // namespace vantor
