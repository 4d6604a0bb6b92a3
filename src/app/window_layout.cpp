#include "app/window_layout.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {
constexpr double kTopStrip = 550; // the toolbar strip above the lists
constexpr double kFindWidth = 2615;
constexpr double kStatusRow = 315;
constexpr double kPaneMinimum = 800;
constexpr double kPathRow = 360;
constexpr double kButtonWidth = 509;
constexpr double kBrowseWidth = 400;
constexpr double kProgressWidth = 2000;
constexpr double kListsMinimum = 400;
} // namespace

double clampLvHeight(double lvHght) {
    return std::min(lvHght, 3000.0);
}

LayoutMetrics LayoutMetrics::make(double splitterBar, double lvHght, int twipsPerPixelY) {
    LayoutMetrics m;
    m.margin = splitterBar / 2;
    m.lvHeight = clampLvHeight(lvHght);
    m.lowerMinimum = m.lvHeight + kStatusRow + kPaneMinimum + kPathRow + 5 * splitterBar;
    m.contentMinimum = kTopStrip + m.lowerMinimum + kListsMinimum;
    m.twipsPerPixelY = twipsPerPixelY > 0 ? twipsPerPixelY : 15;
    return m;
}

WindowLayout layoutWindow(const LayoutMetrics& metrics, const LayoutState& previous, double W,
                          double H) {
    const double m = metrics.margin;
    WindowLayout out;
    out.state = previous;
    out.find.width = kFindWidth;
    out.find.left = W - kFindWidth - m;
    out.lists = {m, kTopStrip, W - m, previous.listHeight};
    out.lower = {m, 0, W - m, previous.lowerHeight};

    const double free = H - kTopStrip - previous.listHeight - previous.lowerHeight - 2 * m;
    double& lower = out.lower.height;
    if (previous.firstFree == kFirstLayoutSentinel) {
        lower = metrics.lowerMinimum;
        out.state.firstFree = free;
    } else if (free > 0) {
        lower += 0.4 * free;
    } else if (free < 0 && H >= metrics.contentMinimum) {
        const double shrink = -free;
        if (lower - 0.6 * shrink > metrics.lowerMinimum)
            lower -= 0.6 * shrink;
        else
            lower = metrics.lowerMinimum;
    } else if (free < 0) {
        // Below the minimum: hold the lower area at its fixed layout and push the window back.
        const long long d =
            std::llround(3 * m + metrics.lvHeight) / static_cast<long long>(metrics.twipsPerPixelY);
        lower = metrics.lowerMinimum - static_cast<double>(d);
        out.pushBackOuterHeight = metrics.contentMinimum - static_cast<double>(d);
    }
    out.lower.top = H - lower - m;
    out.lists.height = H - kTopStrip - lower - 2 * m;
    out.state.listHeight = out.lists.height;
    out.state.lowerHeight = lower;
    return out;
}

LowerLayout layoutLowerArea(const LayoutMetrics& metrics, double w, double h) {
    const double m = metrics.margin;
    LowerLayout out;
    const double paneHeight = std::max(kPaneMinimum, kPaneMinimum + h - metrics.lowerMinimum);
    out.pane = {0, 0, w - 2 * m, paneHeight};
    const double rowTop = paneHeight + m;
    // cmdQuit stands outermost at the fixed left; cmdBrowse just before it.
    const double quitLeft = w - 2 * m - kButtonWidth;
    out.quit = {quitLeft, rowTop, kButtonWidth, kPathRow - m};
    out.browse = {quitLeft - kBrowseWidth, rowTop, kBrowseWidth, kPathRow - m};
    out.pathBox = {0, rowTop, std::max(0.0, out.browse.left - 3 * m), kPathRow - m};
    const double statusTop = h - kStatusRow;
    out.progress = {w - 2 * m - kProgressWidth, statusTop, kProgressWidth, kStatusRow - m};
    out.status = {0, statusTop, std::max(0.0, out.progress.left - 2 * m), kStatusRow - m};
    const double mruTop = rowTop + kPathRow + m;
    out.mru = {0, mruTop, w - 2 * m, std::max(0.0, statusTop - m - mruTop)};
    return out;
}

} // namespace vantor
