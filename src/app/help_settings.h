#pragma once

#include "help/help_config.h"

#include <functional>

namespace vantor {

class IniFile;

// The [MetaHelp] settings the help resolution reads at start-up.
help::HelpSettings readHelpSettings(const IniFile& ini);
// A key of the [MetaHelp] section, empty when missing; `ini` must outlive the reader.
std::function<QString(const QString&)> metaHelpReader(const IniFile& ini);

} // namespace vantor
