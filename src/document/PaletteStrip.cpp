#include "document/PaletteStrip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "document/DotDocument.h"

namespace {

constexpr int LeftButton = 0;
constexpr int RightButton = 1;
// How far apart, in one channel at least, a colour and its inverse must be
// for the inverse to serve as a label on it.
constexpr int MinLabelContrast = 64;

bool IsPaletteColumn(int index) { return index >= 0 && index < PaletteIndices; }

} // namespace

bool PALETTE_HIT::Contains(double x, double y) const {
    return x >= left && x < right && y >= top && y <= bottom;
}

PALETTE_HIT HitPalette(int origin, double x, double y, int button) {
    if (!std::isfinite(x) || !std::isfinite(y) || (button != LeftButton && button != RightButton))
        return {};
    // Toward zero, as everywhere in the views: a point just left of the
    // strip still names column 0, and the cell's own edges then refuse it.
    const double column = std::trunc(x / CellPitch);
    if (column < 0 || column >= PaletteIndices)
        return {};
    const int index = origin + static_cast<int>(column);
    if (!IsPaletteColumn(index))
        return {};
    PALETTE_HIT hit;
    hit.index = index;
    hit.left = column * CellPitch;
    hit.right = hit.left + CellPitch;
    hit.top = 0;
    hit.bottom = CellPitch;
    if (hit.Contains(x, y)) {
        hit.area = PaletteArea::Color;
        return hit;
    }
    // Under index 0 the material row shows its caption, not a marker.
    hit.top = CellPitch;
    hit.bottom = PaletteStripHeight;
    if (button == LeftButton && index > 0 && hit.Contains(x, y)) {
        hit.area = PaletteArea::Material;
        return hit;
    }
    return {};
}

bool CPalettePress::Press(int origin, int button, double x, double y) {
    pressed_ = HitPalette(origin, x, y, button);
    button_ = button;
    return IsPressed();
}

std::optional<PALETTE_CLICK> CPalettePress::Release(int button, double x, double y) {
    const PALETTE_HIT pressed = pressed_;
    Cancel();
    if (pressed.area == PaletteArea::None || button != button_ || !pressed.Contains(x, y))
        return std::nullopt;
    // The index pressed, also when the strip scrolled while the button was
    // held: the click is on what the user pressed.
    return PALETTE_CLICK{pressed.area, pressed.index, button};
}

int PaletteWheelOrigin(int origin, int page, int verticalSteps, int horizontalSteps, bool shift) {
    const int64_t vertical = shift ? verticalSteps : 0;
    const int64_t moved = int64_t{origin} - vertical - horizontalSteps;
    const int64_t limited = std::clamp<int64_t>(moved, -PaletteIndices, PaletteIndices);
    return ClampScroll(static_cast<int>(limited), page);
}

uint32_t PaletteLabelColor(const CDotDocument& document, int index) {
    if (index < 1 || index > PaletteSize)
        return 0;
    const uint32_t color = document.GetColor(index).color;
    // Near the middle grey the inverse is nearly the colour itself and the
    // label would vanish: black or white, whichever stands out.
    int farthest = 0;
    for (const int channel : {RedOf(color), GreenOf(color), BlueOf(color)})
        farthest = std::max(farthest, std::abs(2 * channel - 255));
    if (farthest < MinLabelContrast) {
        const int luma = (299 * RedOf(color) + 587 * GreenOf(color) + 114 * BlueOf(color)) / 1000;
        return luma >= 128 ? 0 : MakeColorRef(255, 255, 255);
    }
    return (color ^ 0xFFFFFFu) & 0xFFFFFFu;
}

std::array<PALETTE_LABEL, 2> PaletteLabels(const std::array<int32_t, 2>& currentColor) {
    const bool shared = currentColor[0] == currentColor[1];
    return {PALETTE_LABEL{'1', currentColor[0], 0.0, shared ? 0.5 : 1.0, shared},
            PALETTE_LABEL{'2', currentColor[1], shared ? 0.5 : 0.0, 1.0, shared}};
}
