#pragma once

#include "app/ini_file.h"
#include "browser/library_reference.h"

#include <QRect>
#include <optional>

namespace vantor {

// What the main window's close records in the settings file.
struct WindowSettings {
    // No settings file was there at start-up: the first-time keys are written too.
    bool firstTime = false;
    QString scriptHostVersion;            // the catalog's, for the home library
    std::optional<LibraryReference> last; // the library and type info in the lists
    bool chmKeywordLookup = false;
    QRect twips; // the window's normal geometry
};

void saveWindowSettings(IniFile& ini, const WindowSettings& settings);

} // namespace vantor
