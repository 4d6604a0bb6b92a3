#pragma once

#include "tli/type_lib.h"

#include <QByteArrayView>

namespace vantor::tli {

class LibraryResolver;

// The identity of a library, read from the header alone.
struct LibraryIdentity {
    Guid guid;
    quint16 major = 0;
    quint16 minor = 0;
    quint32 lcid = 0;
};

// Whether the bytes start like an MSFT type library.
bool isMsft(QByteArrayView bytes);

// Reads an MSFT type library into the model the type services present. Imported libraries are
// looked up through `resolver` (may be null: references into them then reach nothing). Throws
// vantor::Error naming what is wrong when the bytes are not a sound library; never reads
// outside them.
TypeLib readMsft(QByteArrayView bytes, LibraryResolver* resolver);

LibraryIdentity readMsftIdentity(QByteArrayView bytes);

} // namespace vantor::tli
