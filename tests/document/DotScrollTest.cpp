// The dot view's scroll arithmetic: page size, clamping, ensure-visible,
// pointer cells and wheel steps.

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "document/DotScroll.h"

TEST(DotScroll, PageCountsTheCellsThatFit) {
    EXPECT_EQ(ScrollPage(0), 1);
    EXPECT_EQ(ScrollPage(18), 1);
    EXPECT_EQ(ScrollPage(36), 1);
    EXPECT_EQ(ScrollPage(37), 2);
    EXPECT_EQ(ScrollPage(19 * 31 + 18), 32);
    EXPECT_EQ(ScrollPage(5000), 32);
    EXPECT_EQ(ScrollPage(-40), 1);
    EXPECT_EQ(ScrollPage(std::numeric_limits<double>::quiet_NaN()), 1);
}

TEST(DotScroll, ClampKeepsTheLastPageFullAndGrowingWindowsReturnToZero) {
    EXPECT_EQ(ClampScroll(-3, 10), 0);
    EXPECT_EQ(ClampScroll(25, 10), 22);
    EXPECT_EQ(ClampScroll(12, 10), 12);
    // All 32 fit: back to the first column.
    EXPECT_EQ(ClampScroll(12, 32), 0);
    EXPECT_EQ(ClampScroll(INT_MAX, 1), 31);
}

TEST(DotScroll, EnsureVisibleMovesOnlyAsFarAsNeeded) {
    EXPECT_EQ(EnsureVisibleOrigin(5, 0, 10), 0);
    EXPECT_EQ(EnsureVisibleOrigin(10, 0, 10), 1);
    EXPECT_EQ(EnsureVisibleOrigin(3, 8, 10), 3);
    EXPECT_EQ(EnsureVisibleOrigin(-50, 8, 10), 0);
    EXPECT_EQ(EnsureVisibleOrigin(500, 0, 10), 22);
}

TEST(DotScroll, PointerCellsTruncateTowardZeroAndStayNearTheGrid) {
    EXPECT_EQ(CellAt(0, 18.9), 0);
    EXPECT_EQ(CellAt(0, 19), 1);
    EXPECT_EQ(CellAt(4, 40), 6);
    EXPECT_EQ(CellAt(4, -5), 4); // toward zero, not down
    EXPECT_EQ(CellAt(4, -19), 3);
    EXPECT_EQ(CellAt(0, 1e12), FarCells);
    EXPECT_EQ(CellAt(0, -1e12), -FarCells);
    EXPECT_EQ(CellAt(0, std::numeric_limits<double>::infinity()), 0);
}

TEST(DotScroll, WheelStepsAddUpSmallDeltasAndLimitHugeOnes) {
    CWheelSteps wheel;
    EXPECT_EQ(wheel.Add(120), 1);
    EXPECT_EQ(wheel.Add(-240), -2);
    // A touchpad: eight deltas of 15 make one notch.
    int steps = 0;
    for (int i = 0; i < 8; ++i)
        steps += wheel.Add(15);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(wheel.Add(-60), 0);
    EXPECT_EQ(wheel.Add(-60), -1);
    EXPECT_EQ(wheel.Add(INT_MAX), ScrollCells);
    wheel.Reset();
    EXPECT_EQ(wheel.Add(INT_MIN), -ScrollCells);
    wheel.Reset();
    EXPECT_EQ(wheel.Add(119), 0);
    wheel.Reset();
    EXPECT_EQ(wheel.Add(1), 0);
}
