#include "app/window_layout.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

// A 90-twip splitter bar (6 pixels at 15 twips per pixel), the default LVHght.
const LayoutMetrics kMetrics = LayoutMetrics::make(90, 1000, 15);

LayoutState settled(double W, double H) {
    const WindowLayout first = layoutWindow(kMetrics, LayoutState{}, W, H);
    return layoutWindow(kMetrics, first.state, W, H).state;
}

} // namespace

TEST(WindowLayout, FirstLayoutGivesLowerAreaItsMinimumAndFillsWithLists) {
    // LVHght 5000 is used as 3000.
    EXPECT_DOUBLE_EQ(LayoutMetrics::make(90, 5000, 15).lowerMinimum - kMetrics.lowerMinimum, 2000);
    const double W = 8000, H = 6000;
    const WindowLayout first = layoutWindow(kMetrics, LayoutState{}, W, H);
    EXPECT_DOUBLE_EQ(first.lower.height, kMetrics.lowerMinimum);
    EXPECT_NE(first.state.firstFree, kFirstLayoutSentinel);
    EXPECT_DOUBLE_EQ(first.lists.top, 550);
    EXPECT_DOUBLE_EQ(first.lists.left, 45);
    EXPECT_DOUBLE_EQ(first.lists.width, W - 45);
    // The areas and the margins add up to the inner height; the lower area ends a margin above
    // the bottom.
    EXPECT_DOUBLE_EQ(550 + first.lists.height + first.lower.height + 2 * 45, H);
    EXPECT_DOUBLE_EQ(first.lower.top + first.lower.height + 45, H);
    EXPECT_DOUBLE_EQ(first.find.left, W - 2615 - 45);
    EXPECT_DOUBLE_EQ(first.find.width, 2615);
    EXPECT_FALSE(first.pushBackOuterHeight);
}

TEST(WindowLayout, GrowingSplitsFortySixtyShrinkingSixtyFortyUntilTheMinimum) {
    const LayoutState before = settled(8000, 6000);
    const WindowLayout grown = layoutWindow(kMetrics, before, 8000, 9000);
    EXPECT_DOUBLE_EQ(grown.lower.height - before.lowerHeight, 1200);
    EXPECT_DOUBLE_EQ(grown.lists.height - before.listHeight, 1800);
    // Shrinking takes sixty percent from the lower area.
    const WindowLayout shrunk = layoutWindow(kMetrics, grown.state, 8000, 8000);
    EXPECT_DOUBLE_EQ(grown.lower.height - shrunk.lower.height, 600);
    EXPECT_DOUBLE_EQ(grown.lists.height - shrunk.lists.height, 400);

    // A shrink the lower area cannot take leaves it at its minimum; the lists take the rest.
    const double H = kMetrics.contentMinimum + 10;
    const WindowLayout small = layoutWindow(kMetrics, shrunk.state, 8000, H);
    EXPECT_DOUBLE_EQ(small.lower.height, kMetrics.lowerMinimum);
    EXPECT_DOUBLE_EQ(small.lists.height, H - 550 - kMetrics.lowerMinimum - 90);
    EXPECT_FALSE(small.pushBackOuterHeight);

    // Below the content minimum the window is pushed back.
    const WindowLayout tiny =
        layoutWindow(kMetrics, small.state, 8000, kMetrics.contentMinimum - 500);
    ASSERT_TRUE(tiny.pushBackOuterHeight);
    // Three margins and LVHght in whole pixels: (135 + 1000) / 15.
    const double d = 75;
    EXPECT_DOUBLE_EQ(tiny.lower.height, kMetrics.lowerMinimum - d);
    EXPECT_DOUBLE_EQ(*tiny.pushBackOuterHeight, kMetrics.contentMinimum - d);
    // Shrinking further keeps the same fixed lower area.
    const WindowLayout tinier =
        layoutWindow(kMetrics, tiny.state, 8000, kMetrics.contentMinimum - 1500);
    EXPECT_DOUBLE_EQ(tinier.lower.height, tiny.lower.height);
}

TEST(WindowLayout, LowerAreaKeepsPathRowStatusRowAndPaneMinimum) {
    const double w = 7900;
    const LowerLayout at = layoutLowerArea(kMetrics, w, kMetrics.lowerMinimum);
    EXPECT_DOUBLE_EQ(at.pane.height, 800);
    EXPECT_DOUBLE_EQ(at.pane.width, w - 90);
    EXPECT_GE(at.mru.height, kMetrics.lvHeight);
    // Nothing overlaps, top to bottom, and the path box ends 3m before the buttons.
    EXPECT_LE(at.pane.top + at.pane.height, at.pathBox.top);
    EXPECT_LE(at.pathBox.top + at.pathBox.height, at.mru.top);
    EXPECT_LE(at.mru.top + at.mru.height, at.status.top);
    EXPECT_DOUBLE_EQ(at.pathBox.left + at.pathBox.width + 3 * 45, at.browse.left);
    EXPECT_DOUBLE_EQ(at.quit.left, w - 90 - 509);
    EXPECT_LE(at.browse.left + at.browse.width, at.quit.left);
    EXPECT_DOUBLE_EQ(at.progress.left, w - 90 - 2000);
    EXPECT_DOUBLE_EQ(at.status.top, kMetrics.lowerMinimum - 315);
    EXPECT_DOUBLE_EQ(at.status.left + at.status.width + 90, at.progress.left);

    // Extra height goes to the pane; below the minimum the pane keeps 800.
    const LowerLayout taller = layoutLowerArea(kMetrics, w, kMetrics.lowerMinimum + 700);
    EXPECT_DOUBLE_EQ(taller.pane.height, 1500);
    EXPECT_DOUBLE_EQ(taller.mru.height, at.mru.height);
    EXPECT_DOUBLE_EQ(layoutLowerArea(kMetrics, w, 1000).pane.height, 800);
}
