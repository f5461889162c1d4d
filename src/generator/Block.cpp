#include "generator/Block.h"

#include <stdexcept>

namespace {

// Texture layout per direction: which end of each range holds the corner
// dot (1 = high end) and the column and row steps. The region's width and
// height run along CBlock's TEXTURE_AXES.
struct LAYOUT_RULE {
    bool cornerHigh[3];
    int column[3];
    int row[3];
};

constexpr LAYOUT_RULE LAYOUT_RULES[CBlock::DIRECTION_COUNT] = {
    {{0, 1, 0}, {1, 0, 0}, {0, -1, 0}},  // -z
    {{1, 1, 1}, {-1, 0, 0}, {0, -1, 0}}, // +z
    {{0, 1, 1}, {0, 0, -1}, {0, -1, 0}}, // -x
    {{1, 1, 0}, {0, 0, 1}, {0, -1, 0}},  // +x
    {{0, 1, 1}, {1, 0, 0}, {0, 0, -1}},  // +y
    {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}},   // -y
};

std::array<int, 3> Low(const CBlock::CSurface& s) { return {s.x0, s.y0, s.z0}; }
std::array<int, 3> High(const CBlock::CSurface& s) { return {s.x1, s.y1, s.z1}; }

} // namespace

CBlock::CBlock(int dotCount, std::vector<CSurface> surfaces)
    : dotCount_(dotCount), surfaces_(std::move(surfaces)) {
    int previous = 0;
    for (const CSurface& s : surfaces_) {
        if (CheckedDirection(s) < previous)
            throw std::invalid_argument("block faces not ordered by direction");
        previous = s.direction;
    }
    size_t i = 0;
    for (int d = 0; d < DIRECTION_COUNT; ++d) {
        directionStart_[d] = static_cast<uint32_t>(i);
        while (i < surfaces_.size() && surfaces_[i].direction == d)
            ++i;
    }
    directionStart_[DIRECTION_COUNT] = static_cast<uint32_t>(i);
}

CBlock::CSurfaceArray CBlock::GetSurfaces(int direction) const {
    if (direction < 0 || direction >= DIRECTION_COUNT)
        return {};
    const size_t begin = directionStart_[direction];
    return CSurfaceArray(surfaces_).subspan(begin, directionStart_[direction + 1] - begin);
}

void CBlock::BadDirection() { throw std::invalid_argument("face direction out of range"); }

std::array<CBlock::POSITION, 4> CBlock::GetCorners(const CSurface& surface, float dotEdge,
                                                   const std::array<int, 3>& parentPosition) {
    // Each coordinate of a corner is the low or the high side of the face's
    // range on its axis: the six are worked out once and picked from.
    const int d = CheckedDirection(surface);
    const std::array<int, 3> low = Low(surface);
    const std::array<int, 3> high = High(surface);
    auto place = [&](int dot, int axis) {
        return CornerCoordinate(dot, parentPosition[axis], dotEdge);
    };
    float sides[3][2];
    for (int axis = 0; axis < 3; ++axis) {
        sides[axis][0] = place(low[axis], axis);
        sides[axis][1] = place(high[axis] + 1, axis);
    }
    std::array<POSITION, 4> corners{};
    for (int c = 0; c < 4; ++c)
        for (int axis = 0; axis < 3; ++axis)
            corners[c][axis] = sides[axis][CORNER_HIGH[d][c][axis] ? 1 : 0];
    return corners;
}

CBlock::TEXTURE_LAYOUT CBlock::GetTextureLayout(const CSurface& surface) {
    const LAYOUT_RULE& rule = LAYOUT_RULES[CheckedDirection(surface)];
    const std::array<int, 3> low = Low(surface);
    const std::array<int, 3> high = High(surface);
    TEXTURE_LAYOUT layout;
    for (int axis = 0; axis < 3; ++axis) {
        layout.corner[axis] = rule.cornerHigh[axis] ? high[axis] : low[axis];
        layout.column[axis] = rule.column[axis];
        layout.row[axis] = rule.row[axis];
    }
    const std::array<int, 2> size = GetTextureSize(surface);
    layout.width = size[0];
    layout.height = size[1];
    return layout;
}

std::array<int, 3> CBlock::TEXTURE_LAYOUT::DotAt(int j, int i) const {
    return {corner[0] + j * column[0] + i * row[0], corner[1] + j * column[1] + i * row[1],
            corner[2] + j * column[2] + i * row[2]};
}
