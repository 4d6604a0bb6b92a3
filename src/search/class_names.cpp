#include "search/class_names.h"

#include "text/text_order.h"
#include "tli/type_lib_info.h"

namespace vantor {

QString GetCoClsName(const tli::TypeLibInfo& library, const QString& clsid) {
    if (!library.isOpen())
        return QString();
    for (const tli::TypeInfoView& coClass : library.coClasses()) {
        if (equalsText(coClass.guidText(), clsid))
            return coClass.name();
        const std::optional<tli::TypeInfoView> def = coClass.defaultInterface();
        if (def && equalsText(def->guidText(), clsid))
            return coClass.name();
    }
    return QString();
}

QString GetIntFceName(const tli::TypeLibInfo& library, const QString& clsid) {
    if (!library.isOpen())
        return QString();
    for (const tli::TypeInfoView& iface : library.interfaces())
        if (equalsText(iface.guidText(), clsid))
            return iface.name();
    return QString();
}

QString classNameOf(const tli::TypeLibInfo& library, const QString& clsid) {
    QString name = GetCoClsName(library, clsid).trimmed();
    if (name.isEmpty())
        name = GetIntFceName(library, clsid).trimmed();
    if (name.isEmpty())
        name = clsid.trimmed();
    if (name.startsWith(u'{')) {
        if (equalsText(name, u"{06290BD5-48AA-11D2-8432-006008C3FBFC}"))
            return QStringLiteral("IGenScriptletTLib");
        if (equalsText(name, u"{5AAF51B2-B1F0-11d1-B6AB-00A0C90833E9}"))
            return QStringLiteral("DIBehaviorHandlerOM");
    }
    return name;
}

} // namespace vantor
