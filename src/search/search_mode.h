#pragma once

#include <QString>
#include <optional>

namespace vantor {

// The items of the Search menu; exactly one is checked. Anywhere searches the symbol index.
enum class SearchMode { TypeLibHelpString = 0, ProgIdHelpString = 1, ProgId = 2, Anywhere = 3 };
inline constexpr int kSearchModeCount = 4;

// What the mode shows: the search box's tooltip and background, the search window's caption,
// and whether the popup items that act on a class ("Copy HTML Object Tag Reference", "Copy
// TypeInfo", "Allow ProgID/Object Instantiation") may be enabled.
struct SearchModeLook {
    QString toolTip;
    // Windows colour value (blue in the high byte); nullopt: the system window colour.
    std::optional<unsigned> background;
    QString windowCaption;
    bool progIdShown = false;
    bool classItemsAllowed = false;
    // The window lists symbols (name, type, library, value) with the kind check boxes.
    bool symbolList = false;
};

SearchModeLook searchModeLook(SearchMode mode);

} // namespace vantor
