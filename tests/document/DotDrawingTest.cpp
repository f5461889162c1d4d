// The tools' drawing algorithms: the exact line, dragged rectangles clipped
// to the grid, and the flood fill's 4-connectivity.

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "document/DotDrawing.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

Cells Line(DotPoint from, DotPoint to) {
    Cells cells;
    PlotLine(from, to, [&](int x, int y) { cells.emplace_back(x, y); });
    return cells;
}

std::set<std::pair<int, int>> Set(const Cells& cells) { return {cells.begin(), cells.end()}; }

// The cells of image that hold value.
std::set<std::pair<int, int>> CellsOf(const CDotImage& image, int value) {
    std::set<std::pair<int, int>> cells;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetDot(x, y) == value)
                cells.emplace(x, y);
    return cells;
}

} // namespace

TEST(DotLine, ShallowAndSteepExamplesAreExactInBothDirections) {
    EXPECT_EQ(Line({0, 0}, {3, 1}), (Cells{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Line({3, 1}, {0, 0}), (Cells{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    // Steep, the coordinates running in opposite directions.
    EXPECT_EQ(Line({0, 3}, {2, 0}), (Cells{{2, 0}, {1, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(Line({2, 0}, {0, 3}), (Cells{{2, 0}, {1, 1}, {0, 2}, {0, 3}}));
    EXPECT_EQ(Line({7, 9}, {7, 9}), (Cells{{7, 9}}));
}

TEST(DotLine, EveryLineIsConnectedSymmetricAndEndsAtItsEnds) {
    for (int x1 = -3; x1 <= 9; ++x1) {
        for (int y1 = -3; y1 <= 9; ++y1) {
            const Cells forward = Line({2, 3}, {x1, y1});
            const Cells backward = Line({x1, y1}, {2, 3});
            ASSERT_EQ(Set(forward), Set(backward)) << x1 << "," << y1;
            EXPECT_TRUE(Set(forward).count({2, 3}) && Set(forward).count({x1, y1}));
            const size_t longer = size_t(std::max(std::abs(x1 - 2), std::abs(y1 - 3)) + 1);
            EXPECT_EQ(forward.size(), longer);
            for (size_t i = 1; i < forward.size(); ++i) {
                EXPECT_LE(std::abs(forward[i].first - forward[i - 1].first), 1);
                EXPECT_LE(std::abs(forward[i].second - forward[i - 1].second), 1);
            }
        }
    }
}

TEST(DotLine, DrawingSkipsCellsOutsideTheImage) {
    CDotImage image(32, 32);
    DrawLine(image, {-10, -10}, {40, 40}, 4);
    EXPECT_EQ(CellsOf(image, 4).size(), 32u);
    EXPECT_EQ(image.GetDot(0, 0), 4);
    EXPECT_EQ(image.GetDot(31, 31), 4);
}

TEST(DotRectangle, DragsNormaliseAndClipAtTheGrid) {
    EXPECT_EQ(RangeRect({5, 5}, {2, 8}, {32, 32}), (DotRect{2, 5, 6, 9}));
    EXPECT_EQ(RangeRect({30, 4}, {90, -7}, {32, 32}), (DotRect{30, 0, 32, 5}));
    // Wholly outside: nothing.
    EXPECT_TRUE(RangeRect({40, 3}, {50, 9}, {32, 32}).IsEmpty());

    CDotImage outline(32, 32);
    DrawOutline(outline, RangeRect({28, 28}, {60, 60}, {32, 32}), 3);
    EXPECT_EQ(CellsOf(outline, 3).size(), 4u + 4u + 3u + 3u - 2u); // 4 × 4 ring
    EXPECT_EQ(outline.GetDot(31, 31), 3);

    CDotImage line(32, 32);
    DrawOutline(line, {4, 6, 9, 7}, 2); // height 1: one row
    EXPECT_EQ(CellsOf(line, 2),
              (std::set<std::pair<int, int>>{{4, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 6}}));

    CDotImage filled(32, 32);
    DrawFilledRect(filled, {-5, 30, 3, 99}, 9);
    EXPECT_EQ(CellsOf(filled, 9).size(), 3u * 2u);
}

TEST(DotFill, StaysInsideFourConnectedRegionsAndReportsChange) {
    // A diagonal wall of 1s: the fill must not pass between its corners.
    CDotImage image(32, 32);
    for (int i = 0; i < 32; ++i)
        image.SetDot(i, 31 - i, 1);
    EXPECT_TRUE(FloodFill(image, {0, 0}, 5));
    const auto filled = CellsOf(image, 5);
    EXPECT_EQ(filled.size(), 31u * 32u / 2u); // the triangle above the wall
    EXPECT_EQ(image.GetDot(31, 31), 0);

    EXPECT_FALSE(FloodFill(image, {0, 0}, 5)); // already that colour
    EXPECT_FALSE(FloodFill(image, {-1, 4}, 6));
    EXPECT_FALSE(FloodFill(image, {3, 32}, 6));
}

TEST(DotFill, FillsAWholeLargeBlockWithoutDeepRecursion) {
    CDotImage image(255, 255);
    EXPECT_TRUE(FloodFill(image, {100, 100}, 7));
    EXPECT_EQ(CellsOf(image, 7).size(), 255u * 255u);
}
