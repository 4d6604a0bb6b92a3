#include "platform/pe/resource_key.h"

#include "text/text_order.h"

namespace vantor::pe {

bool ResourceKey::matches(const ResourceKey& other) const {
    if (isId() != other.isId())
        return false;
    return isId() ? id() == other.id() : equalsText(name_, other.name_);
}

QString ResourceKey::toString() const {
    return isId() ? QStringLiteral("#%1").arg(id()) : name_;
}

} // namespace vantor::pe
