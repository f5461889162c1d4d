// The palette strip's rules: which cell a point hits, when a press and its
// release make a click, the wheel, and the colour of the labels.

#include <gtest/gtest.h>

#include <limits>

#include "document/DotDocument.h"
#include "document/PaletteStrip.h"

namespace {

constexpr int Left = 0;
constexpr int Right = 1;

} // namespace

TEST(PaletteStrip, PointsHitTheColourCellOrTheMarkerOfTheirColumn) {
    // Column 2 with origin 5 is palette index 7; the colour cell keeps its
    // bottom edge.
    PALETTE_HIT hit = HitPalette(5, 2 * 19 + 3, 19, Left);
    EXPECT_EQ(hit.area, PaletteArea::Color);
    EXPECT_EQ(hit.index, 7);
    EXPECT_EQ(hit.left, 38);
    EXPECT_EQ(hit.right, 57);
    EXPECT_EQ(HitPalette(5, 2 * 19 + 3, 19.5, Left).area, PaletteArea::Material);
    EXPECT_EQ(HitPalette(5, 2 * 19 + 3, 38, Left).area, PaletteArea::Material);
    EXPECT_EQ(HitPalette(0, 18.99, 0, Right).index, 0);
    EXPECT_EQ(HitPalette(0, 19, 0, Right).index, 1);
    // Right presses pick colours but never touch markers.
    EXPECT_EQ(HitPalette(0, 30, 5, Right).area, PaletteArea::Color);
    EXPECT_EQ(HitPalette(0, 30, 25, Right).area, PaletteArea::None);
}

TEST(PaletteStrip, PointsOutsideTheIndicesOrTheStripHitNothing) {
    // Left of the strip: the column would truncate to 0, but the cell
    // refuses it.
    EXPECT_EQ(HitPalette(0, -5, 5, Left).area, PaletteArea::None);
    EXPECT_EQ(HitPalette(0, 32 * 19 + 1, 5, Left).area, PaletteArea::None);
    // Scrolled by 4: the last four columns of a wide strip are past 31.
    EXPECT_EQ(HitPalette(4, 27 * 19 + 1, 5, Left).index, 31);
    EXPECT_EQ(HitPalette(4, 28 * 19 + 1, 5, Left).area, PaletteArea::None);
    EXPECT_EQ(HitPalette(0, 40, 38.5, Left).area, PaletteArea::None);
    // Under the empty dot the row shows its caption, which toggles nothing.
    EXPECT_EQ(HitPalette(0, 5, 25, Left).area, PaletteArea::None);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(HitPalette(0, nan, 5, Left).area, PaletteArea::None);
    EXPECT_EQ(HitPalette(0, 1e300, 5, Left).area, PaletteArea::None);
    EXPECT_EQ(HitPalette(0, 5, 5, 2).area, PaletteArea::None);
}

TEST(PaletteStrip, AClickNeedsTheSameButtonAndCellAtRelease) {
    CPalettePress press;
    ASSERT_TRUE(press.Press(0, Left, 3 * 19 + 2, 4));
    auto click = press.Release(Left, 3 * 19 + 18, 19);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->area, PaletteArea::Color);
    EXPECT_EQ(click->index, 3);
    EXPECT_EQ(click->button, Left);
    EXPECT_FALSE(press.IsPressed());
    // Released over the next cell, with the other button, or a second time.
    press.Press(0, Left, 3 * 19 + 2, 4);
    EXPECT_FALSE(press.Release(Left, 4 * 19 + 1, 4));
    press.Press(0, Right, 3 * 19 + 2, 4);
    EXPECT_FALSE(press.Release(Left, 3 * 19 + 2, 4));
    EXPECT_FALSE(press.Release(Right, 3 * 19 + 2, 4));
    // A cancelled press makes no click.
    press.Press(0, Left, 3 * 19 + 2, 25);
    EXPECT_TRUE(press.IsPressed());
    press.Cancel();
    EXPECT_FALSE(press.Release(Left, 3 * 19 + 2, 25));
    // A press on nothing, then a release on a cell.
    EXPECT_FALSE(press.Press(0, Right, 3 * 19 + 2, 25));
    EXPECT_FALSE(press.Release(Right, 3 * 19 + 2, 25));
    // The index pressed counts, also when the strip scrolled meanwhile.
    ASSERT_TRUE(press.Press(6, Left, 19 + 5, 30));
    click = press.Release(Left, 19 + 5, 30);
    ASSERT_TRUE(click);
    EXPECT_EQ(click->area, PaletteArea::Material);
    EXPECT_EQ(click->index, 7);
}

TEST(PaletteStrip, TheVerticalWheelScrollsOnlyWithShift) {
    EXPECT_EQ(PaletteWheelOrigin(5, 10, -2, 0, false), 5);
    EXPECT_EQ(PaletteWheelOrigin(5, 10, -2, 0, true), 7);
    // The horizontal wheel needs no Shift.
    EXPECT_EQ(PaletteWheelOrigin(5, 10, 0, -3, false), 8);
    // Clamped to the last full page and to the first column.
    EXPECT_EQ(PaletteWheelOrigin(20, 10, -30, 0, true), 22);
    EXPECT_EQ(PaletteWheelOrigin(3, 10, 0, 40, false), 0);
    EXPECT_EQ(PaletteWheelOrigin(3, 32, -5, 0, true), 0);
    EXPECT_EQ(PaletteWheelOrigin(0, 1, std::numeric_limits<int>::min(),
                                 std::numeric_limits<int>::min(), true),
              31);
}

TEST(PaletteStrip, LabelsAreTheEntrysColourInvertedUnlessThatIsNearlyTheSame) {
    CDotDocument document;
    document.GetColor(4).SetColor(MakeColorRef(0x12, 0x80, 0xFF));
    EXPECT_EQ(PaletteLabelColor(document, 4), MakeColorRef(0xED, 0x7F, 0x00));
    // Greys near the middle would get a label in nearly their own colour.
    document.GetColor(5).SetColor(MakeColorRef(110, 110, 110));
    EXPECT_EQ(PaletteLabelColor(document, 5), MakeColorRef(255, 255, 255));
    document.GetColor(5).SetColor(MakeColorRef(150, 140, 130));
    EXPECT_EQ(PaletteLabelColor(document, 5), 0u);
    document.GetColor(5).SetColor(MakeColorRef(128, 128, 200));
    EXPECT_EQ(PaletteLabelColor(document, 5), MakeColorRef(127, 127, 55));
    EXPECT_EQ(PaletteLabelColor(document, 0), 0u);
    EXPECT_EQ(PaletteLabelColor(document, 32), 0u);
}
