#pragma once

#include "tli/msft_reader.h"

#include <QByteArrayView>

namespace vantor::tli {

class LibraryResolver;

// Whether the bytes start like an SLTG type library (the older format).
bool isSltg(QByteArrayView bytes);

// Reads an SLTG type library into the same model as readMsft: the same presentation (dispatch
// views, names looked up by member id), sizes as the library stores them. Imported libraries
// are looked up through `resolver` (may be null). Throws vantor::Error naming what is wrong
// when the bytes are not a sound library; never reads outside them.
TypeLib readSltg(QByteArrayView bytes, LibraryResolver* resolver);

LibraryIdentity readSltgIdentity(QByteArrayView bytes);

} // namespace vantor::tli
