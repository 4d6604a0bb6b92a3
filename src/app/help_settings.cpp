#include "app/help_settings.h"

#include "app/ini_file.h"

namespace vantor {

help::HelpSettings readHelpSettings(const IniFile& ini) {
    return {ini.ReadIni(settings::HelpPath), ini.ReadIni(settings::ScriptLibs),
            ini.ReadIni(settings::ScriptHelp), ini.ReadIni(settings::slDefaultPage),
            ini.ReadIni(settings::slMethodPrefix)};
}

std::function<QString(const QString&)> metaHelpReader(const IniFile& ini) {
    return [&ini](const QString& key) {
        return ini.ReadIni(QString::fromLatin1(settings::MetaHelpSection), key, QString());
    };
}

} // namespace vantor
