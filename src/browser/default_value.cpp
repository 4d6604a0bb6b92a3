#include "browser/default_value.h"

#include "browser/rtf_text.h"

#include <QDate>
#include <cmath>

namespace vantor {

using tli::Value;
namespace vt = tli::vt;

namespace {

// Short general form: up to `digits` significant digits, exponent as "E+20" / "E-45".
QString realText(double d, int digits) {
    QString s = QString::number(d, 'g', digits);
    const qsizetype e = s.indexOf(u'e');
    if (e < 0)
        return s;
    QString exponent = s.mid(e + 2);
    while (exponent.size() > 2 && exponent.startsWith(u'0'))
        exponent.remove(0, 1);
    return s.left(e) + u'E' + s.at(e + 1) + exponent;
}

QString currencyText(qint64 tenThousandths) {
    const bool negative = tenThousandths < 0;
    const quint64 magnitude = negative ? 0 - quint64(tenThousandths) : quint64(tenThousandths);
    QString s = QString::number(magnitude / 10000);
    if (quint64 fraction = magnitude % 10000) {
        QString f = QString::number(fraction).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return negative ? u'-' + s : s;
}

bool isInteger(quint16 type) {
    switch (type) {
    case vt::I1:
    case vt::UI1:
    case vt::I2:
    case vt::UI2:
    case vt::I4:
    case vt::UI4:
    case vt::I8:
    case vt::UI8:
    case vt::Int:
    case vt::UInt:
    case vt::Error:
        return true;
    default:
        return false;
    }
}

} // namespace

QString formatDate(double oleDate) {
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 2958466.0) // beyond 12/31/9999
        return QString();
    // The whole days count from 12/30/1899; the fraction is the time of day on either side.
    const double days = std::trunc(oleDate);
    qint64 seconds = qint64(std::llround(std::fabs(oleDate - days) * 86400.0));
    qint64 dayCount = qint64(days);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayCount += oleDate < 0 ? -1 : 1;
    }
    QString out;
    if (dayCount != 0) {
        const QDate d = QDate(1899, 12, 30).addDays(dayCount);
        out = QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year());
    }
    if (seconds != 0 || dayCount == 0) {
        const qint64 h = seconds / 3600;
        const QString time = QStringLiteral("%1:%2:%3 %4")
                                 .arg(h % 12 == 0 ? 12 : h % 12)
                                 .arg((seconds / 60) % 60, 2, 10, QChar(u'0'))
                                 .arg(seconds % 60, 2, 10, QChar(u'0'))
                                 .arg(h < 12 ? u"AM" : u"PM");
        out = out.isEmpty() ? time : out + u' ' + time;
    }
    return out;
}

QString formatDefaultValue(const Value& value) {
    if (value.state != Value::State::Present)
        return QString();
    switch (value.vt) {
    case vt::Date:
        return value.real == 0 ? QString() : u'#' + formatDate(value.real) + u'#';
    case vt::Bstr:
        return value.text.isEmpty() ? QString() : u'"' + RtfEscape(value.text) + u'"';
    case vt::Bool:
        return value.integer != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case vt::R4:
        return value.real == 0 ? QString() : realText(value.real, 7);
    case vt::R8:
        return value.real == 0 ? QString() : realText(value.real, 15);
    case vt::Cy:
        return value.integer == 0 ? QString() : currencyText(value.integer);
    default:
        if (isInteger(value.vt) && value.integer != 0)
            return value.vt == vt::UI8 ? QString::number(quint64(value.integer))
                                       : QString::number(value.integer);
        return QString(); // Empty, Null, a null object, a zero number
    }
}

std::optional<qint32> defaultAsLong(const Value& value) {
    if (value.state != Value::State::Present)
        return std::nullopt;
    double d = 0;
    switch (value.vt) {
    case vt::Bool:
        return value.integer != 0 ? -1 : 0;
    case vt::R4:
    case vt::R8:
    case vt::Date:
        d = value.real;
        break;
    case vt::Cy:
        d = double(value.integer) / 10000.0;
        break;
    default:
        if (!isInteger(value.vt))
            return std::nullopt;
        if (value.vt == vt::UI8 && value.integer < 0)
            return std::nullopt;
        d = double(value.integer);
    }
    // Rounds half to even, as a Long conversion does; out of range has no Long form.
    d = std::nearbyint(d);
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        return std::nullopt;
    return qint32(d);
}

} // namespace vantor
