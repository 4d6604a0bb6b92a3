#pragma once

#include <QString>
#include <QStringList>

namespace vantor {

// The member-name list for editor auto-completion: the names sorted in the text order, each
// once (names equal but for letter case count as one), each followed by CR LF.
// `names` is sorted in place.
QString distinctNames(QStringList& names, qint32 total);

} // namespace vantor
