#pragma once

#include <QString>
#include <QtGlobal>

namespace vantor {

// The name a prototype gives a variant type when the component names none ("Any" for every
// type the declaration syntax has no word for).
QString variantTypeName(quint16 variantType);

} // namespace vantor
