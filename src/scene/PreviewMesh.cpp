#include "scene/PreviewMesh.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>

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

constexpr int LatticeSide = GridSide + 1;
// How far one step along each axis moves in the grid.
constexpr int Stride[3] = {1, GridSide, GridArea};

// Bits start to start + length − 1.
uint32_t Run(int start, int length) {
    const uint32_t ones = length >= 32 ? ~uint32_t{0} : (uint32_t{1} << length) - 1;
    return ones << start;
}

// The open faces of the dot at (x, y, z): those whose neighbour is outside
// the grid or not opaque.
uint8_t DotOpenFaces(const uint8_t* grid, const OpaqueTable& opaque, int x, int y, int z) {
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

// The outline's unit edges, a 32-bit word per lattice line: bit k of the
// line along an axis is its edge from k to k + 1.
class CEdgeLines {
public:
    // Marks length edges from start on the line along axis through p (p's
    // own coordinate on that axis is not looked at).
    void Mark(int axis, const int (&p)[3], int start, int length) {
        lines_[Key(axis, p)] |= Run(start, length);
    }

    // Appends each run of marked edges on a line as one segment.
    void AppendSegments(std::vector<EDGE_END>& edges) const {
        for (int axis = 0; axis < 3; ++axis)
            for (int b = 0; b < LatticeSide; ++b)
                for (int c = 0; c < LatticeSide; ++c) {
                    int p[3] = {};
                    p[(axis + 1) % 3] = b;
                    p[(axis + 2) % 3] = c;
                    uint32_t line = lines_[Key(axis, p)];
                    while (line) {
                        const int start = std::countr_zero(line);
                        const int length = std::countr_one(line >> start);
                        line &= ~Run(start, length);
                        p[axis] = start;
                        edges.push_back(End(p));
                        p[axis] = start + length;
                        edges.push_back(End(p));
                    }
                }
    }

private:
    static size_t Key(int axis, const int (&p)[3]) {
        return static_cast<size_t>((axis * LatticeSide + p[(axis + 1) % 3]) * LatticeSide +
                                   p[(axis + 2) % 3]);
    }
    static EDGE_END End(const int (&p)[3]) {
        return {static_cast<uint8_t>(p[0]), static_cast<uint8_t>(p[1]), static_cast<uint8_t>(p[2]),
                0};
    }

    std::array<uint32_t, 3 * LatticeSide * LatticeSide> lines_{};
};

// The cells holding dots with open faces lie within lo–hi (inclusive) on
// each axis; slices and rows outside need no look.
struct BOUNDS {
    int lo[3] = {GridSide, GridSide, GridSide};
    int hi[3] = {-1, -1, -1};
};

BOUNDS Bounds(const std::vector<uint8_t>& open) {
    BOUNDS bounds;
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                if (open[static_cast<size_t>(GridIndex(x, y, z))] == 0)
                    continue;
                const int p[3] = {x, y, z};
                for (int a = 0; a < 3; ++a) {
                    bounds.lo[a] = std::min(bounds.lo[a], p[a]);
                    bounds.hi[a] = std::max(bounds.hi[a], p[a]);
                }
            }
    return bounds;
}

// A merged rectangle with its face bit number and palette index, before
// the rectangles are sorted by colour.
struct PLACED_RECT {
    FACE_RECT rect;
    uint8_t face;
    uint8_t color;
};

// Merges the open faces in direction face of the slice at depth into
// rectangles, appends them to out and marks their unit edges in lines. The
// slice is read row by row (v), each row along u: a rectangle starts at the
// first face not yet taken, grows along u while the colour stays, then
// along v while the whole next row segment has that colour.
void MergeSlice(const uint8_t* grid, const std::vector<uint8_t>& open, const BOUNDS& bounds,
                int face, int depth, std::vector<PLACED_RECT>& out, CEdgeLines& lines) {
    const int n = FaceAxis(face);
    const int u = (n + 1) % 3;
    const int v = (n + 2) % 3;
    const uint8_t bit = static_cast<uint8_t>(1 << face);
    std::array<uint8_t, GridArea> colour{}; // at j × 32 + i; 0 where no open face is left
    bool any = false;
    for (int j = bounds.lo[v]; j <= bounds.hi[v]; ++j)
        for (int i = bounds.lo[u]; i <= bounds.hi[u]; ++i) {
            const auto at = static_cast<size_t>(depth * Stride[n] + i * Stride[u] + j * Stride[v]);
            if (open[at] & bit) {
                colour[static_cast<size_t>(j * GridSide + i)] = grid[at] & DotIndexMask;
                any = true;
            }
        }
    if (!any)
        return;
    const int plane = depth + (FaceIsFar(face) ? 1 : 0);
    for (int j = bounds.lo[v]; j <= bounds.hi[v]; ++j)
        for (int i = bounds.lo[u]; i <= bounds.hi[u]; ++i) {
            uint8_t* row = &colour[static_cast<size_t>(j * GridSide)];
            const uint8_t c = row[i];
            if (c == 0)
                continue;
            int w = 1;
            while (i + w < GridSide && row[i + w] == c)
                ++w;
            int h = 1;
            while (j + h < GridSide &&
                   std::all_of(row + h * GridSide + i, row + h * GridSide + i + w,
                               [c](uint8_t k) { return k == c; }))
                ++h;
            for (int r = 0; r < h; ++r)
                std::fill_n(row + r * GridSide + i, w, uint8_t{0});
            int p[3], s[3];
            p[n] = depth;
            p[u] = i;
            p[v] = j;
            s[n] = 1;
            s[u] = w;
            s[v] = h;
            const auto b = [](int value) { return static_cast<uint8_t>(value); };
            out.push_back({FACE_RECT{b(p[0]), b(p[1]), b(p[2]), 0, b(s[0]), b(s[1]), b(s[2]), 0},
                           b(face), c});
            // Every unit edge in the rectangle: its rows of edges along u
            // and its columns along v, in the face's plane.
            int q[3] = {};
            q[n] = plane;
            for (int t = j; t <= j + h; ++t) {
                q[v] = t;
                lines.Mark(u, q, i, w);
            }
            for (int t = i; t <= i + w; ++t) {
                q[u] = t;
                lines.Mark(v, q, j, h);
            }
            i += w - 1;
        }
}

} // namespace

uint32_t PART_MESH::FaceCount(int face) const {
    uint32_t total = 0;
    for (uint32_t n : count[static_cast<size_t>(face)])
        total += n;
    return total;
}

std::array<CUBE_VERTEX, 36> CubeVertices() {
    // The triangle list already runs face by face in bit order.
    std::array<CUBE_VERTEX, 36> vertices{};
    for (size_t i = 0; i < vertices.size(); ++i) {
        const auto& c = CubeCorners[CubeIndices[i]];
        vertices[i] = {c[0], c[1], c[2]};
    }
    return vertices;
}

std::vector<uint8_t> OpenFaces(const uint8_t* grid, const OpaqueTable& opaque, bool skipHidden) {
    std::vector<uint8_t> open(GridDots, 0);
    if (!grid)
        return open;
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x) {
                const int at = GridIndex(x, y, z);
                if ((grid[at] & DotIndexMask) != 0)
                    open[static_cast<size_t>(at)] =
                        skipHidden ? DotOpenFaces(grid, opaque, x, y, z) : uint8_t{ALL_FACES};
            }
    return open;
}

PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque) {
    PART_MESH mesh;
    if (!grid)
        return mesh;
    const std::vector<uint8_t> open = OpenFaces(grid, opaque);
    mesh.dots = static_cast<uint32_t>(
        std::count_if(open.begin(), open.end(), [](uint8_t faces) { return faces != 0; }));
    std::vector<PLACED_RECT> rects;
    auto lines = std::make_unique<CEdgeLines>();
    const BOUNDS bounds = Bounds(open);
    for (int face = 0; face < CubeFaces; ++face)
        for (int depth = bounds.lo[FaceAxis(face)]; depth <= bounds.hi[FaceAxis(face)]; ++depth)
            MergeSlice(grid, open, bounds, face, depth, rects, *lines);
    // A counting sort by colour, keeping the slice order within each.
    for (const PLACED_RECT& r : rects)
        ++mesh.count[r.face][r.color];
    uint32_t total = 0;
    for (int face = 0; face < CubeFaces; ++face)
        for (size_t k = 0; k < 32; ++k) {
            mesh.first[static_cast<size_t>(face)][k] = total;
            total += mesh.count[static_cast<size_t>(face)][k];
        }
    mesh.faces.resize(total);
    PART_MESH::TABLE next = mesh.first;
    for (const PLACED_RECT& r : rects)
        mesh.faces[next[r.face][r.color]++] = r.rect;
    lines->AppendSegments(mesh.edges);
    return mesh;
}
