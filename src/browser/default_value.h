#pragma once

#include "tli/type_lib.h"

#include <QString>
#include <optional>

namespace vantor {

// The text a prototype shows after " = " for a parameter's default value of a simple type, by
// the value's own variant type: a date between "#", a string between double quotes (escaped for
// RTF, since it comes from the file), a Boolean as True or False, a number in decimal. Empty
// when nothing is shown: a zero date, an empty string, a zero number, a value the component
// cannot copy.
QString formatDefaultValue(const tli::Value& value);

// The default as a Long, for finding the enumeration member it names; none when the value has no
// Long form (not a number, out of range).
std::optional<qint32> defaultAsLong(const tli::Value& value);

// A date as the declaration syntax writes it: M/D/YYYY, h:mm:ss AM/PM, or both.
QString formatDate(double oleDate);

} // namespace vantor
