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

const std::array<std::array<float, 3>, 8> CubeCorners{
    {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}}};
const std::array<uint16_t, 60> CubeIndices{
    0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 5, 0, 3, 5, 3, 6, 1, 4, 7, 1, 7, 2, 5, 4, 1, 5, 1, 0, 3, 2, 7, 3, 7, 6,
    0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6, 6, 7, 7, 4, 5, 0, 3, 6, 1, 4, 7, 2};

namespace {

// The face bit of the side where axis a (0 x, 1 y, 2 z) has value v (0, 1).
uint8_t FaceBit(int axis, float value) {
    constexpr uint8_t bits[3][2] = {{FACE_MINUS_X, FACE_PLUS_X}, {FACE_MINUS_Y, FACE_PLUS_Y},
                                    {FACE_MINUS_Z, FACE_PLUS_Z}};
    return bits[axis][value > 0.5f ? 1 : 0];
}

// The faces every corner of a primitive lies on: the axes on which all its
// corners agree.
uint8_t SharedFaces(const uint16_t* corners, int count) {
    uint8_t faces = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const float v = CubeCorners[corners[0]][static_cast<size_t>(axis)];
        bool same = true;
        for (int k = 1; k < count; ++k)
            same = same && CubeCorners[corners[k]][static_cast<size_t>(axis)] == v;
        if (same)
            faces |= FaceBit(axis, v);
    }
    return faces;
}

// The open faces of the dot at (x, y, z): those whose neighbour is outside
// the grid or not opaque.
uint8_t OpenFaces(const uint8_t* grid, const OpaqueTable& opaque, int x, int y, int z) {
    auto open = [&](int nx, int ny, int nz) {
        if (nx < 0 || ny < 0 || nz < 0 || nx >= GridSide || ny >= GridSide || nz >= GridSide)
            return true;
        return !opaque[static_cast<size_t>(grid[GridIndex(nx, ny, nz)] & DotIndexMask)];
    };
    uint8_t faces = 0;
    if (open(x, y, z - 1))
        faces |= FACE_MINUS_Z;
    if (open(x, y, z + 1))
        faces |= FACE_PLUS_Z;
    if (open(x - 1, y, z))
        faces |= FACE_MINUS_X;
    if (open(x + 1, y, z))
        faces |= FACE_PLUS_X;
    if (open(x, y + 1, z))
        faces |= FACE_PLUS_Y;
    if (open(x, y - 1, z))
        faces |= FACE_MINUS_Y;
    return faces;
}

} // namespace

std::array<CUBE_VERTEX, 60> CubeVertices() {
    std::array<CUBE_VERTEX, 60> vertices{};
    for (size_t i = 0; i < CubeIndices.size(); ++i) {
        // Triangles are runs of 3 indices, edges (from 36 on) runs of 2.
        const size_t size = i < 36 ? 3 : 2;
        const size_t first = i < 36 ? i - i % 3 : i - i % 2;
        const auto& c = CubeCorners[CubeIndices[i]];
        vertices[i] = {c[0], c[1], c[2],
                       static_cast<float>(SharedFaces(&CubeIndices[first], static_cast<int>(size)))};
    }
    return vertices;
}

PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque, bool skipHidden) {
    PART_MESH mesh;
    if (!grid)
        return mesh;
    // Two passes, a counting sort by colour: count, then place.
    std::vector<uint8_t> open(GridDots, 0);
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                const int at = GridIndex(x, y, z);
                const int index = grid[at] & DotIndexMask;
                if (index == 0)
                    continue;
                const uint8_t faces = skipHidden ? OpenFaces(grid, opaque, x, y, z) : uint8_t{ALL_FACES};
                if (faces == 0)
                    continue;
                open[static_cast<size_t>(at)] = faces;
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
                const int at = GridIndex(x, y, z);
                const uint8_t faces = open[static_cast<size_t>(at)];
                if (faces == 0)
                    continue;
                const int index = grid[at] & DotIndexMask;
                mesh.cells[next[static_cast<size_t>(index)]++] = {
                    static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(z), faces};
            }
    return mesh;
}
