#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vantor::win1252 {

// Windows-1252, exactly as Windows converts it: the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same number, both ways.
QString decode(QByteArrayView bytes);

// Characters the code page cannot hold become "?" (one per character, a surrogate pair
// included).
QByteArray encode(QStringView text);

// The byte for one UTF-16 code unit, or -1 when the code page has none.
int byteFor(char16_t unit);

} // namespace vantor::win1252
