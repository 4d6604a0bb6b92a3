#include "app/settings_save.h"

#include "app/settings_keys.h"

namespace vantor {

void saveWindowSettings(IniFile& ini, const WindowSettings& s) {
    const auto write = [&ini](const settings::Key& k, const QString& v) {
        ini.WriteIni(QString::fromLatin1(k.section), QString::fromLatin1(k.key), v);
    };
    if (s.firstTime) {
        ini.WriteIni(QString::fromLatin1(settings::JoinFixSection),
                     QString::fromLatin1(settings::FirstJoinFixKey),
                     QString::fromLatin1(settings::FirstJoinFixValue));
        write(settings::GroupByTK, QString::fromLatin1(settings::FirstGroupByTK));
        write(settings::TKOrder, QString::fromLatin1(settings::TKOrder.defaultValue));
        write(settings::lt_Home,
              formatLibraryReference({QString::fromLatin1(settings::HomeLibraryGuid),
                                      s.scriptHostVersion,
                                      QString::fromLatin1(settings::HomeLibraryTypeInfo)}));
    }
    if (s.last)
        write(settings::lt_Last, formatLibraryReference(*s.last));
    write(settings::fklCHM, s.chmKeywordLookup ? QStringLiteral("1") : QStringLiteral("0"));
    write(settings::Height, QString::number(s.twips.height()));
    write(settings::Width, QString::number(s.twips.width()));
    write(settings::Top, QString::number(s.twips.top()));
    write(settings::Left, QString::number(s.twips.left()));
}

} // namespace vantor
