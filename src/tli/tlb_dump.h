#pragma once

#include "tli/type_lib.h"

#include <QByteArray>

namespace vantor::tli {

// The canonical text of a library, as tlbdump prints it (UTF-8, one line per library, type
// info, implemented type, function, parameter, variable and interface view), so that two
// versions of a library, or our reading and the type services' own, compare with diff.
QByteArray dumpTypeLib(const TypeLib& lib);

// One type descriptor ("PTR(USERDEFINED(ref(IFoo)))") and one stored value ("I4:496"), as the
// dump writes them.
QString dumpType(const TypeLib& lib, TypeId id);
QString dumpValue(const TypeLib& lib, qint32 valueIndex);

// The text for a library that could not be read: "library ERR(0x........)".
QByteArray dumpLoadError(int number);

} // namespace vantor::tli
