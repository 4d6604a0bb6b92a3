#include "catalog/hex_ver.h"

#include "text/string_helpers.h"

namespace vantor {
namespace {

// The leading hexadecimal digits of a part, as a number; 0 when there are none.
quint64 hexValue(QStringView part) {
    quint64 value = 0;
    for (const QChar c : part) {
        const int digit = HexDigit(c);
        if (digit < 0 || value > (quint64(1) << 59))
            break;
        value = value * 16 + quint64(digit);
    }
    return value;
}

} // namespace

QString HexVer(QStringView versionKey) {
    const qsizetype dot = versionKey.indexOf(u'.');
    const QStringView major = dot < 0 ? versionKey : versionKey.first(dot);
    const QStringView minor = dot < 0 ? QStringView() : versionKey.sliced(dot + 1);
    const quint64 majorValue = hexValue(major);
    const quint64 minorValue = hexValue(minor);
    if (majorValue <= 9 && minorValue <= 9)
        return versionKey.toString();
    const QString majorText = majorValue > 9 ? QString::number(majorValue) : major.toString();
    if (dot < 0)
        return majorText;
    return majorText + u'.' + (minorValue > 9 ? QString::number(minorValue) : minor.toString());
}

} // namespace vantor
