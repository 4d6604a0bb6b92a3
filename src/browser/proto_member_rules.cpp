#include "browser/proto_member_rules.h"

#include "browser/rtf_text.h"

namespace vantor::proto {

QString propertyTag(qint32 invokeKinds) {
    switch (invokeKinds) {
    case 2:
        return QStringLiteral("[Get/o]");
    case 4:
        return QStringLiteral("[o/Let]");
    case 6:
        return QStringLiteral("[Get/Let]");
    case 8:
        return QStringLiteral("[Set]");
    case 10:
        return QStringLiteral("[Get/Set]");
    case 12:
        return QStringLiteral("[Let/Set]");
    case 14:
        return QStringLiteral("[Get/Let/Set]");
    default:
        return QString();
    }
}

QString memberPrefix(bool constant, qint32 invokeKinds, quint16 returnType,
                     bool automationLibrary) {
    if (constant)
        return QStringLiteral("Const ");
    if (invokeKinds == tli::invoke::Func) {
        if (returnType == tli::vt::Variant)
            return automationLibrary ? QStringLiteral("Sub ") : QStringLiteral("Function ");
        if (returnType == tli::vt::Void || returnType == tli::vt::HResult)
            return QStringLiteral("Sub ");
        return QStringLiteral("Function ");
    }
    if (invokeKinds == tli::invoke::Event)
        return QStringLiteral("Event ");
    return QStringLiteral("Property ");
}

QString parameterSeparator(qint32 docMode) {
    return docMode == ScreenMode ? QStringLiteral(", \\i ") : QStringLiteral(", \\par\\tab \\i ");
}

QString integerHex(const tli::Value& value) {
    if ((value.vt != tli::vt::I2 && value.vt != tli::vt::I4 && value.vt != tli::vt::Int) ||
        (value.integer >= 0 && value.integer <= 15))
        return QString();
    // Hexadecimal of the value at its own width, as a negative one is stored.
    const quint32 bits = value.vt == tli::vt::I2 ? quint16(value.integer) : quint32(value.integer);
    return QStringLiteral("(&H") + QString::number(bits, 16).toUpper() + u')';
}

QString constantValueText(const tli::Value& value) {
    if (value.state != tli::Value::State::Present)
        return QString();
    switch (value.vt) {
    case tli::vt::I2:
    case tli::vt::I4:
    case tli::vt::Int: { // INT is 32 bits wide in every library
        const QString hex = integerHex(value);
        return QString::number(value.integer) + (hex.isEmpty() ? hex : u' ' + hex) +
               QStringLiteral("\\cf0");
    }
    case tli::vt::Bstr:
        return u'"' + RtfEscape(value.text) + QStringLiteral("\"\\cf0 ");
    default:
        return QString();
    }
}

QString fixedArrayText(qint32 lowerBound, qint32 upperBound) {
    return u'(' + QString::number(lowerBound) + QStringLiteral(" to ") +
           QString::number(upperBound) + u')';
}

} // namespace vantor::proto
