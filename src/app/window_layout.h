#pragma once

#include <optional>

namespace vantor {

// The fixed measures of the main window, in twips, computed once when the window loads.
struct LayoutMetrics {
    double margin = 0;         // half the splitter bar size
    double lvHeight = 1000;    // LVHght, at most 3000
    double lowerMinimum = 0;   // pbRTFMin: the lower area's least height
    double contentMinimum = 0; // the least inner height of the window
    int twipsPerPixelY = 15;

    static LayoutMetrics make(double splitterBar, double lvHght, int twipsPerPixelY);
};

// LVHght as read: values above 3000 are taken as 3000.
double clampLvHeight(double lvHght);

// The sentinel that marks a layout which has not run yet.
inline constexpr double kFirstLayoutSentinel = 999.99;

// What the last layout left: the heights of the list area and the lower area, and the free
// height of the first layout (the sentinel before it).
struct LayoutState {
    double listHeight = 0;  // pbLB
    double lowerHeight = 0; // pbRTF
    double firstFree = kFirstLayoutSentinel;
};

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct WindowLayout {
    Rect find;  // pbFind; only left and width are set
    Rect lists; // pbLB
    Rect lower; // pbRTF
    LayoutState state;
    // Set when the window is below its content minimum: the outer height (twips) it is pushed
    // back to.
    std::optional<double> pushBackOuterHeight;
};

// Lays the window out for inner width and height W, H (twips) from the previous state.
WindowLayout layoutWindow(const LayoutMetrics& metrics, const LayoutState& previous, double W,
                          double H);

// The lower area's children, from its inner width and height (twips).
struct LowerLayout {
    Rect pane;     // Label1
    Rect pathBox;  // cbText1
    Rect quit;     // cmdQuit
    Rect browse;   // cmdBrowse
    Rect mru;      // the MRU list view
    Rect status;   // lblStatus
    Rect progress; // picProgress
};
LowerLayout layoutLowerArea(const LayoutMetrics& metrics, double w, double h);

} // namespace vantor
