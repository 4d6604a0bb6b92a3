#include "app/mru_slots.h"

namespace vantor {

QString mruKey(qint32 n) {
    return QStringLiteral("mru%1").arg(n, 2, 10, QLatin1Char('0'));
}

qint32 RemoveMruSlot(IniFile& ini, QStringView section, QStringView key, qint32 n) {
    const QString last = mruKey(n);
    ini.WriteIni(section, key, ini.ReadWhole(section, last).value_or(QString()));
    ini.DeleteIniKey(section, last);
    ini.WriteIni(section, QStringLiteral("count"), n - 1);
    return n - 1;
}

} // namespace vantor
