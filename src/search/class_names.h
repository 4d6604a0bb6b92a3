#pragma once

#include <QString>

namespace vantor::tli {
class TypeLibInfo;
}

namespace vantor {

// The first coclass of the library whose GUID, or whose default interface's GUID, is `clsid`
// (ignoring case); "" when none is.
QString GetCoClsName(const tli::TypeLibInfo& library, const QString& clsid);
// The first interface of the library whose GUID is `clsid`; "" when none is.
QString GetIntFceName(const tli::TypeLibInfo& library, const QString& clsid);
// The class name of a class GUID in the library: the coclass, else the interface, else the GUID
// itself, two GUIDs of classes whose libraries name them differently mapped to those names.
QString classNameOf(const tli::TypeLibInfo& library, const QString& clsid);

} // namespace vantor
