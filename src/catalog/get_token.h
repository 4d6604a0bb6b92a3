#pragma once

#include <QString>
#include <QStringView>

namespace vantor {

// Field `nCol` (1 to 5) of a catalog line. Fields are separated by ", "; fields 2 to 5 may be
// quoted (returned with their quotes); field 5 runs to the end of the line, untrimmed.
// Throws Error (InvalidCall) when the line does not hold that field, as a line that cannot be
// cut into fields is not a record.
QString GetToken(int nCol, QStringView sLine);
// The same as a view into the line, for scans that copy only the fields they keep.
QStringView GetTokenView(int nCol, QStringView sLine);
// The same for lookups that treat a damaged line as holding nothing: "" instead of the error.
QString GetTokenOrEmpty(int nCol, QStringView sLine);

} // namespace vantor
