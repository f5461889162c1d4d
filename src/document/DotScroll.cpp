#include "document/DotScroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

int ScrollPage(double extent) {
    if (!(extent > 0)) // also NaN
        return 1;
    const double cells = 1 + std::trunc((extent - (CellPitch - 1)) / CellPitch);
    return static_cast<int>(std::clamp(cells, 1.0, double(ScrollCells)));
}

int ClampScroll(int origin, int page) {
    return std::clamp(origin, 0, std::max(0, ScrollCells - page));
}

int EnsureVisibleOrigin(int cell, int origin, int page) {
    if (cell >= origin + page)
        origin = cell - page + 1;
    else if (cell < origin)
        origin = cell;
    return ClampScroll(origin, page);
}

int CellAt(int origin, double dip) {
    const double offset = std::isfinite(dip) ? std::trunc(dip / CellPitch) : 0.0;
    const double cell = origin + std::clamp(offset, -double(FarCells), double(FarCells));
    return static_cast<int>(std::clamp(cell, -double(FarCells), double(ScrollCells + FarCells)));
}

int CWheelSteps::Add(int delta) {
    return static_cast<int>(std::clamp<int64_t>(notches_.Add(delta), -ScrollCells, ScrollCells));
}
