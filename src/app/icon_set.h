#pragma once

#include <QIcon>

namespace vantor {

// The images of the lists, the library list view and its header, by image index: list
// categories (0 record, 1 property, 2 other, 3 module, 5 globals, 6 event, 7 constant,
// 8 coclass, 9 enumeration, 10 method, 12 interface, 17 creatable coclass), sort arrows 18
// (reversed order) and 19 (text order), library files 20 ocx, 21 dll, 22 exe.
QIcon listImage(int index);

// The toolbar strip: 0 search, 1 back, 2 forward, 3 copy, 4 next interface, 11 minimize the
// lower area, 13 help.
QIcon toolbarImage(int index);

// A row's image index in the member list from its invoke kinds; `constantType` when the
// selected type info's category flags have the constant bit.
int memberImageIndex(qint32 invokeKinds, bool constantType);

// The generic image of a library file by the last three characters of its path.
int libraryFileImageIndex(const QString& path);

} // namespace vantor
