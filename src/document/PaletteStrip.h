#pragma once
// The palette strip's rules, apart from painting: which cell a point hits,
// when a press and its release make a click, the scrolling by wheel, and the
// colours and places of the "1" and "2" labels.
//
// The strip shows the 32 palette indices (0 = the empty dot, 1–31 the
// palette entries) in columns of CellPitch DIPs, the first one being the
// scroll origin. Row 0 holds the colour cells, row 1 the material markers
// (under index 0 the row's caption instead).

#include <array>
#include <cstdint>
#include <optional>

#include "document/DotScroll.h"

class CDotDocument;

constexpr int PaletteIndices = ScrollCells; // the empty dot and 31 entries
constexpr int PaletteStripHeight = 2 * CellPitch;

enum class PaletteArea { None, Color, Material };

// What a point of the strip lies on: the area, the palette index of its
// column, and that cell's rectangle in DIPs.
struct PALETTE_HIT {
    PaletteArea area = PaletteArea::None;
    int index = -1;
    double left = 0, top = 0, right = 0, bottom = 0;

    // Left edge inclusive, right edge exclusive, top and bottom inclusive.
    bool Contains(double x, double y) const;
};

// The cell under point (x, y) in DIPs with scroll origin origin: a colour
// cell (y 0–19, its bottom edge included) for either button; below it a
// material marker (indices 1–31; y up to 38) for the left button only; None
// outside the 32 indices and elsewhere.
PALETTE_HIT HitPalette(int origin, double x, double y, int button);

// A completed click: the palette index and the button (0 left, 1 right).
struct PALETTE_CLICK {
    PaletteArea area;
    int index;
    int button;
};

// A press on the strip, waiting for its release. A click counts only when
// the release comes with the same button inside the pressed cell.
class CPalettePress {
public:
    // Remembers a press that hits a cell; returns whether it did.
    bool Press(int origin, int button, double x, double y);
    // The click a release makes, if any; the press is over either way.
    std::optional<PALETTE_CLICK> Release(int button, double x, double y);
    void Cancel() { pressed_ = {}; }
    bool IsPressed() const { return pressed_.area != PaletteArea::None; }

private:
    PALETTE_HIT pressed_;
    int button_ = -1;
};

// The scroll origin after a wheel turn of verticalSteps and horizontalSteps
// whole notches (positive away from the user, or to the left, as the
// toolkit reports them): the vertical wheel scrolls only while Shift is
// held; clamped to the page.
int PaletteWheelOrigin(int origin, int page, int verticalSteps, int horizontalSteps, bool shift);

// The colour of a label drawn on palette index index: the entry's colour
// with red, green and blue inverted, black on the empty dot (index 0). On
// colours near the middle grey, whose inverse hardly differs from them,
// black or white instead, whichever is farther from the colour's lightness.
uint32_t PaletteLabelColor(const CDotDocument& document, int index);

// Where a current-colour label sits in its cell: its text and the part of
// the cell it is centred in, as fractions of the cell's width. When both
// current colours are one index, "1" takes the left half and "2" the right
// half, so both stay readable.
struct PALETTE_LABEL {
    char text; // '1' or '2'
    int index; // palette index of the cell
    double from, to;
    bool shared; // two labels in one cell (drawn smaller)
};
std::array<PALETTE_LABEL, 2> PaletteLabels(const std::array<int32_t, 2>& currentColor);
