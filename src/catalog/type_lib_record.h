#pragma once

#include <QString>
#include <QStringView>

namespace vantor {

// A record of the type library catalog cut into its five fields (GetToken's 1 to 5); a field
// the line does not hold is empty, as in a damaged catalog.
struct TypeLibRecord {
    QString guid;
    QString version;    // major.minor in decimal
    QString helpString; // with its quotes when it was written quoted
    QString path;
    QString libName;

    static TypeLibRecord parse(QStringView line);
};

} // namespace vantor
