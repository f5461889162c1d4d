#include "generator/Block.h"

#include <stdexcept>

namespace {

// For each direction and corner A..D: whether the corner takes the high side
// (v1 + 1) or the low side (v0) of the face's range on x, y and z.
constexpr bool CORNER_HIGH[CBlock::DIRECTION_COUNT][4][3] = {
    {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}}, // -z
    {{1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}}, // +z
    {{0, 1, 1}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}}, // -x
    {{1, 1, 0}, {1, 1, 1}, {1, 0, 1}, {1, 0, 0}}, // +x
    {{0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}, // +y
    {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, // -y
};

// Texture layout per direction: which end of each range holds the corner
// dot (1 = high end), the column and row steps, and the axes that give the
// region's width and height.
struct LAYOUT_RULE {
    bool cornerHigh[3];
    int column[3];
    int row[3];
    int widthAxis;
    int heightAxis;
};

constexpr LAYOUT_RULE LAYOUT_RULES[CBlock::DIRECTION_COUNT] = {
    {{0, 1, 0}, {1, 0, 0}, {0, -1, 0}, 0, 1},  // -z
    {{1, 1, 1}, {-1, 0, 0}, {0, -1, 0}, 0, 1}, // +z
    {{0, 1, 1}, {0, 0, -1}, {0, -1, 0}, 2, 1}, // -x
    {{1, 1, 0}, {0, 0, 1}, {0, -1, 0}, 2, 1},  // +x
    {{0, 1, 1}, {1, 0, 0}, {0, 0, -1}, 0, 2},  // +y
    {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, 0, 2},   // -y
};

int CheckedDirection(const CBlock::CSurface& surface) {
    if (surface.direction < 0 || surface.direction >= CBlock::DIRECTION_COUNT)
        throw std::invalid_argument("face direction out of range");
    return surface.direction;
}

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

std::array<std::array<int, 3>, 4> CBlock::GetCornerDots(const CSurface& surface) {
    const int d = CheckedDirection(surface);
    const std::array<int, 3> low = Low(surface);
    const std::array<int, 3> high = High(surface);
    std::array<std::array<int, 3>, 4> corners{};
    for (int c = 0; c < 4; ++c)
        for (int axis = 0; axis < 3; ++axis)
            corners[c][axis] = CORNER_HIGH[d][c][axis] ? high[axis] + 1 : low[axis];
    return corners;
}

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
    layout.width = high[rule.widthAxis] - low[rule.widthAxis] + 1;
    layout.height = high[rule.heightAxis] - low[rule.heightAxis] + 1;
    return layout;
}

std::array<int, 3> CBlock::TEXTURE_LAYOUT::DotAt(int j, int i) const {
    return {corner[0] + j * column[0] + i * row[0], corner[1] + j * column[1] + i * row[1],
            corner[2] + j * column[2] + i * row[2]};
}
