#pragma once

#include <QByteArray>
#include <QString>

namespace vantor::help {

// Text of a help file in the code page of its language (the LCID /#SYSTEM gives): Windows-1252
// for the Western languages and for any language this table does not know.
QString decodeHelpText(const QByteArray& bytes, quint32 lcid);

} // namespace vantor::help
