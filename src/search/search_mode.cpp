#include "search/search_mode.h"

namespace vantor {

SearchModeLook searchModeLook(SearchMode mode) {
    const QString byHelp = QStringLiteral("Locate ProgID by Help String");
    switch (mode) {
    case SearchMode::TypeLibHelpString:
        return {QStringLiteral("Search TypeLib HelpStrings"), std::nullopt,
                QStringLiteral("Locate TypeLib by Help String"), false, false};
    case SearchMode::ProgIdHelpString:
        return {QStringLiteral("Search by ProgID Help String"), 0xBBFFFFu, byHelp, true, true};
    case SearchMode::Anywhere:
        return {QStringLiteral("Search types, members and constants of every library"),
                0xBBFFBBu,
                QStringLiteral("Find Anywhere"),
                false,
                false,
                true};
    case SearchMode::ProgId:
        break;
    }
    return {QStringLiteral("Search by ProgID"), 0xFFFFBBu, byHelp, true, true};
}

} // namespace vantor
