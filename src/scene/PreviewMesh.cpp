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
        opaque[static_cast<size_t>(i + 1)] =
            AlphaByte(palette[static_cast<size_t>(i)].alpha) == 255;
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
    0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 5, 0, 3, 5, 3, 6, 1, 4, 7, 1, 7, 2, 5, 4, 1, 5, 1, 0,
    3, 2, 7, 3, 7, 6, 0, 1, 1, 2, 2, 3, 3, 0, 4, 5, 5, 6, 6, 7, 7, 4, 5, 0, 3, 6, 1, 4, 7, 2};

namespace {

// The face bit of the side where axis a (0 x, 1 y, 2 z) has value v (0, 1).
uint8_t FaceBit(int axis, float value) {
    constexpr uint8_t bits[3][2] = {
        {FACE_MINUS_X, FACE_PLUS_X}, {FACE_MINUS_Y, FACE_PLUS_Y}, {FACE_MINUS_Z, FACE_PLUS_Z}};
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

// Lists every edge of the mesh's open faces once. An edge is known by its
// lower end and its axis; a bit per lattice edge marks those listed.
void AddEdges(PART_MESH& mesh) {
    constexpr int Side = GridSide + 1;
    std::vector<uint64_t> listed((3 * Side * Side * Side + 63) / 64, 0);
    static const std::array<CUBE_VERTEX, 84> cube = CubeVertices();
    for (int face = 0; face < CubeFaces; ++face) {
        const uint32_t end = mesh.FaceFirst(face) + mesh.FaceCount(face);
        for (uint32_t n = mesh.FaceFirst(face); n < end; ++n) {
            const DOT_CELL& cell = mesh.cells[n];
            for (int v = FaceEdges(face); v < FaceEdges(face) + 8; v += 2) {
                const CUBE_VERTEX& a = cube[static_cast<size_t>(v)];
                const CUBE_VERTEX& b = cube[static_cast<size_t>(v) + 1];
                const int axis = a.x != b.x ? 0 : a.y != b.y ? 1 : 2;
                const int x = cell.x + static_cast<int>(std::min(a.x, b.x));
                const int y = cell.y + static_cast<int>(std::min(a.y, b.y));
                const int z = cell.z + static_cast<int>(std::min(a.z, b.z));
                const auto key = static_cast<size_t>(((axis * Side + x) * Side + y) * Side + z);
                uint64_t& word = listed[key / 64];
                const uint64_t bit = uint64_t{1} << (key % 64);
                if (word & bit)
                    continue;
                word |= bit;
                const EDGE_END low{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                   static_cast<uint8_t>(z), 0};
                EDGE_END high = low;
                (axis == 0 ? high.x : axis == 1 ? high.y : high.z) += 1;
                mesh.edges.push_back(low);
                mesh.edges.push_back(high);
            }
        }
    }
}

} // namespace

uint32_t PART_MESH::FaceCount(int face) const {
    uint32_t total = 0;
    for (uint32_t n : count[static_cast<size_t>(face)])
        total += n;
    return total;
}

std::array<CUBE_VERTEX, 84> CubeVertices() {
    std::array<CUBE_VERTEX, 84> vertices{};
    auto vertex = [](uint16_t corner, uint8_t faces) {
        const auto& c = CubeCorners[corner];
        return CUBE_VERTEX{c[0], c[1], c[2], static_cast<float>(faces)};
    };
    // The triangle list already runs face by face in bit order.
    for (size_t i = 0; i < 36; ++i)
        vertices[i] = vertex(CubeIndices[i], SharedFaces(&CubeIndices[i - i % 3], 3));
    size_t at = 36;
    for (int face = 0; face < CubeFaces; ++face)
        for (size_t e = 36; e < 60; e += 2) {
            const uint8_t faces = SharedFaces(&CubeIndices[e], 2);
            if (!(faces & 1 << face))
                continue;
            vertices[at++] = vertex(CubeIndices[e], faces);
            vertices[at++] = vertex(CubeIndices[e + 1], faces);
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
                const uint8_t faces =
                    skipHidden ? OpenFaces(grid, opaque, x, y, z) : uint8_t{ALL_FACES};
                if (faces == 0)
                    continue;
                open[static_cast<size_t>(at)] = faces;
                ++mesh.dots;
                for (int face = 0; face < CubeFaces; ++face)
                    mesh.count[static_cast<size_t>(face)][static_cast<size_t>(index)] +=
                        faces >> face & 1;
            }
    uint32_t total = 0;
    for (int face = 0; face < CubeFaces; ++face)
        for (size_t k = 0; k < 32; ++k) {
            mesh.first[static_cast<size_t>(face)][k] = total;
            total += mesh.count[static_cast<size_t>(face)][k];
        }
    mesh.cells.resize(total);
    PART_MESH::TABLE next = mesh.first;
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                const int at = GridIndex(x, y, z);
                const uint8_t faces = open[static_cast<size_t>(at)];
                if (faces == 0)
                    continue;
                const auto index = static_cast<size_t>(grid[at] & DotIndexMask);
                const DOT_CELL cell{static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                    static_cast<uint8_t>(z), faces};
                for (int face = 0; face < CubeFaces; ++face) {
                    if (faces >> face & 1)
                        mesh.cells[next[static_cast<size_t>(face)][index]++] = cell;
                }
            }
    AddEdges(mesh);
    return mesh;
}
