#pragma once

#include <QString>

namespace vantor {

// What a document says about its library besides the types: the library name and description
// columns of the selected recently-used row (empty when none is selected), the path box's text
// and the current help file.
struct DocHead {
    QString libraryName;
    QString description;
    QString path;
    QString helpFile;
};

} // namespace vantor
