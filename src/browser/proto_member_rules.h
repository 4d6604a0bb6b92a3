#pragma once

#include "tli/type_lib.h"

#include <QString>
#include <QtGlobal>

// The small rules of a member prototype, each a plain function of plain inputs.
namespace vantor::proto {

// The screen form; every other DocMode value is a document form.
inline constexpr qint32 ScreenMode = 1;

// "[Get/Let]" and the like, by the accessors a property row carries; empty for other values.
QString propertyTag(qint32 invokeKinds);

// "Const ", "Function ", "Sub ", "Event " or "Property ". `automationLibrary`: the library's
// first type info is a coclass whose default interface is named "Automation"; its Variant
// functions read as Subs.
QString memberPrefix(bool constant, qint32 invokeKinds, quint16 returnType, bool automationLibrary);

// What goes between two parameters: one line in the screen form, a line each in documents.
QString parameterSeparator(qint32 docMode);

// The text after " = " of a constant: "255 (&HFF)", "7", "\"text\"" and the colour reset that
// follows it; empty for a value of another type.
QString constantValueText(const tli::Value& value);

// "(" lower " to " upper ")" of a fixed array's first dimension.
QString fixedArrayText(qint32 lowerBound, qint32 upperBound);

// The true upper bound of a dimension when the component reports element counts where upper
// bounds belong (found by the calibration against stdole2's GUID record).
inline qint64 upperFromCount(qint32 lowerBound, qint64 reported) {
    return qint64(lowerBound) + reported - 1;
}

} // namespace vantor::proto
