#include "scene/PreviewMesh.h"

#include <algorithm>
#include <cmath>

#include "document/DotPart.h"

int AlphaByte(float alpha) {
    if (!(alpha > 0.0f))
        return 0;
    // Anything from 2^24 up is a multiple of 256 as a float, hence 0.
    const float scaled = std::trunc(std::min(alpha * 255.0f, 16777216.0f));
    return static_cast<int>(static_cast<long>(scaled) % 256);
}

OpaqueTable MakeOpaqueTable(std::span<const CDotColor, PaletteSize> palette) {
    OpaqueTable opaque{};
    for (int i = 0; i < PaletteSize; ++i)
        opaque[static_cast<size_t>(i + 1)] = AlphaByte(palette[static_cast<size_t>(i)].alpha) == 255;
    return opaque;
}

ColorOrder MakeColorOrder(std::span<const CDotColor, PaletteSize> palette) {
    ColorOrder order;
    for (int i = 0; i < PaletteSize; ++i)
        order[static_cast<size_t>(i)] = i + 1;
    // NaN alphas sort as the lowest, so the order stays a strict weak one.
    auto key = [&](int index) {
        const float a = palette[static_cast<size_t>(index - 1)].alpha;
        return std::isnan(a) ? -INFINITY : a;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) > key(b); });
    return order;
}

namespace {

// Whether the dot at (x, y, z) is enclosed: inside the grid on all sides and
// every face neighbour opaque.
bool IsEnclosed(const uint8_t* grid, const OpaqueTable& opaque, int x, int y, int z) {
    if (x == 0 || y == 0 || z == 0 || x == GridSide - 1 || y == GridSide - 1 || z == GridSide - 1)
        return false;
    const int at = GridIndex(x, y, z);
    constexpr int steps[6] = {1, -1, GridSide, -GridSide, GridSide * GridSide, -GridSide * GridSide};
    for (int step : steps) {
        if (!opaque[static_cast<size_t>(grid[at + step] & DotIndexMask)])
            return false;
    }
    return true;
}

} // namespace

PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque, bool skipHidden) {
    PART_MESH mesh;
    if (!grid)
        return mesh;
    // Two passes, a counting sort by colour: count, then place.
    std::vector<uint8_t> keep(GridDots, 0);
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                const int at = GridIndex(x, y, z);
                const int index = grid[at] & DotIndexMask;
                if (index == 0 || (skipHidden && IsEnclosed(grid, opaque, x, y, z)))
                    continue;
                keep[static_cast<size_t>(at)] = static_cast<uint8_t>(index);
                ++mesh.count[static_cast<size_t>(index)];
            }
    uint32_t total = 0;
    for (size_t k = 0; k < mesh.first.size(); ++k) {
        mesh.first[k] = total;
        total += mesh.count[k];
    }
    mesh.cells.resize(total);
    std::array<uint32_t, 32> next = mesh.first;
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                const int index = keep[static_cast<size_t>(GridIndex(x, y, z))];
                if (index == 0)
                    continue;
                mesh.cells[next[static_cast<size_t>(index)]++] = {
                    static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(z), 0};
            }
    return mesh;
}
