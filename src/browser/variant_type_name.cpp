#include "browser/variant_type_name.h"

#include "tli/type_lib.h"

namespace vantor {

QString variantTypeName(quint16 variantType) {
    switch (variantType) {
    case 2:
        return QStringLiteral("Integer");
    case 3:
        return QStringLiteral("Long");
    case 7:
        return QStringLiteral("Date");
    case 8:
    case 30:
    case 31:
        return QStringLiteral("String");
    case 9:
        return QStringLiteral("Object");
    case 11:
        return QStringLiteral("Boolean");
    case 12:
        return QStringLiteral("Variant");
    case 16:
    case 17:
    case 65:
        return QStringLiteral("Byte");
    case tli::vt::FixedArrayBit:
        return QStringLiteral("FixedArray");
    case tli::vt::SafeArrayBit:
        return QStringLiteral("DynamicArray");
    default:
        return QStringLiteral("Any");
    }
}

} // namespace vantor
