// The per-part mesh: which dots become cubes, grouped by colour, and the
// drawing order of the colours.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "document/DotPart.h"
#include "scene/PreviewMesh.h"

namespace {

using Grid = std::vector<uint8_t>;

Grid EmptyGrid() { return Grid(GridDots, 0); }

void Fill(Grid& grid, int x0, int x1, int y0, int y1, int z0, int z1, int index) {
    for (int z = z0; z <= z1; ++z)
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                grid[static_cast<size_t>(GridIndex(x, y, z))] = static_cast<uint8_t>(index);
}

OpaqueTable AllOpaqueBut(std::initializer_list<int> translucent) {
    OpaqueTable opaque{};
    for (int k = 1; k < 32; ++k)
        opaque[static_cast<size_t>(k)] = true;
    for (int k : translucent)
        opaque[static_cast<size_t>(k)] = false;
    return opaque;
}

int At(const Grid& grid, int x, int y, int z) {
    if (x < 0 || y < 0 || z < 0 || x >= GridSide || y >= GridSide || z >= GridSide)
        return 0;
    return grid[static_cast<size_t>(GridIndex(x, y, z))] & DotIndexMask;
}

using Cell = std::tuple<int, int, int>;

} // namespace

TEST(PreviewMeshTest, CellsAreGroupedByColourInGridOrder) {
    Grid grid = EmptyGrid();
    grid[static_cast<size_t>(GridIndex(5, 0, 0))] = 3;
    grid[static_cast<size_t>(GridIndex(1, 2, 0))] = 3 | 0x80; // scratch bit ignored
    grid[static_cast<size_t>(GridIndex(0, 0, 7))] = 1;
    const PART_MESH mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    ASSERT_EQ(3u, mesh.Total());
    ASSERT_EQ(18u, mesh.cells.size()) << "three lone dots, six open faces each";
    EXPECT_EQ(0u, mesh.first[0][1]);
    EXPECT_EQ(1u, mesh.count[0][1]);
    EXPECT_EQ(1u, mesh.first[0][3]);
    EXPECT_EQ(2u, mesh.count[0][3]);
    EXPECT_EQ(3u, mesh.FaceFirst(1));
    EXPECT_EQ(3u, mesh.FaceCount(5));
    EXPECT_EQ((DOT_CELL{0, 0, 7, ALL_FACES}), mesh.cells[0]);
    EXPECT_EQ((DOT_CELL{5, 0, 0, ALL_FACES}), mesh.cells[1]) << "z, then y, then x";
    EXPECT_EQ((DOT_CELL{1, 2, 0, ALL_FACES}), mesh.cells[2]);
    EXPECT_EQ(0u, BuildPartMesh(nullptr, AllOpaqueBut({})).Total()) << "a part without a grid";
}

TEST(PreviewMeshTest, EnclosedDotsAreSkippedOnlyBehindOpaqueNeighbours) {
    Grid solid = EmptyGrid();
    Fill(solid, 0, 31, 0, 31, 0, 31, 4);
    EXPECT_EQ(32u * 32 * 32 - 30 * 30 * 30, BuildPartMesh(solid.data(), AllOpaqueBut({})).Total());
    EXPECT_EQ(32u * 32 * 32, BuildPartMesh(solid.data(), AllOpaqueBut({}), false).Total());
    // Seen through translucent neighbours, the middle of a 3³ block shows.
    Grid block = EmptyGrid();
    Fill(block, 10, 12, 10, 12, 10, 12, 6);
    EXPECT_EQ(26u, BuildPartMesh(block.data(), AllOpaqueBut({})).Total());
    EXPECT_EQ(27u, BuildPartMesh(block.data(), AllOpaqueBut({6})).Total());
    // An opaque dot inside a translucent shell shows as well.
    block[static_cast<size_t>(GridIndex(11, 11, 11))] = 2;
    EXPECT_EQ(27u, BuildPartMesh(block.data(), AllOpaqueBut({6})).Total());
}

// Closing faces must not change the picture: every face that can be seen
// (one that borders an empty or translucent cell, or the grid's edge) stays
// open, no other face does, and every edge that can be seen (one with a
// non-opaque cell among the three around it) is still drawn by some cube.
// Each edge of the outline once: twelve for a lone cube, and for a solid
// part the lines of its six 32 × 32 sides, reaching the lattice's far
// corner at 32.
TEST(PreviewMeshTest, OutlinesListEachEdgeOnce) {
    Grid grid = EmptyGrid();
    grid[static_cast<size_t>(GridIndex(3, 4, 5))] = 1;
    EXPECT_EQ(2u * 12, BuildPartMesh(grid.data(), AllOpaqueBut({})).edges.size());
    grid[static_cast<size_t>(GridIndex(4, 4, 5))] = 1;
    EXPECT_EQ(2u * 20, BuildPartMesh(grid.data(), AllOpaqueBut({})).edges.size())
        << "two cubes side by side share four edges";
    Grid solid = EmptyGrid();
    Fill(solid, 0, 31, 0, 31, 0, 31, 4);
    const PART_MESH mesh = BuildPartMesh(solid.data(), AllOpaqueBut({}));
    EXPECT_EQ(2u * (6 * 2 * 32 * 33 - 12 * 32), mesh.edges.size());
    EXPECT_NE(std::find(mesh.edges.begin(), mesh.edges.end(), EDGE_END{32, 32, 32, 0}),
              mesh.edges.end());
}

TEST(PreviewMeshTest, ClosingHiddenFacesKeepsEveryVisibleFaceAndEdge) {
    std::mt19937 random(14);
    const OpaqueTable opaque = AllOpaqueBut({5});
    const std::array<CUBE_VERTEX, 84> cube = CubeVertices();
    constexpr int faceStep[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0},
                                    {1, 0, 0},  {0, 1, 0}, {0, -1, 0}};
    for (int round = 0; round < 3; ++round) {
        Grid grid = EmptyGrid();
        // Dense random blobs: mostly opaque colours, some translucent 5.
        std::uniform_int_distribution<int> colour(1, 6), chance(0, 99);
        for (uint8_t& dot : grid)
            if (chance(random) < 85 - round * 10)
                dot = static_cast<uint8_t>(colour(random));
        const PART_MESH all = BuildPartMesh(grid.data(), opaque, false);
        const PART_MESH kept = BuildPartMesh(grid.data(), opaque);
        ASSERT_LT(kept.Total(), all.Total());
        // The edges the kept faces draw, as (lower end, axis).
        std::set<std::tuple<int, int, int, int>> drawn;
        std::set<Cell> keptCells;
        for (int face = 0; face < CubeFaces; ++face)
            for (uint32_t n = kept.FaceFirst(face); n < kept.FaceFirst(face) + kept.FaceCount(face);
                 ++n) {
                const DOT_CELL& c = kept.cells[n];
                ASSERT_TRUE(c.faces >> face & 1)
                    << "an entry under a face the dot does not have open";
                keptCells.insert({c.x, c.y, c.z});
                for (int f = 0; f < 6; ++f) {
                    const int* s = faceStep[f];
                    const bool shouldBeOpen =
                        !opaque[static_cast<size_t>(At(grid, c.x + s[0], c.y + s[1], c.z + s[2]))];
                    ASSERT_EQ(shouldBeOpen, (c.faces >> f & 1) != 0)
                        << int(c.x) << "," << int(c.y) << "," << int(c.z);
                }
                for (int v = FaceEdges(face); v < FaceEdges(face) + 8; v += 2) {
                    const CUBE_VERTEX& a = cube[static_cast<size_t>(v)];
                    const CUBE_VERTEX& b = cube[static_cast<size_t>(v) + 1];
                    const int axis = a.x != b.x ? 0 : a.y != b.y ? 1 : 2;
                    drawn.insert({c.x + static_cast<int>(std::min(a.x, b.x)),
                                  c.y + static_cast<int>(std::min(a.y, b.y)),
                                  c.z + static_cast<int>(std::min(a.z, b.z)), axis});
                }
            }
        // The outline is exactly the open faces' edges, each listed once.
        ASSERT_EQ(0u, kept.edges.size() % 2);
        std::set<std::tuple<int, int, int, int>> listed;
        for (size_t n = 0; n < kept.edges.size(); n += 2) {
            const EDGE_END& a = kept.edges[n];
            const EDGE_END& b = kept.edges[n + 1];
            const int steps = (b.x - a.x) + (b.y - a.y) + (b.z - a.z);
            ASSERT_EQ(1, steps) << "a unit segment from its lower end";
            const int axis = b.x != a.x ? 0 : b.y != a.y ? 1 : 2;
            EXPECT_TRUE(listed.insert({a.x, a.y, a.z, axis}).second) << "an edge listed twice";
        }
        EXPECT_EQ(drawn, listed);
        // Without the skip every dot has a near face: one entry each.
        for (uint32_t n = 0; n < all.FaceCount(0); ++n) {
            const DOT_CELL& c = all.cells[n];
            const bool isKept = keptCells.count({c.x, c.y, c.z}) != 0;
            for (int f = 0; f < 6 && !isKept; ++f) {
                const int* s = faceStep[f];
                ASSERT_TRUE(
                    opaque[static_cast<size_t>(At(grid, c.x + s[0], c.y + s[1], c.z + s[2]))])
                    << "a dropped dot has an open face";
            }
            // Each of the 12 edges: axis a, offsets (i, j) on the other two.
            for (int a = 0; a < 3; ++a)
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        int d1[3] = {0, 0, 0}, d2[3] = {0, 0, 0};
                        d1[(a + 1) % 3] = i ? 1 : -1;
                        d2[(a + 2) % 3] = j ? 1 : -1;
                        const bool seen = !opaque[static_cast<size_t>(
                                              At(grid, c.x + d1[0], c.y + d1[1], c.z + d1[2]))] ||
                                          !opaque[static_cast<size_t>(
                                              At(grid, c.x + d2[0], c.y + d2[1], c.z + d2[2]))] ||
                                          !opaque[static_cast<size_t>(At(grid, c.x + d1[0] + d2[0],
                                                                         c.y + d1[1] + d2[1],
                                                                         c.z + d1[2] + d2[2]))];
                        if (!seen)
                            continue;
                        int p[3] = {c.x, c.y, c.z};
                        p[(a + 1) % 3] += i;
                        p[(a + 2) % 3] += j;
                        EXPECT_TRUE(drawn.count({p[0], p[1], p[2], a}))
                            << "visible edge lost at " << p[0] << "," << p[1] << "," << p[2]
                            << " axis " << a;
                    }
        }
    }
}

TEST(PreviewMeshTest, UnrolledCubeNamesTheFacesOfEachTriangleAndEdge) {
    const std::array<CUBE_VERTEX, 84> cube = CubeVertices();
    std::array<int, 64> perFace{};
    for (size_t v = 0; v < 36; ++v) {
        const int faces = static_cast<int>(cube[v].faces);
        ASSERT_EQ(1, std::popcount(static_cast<unsigned>(faces))) << v;
        ++perFace[static_cast<size_t>(faces)];
    }
    for (int bit :
         {FACE_MINUS_Z, FACE_PLUS_Z, FACE_MINUS_X, FACE_PLUS_X, FACE_PLUS_Y, FACE_MINUS_Y})
        EXPECT_EQ(6, perFace[static_cast<size_t>(bit)]) << "two triangles on face " << bit;
    // The first triangle lies on the near face (z = 0), the first edge runs
    // along its top (y = 1).
    EXPECT_EQ(FACE_MINUS_Z, static_cast<int>(cube[0].faces));
    EXPECT_EQ(FACE_MINUS_Z | FACE_PLUS_Y, static_cast<int>(cube[36].faces));
    // Each face's edges lie on it and on one neighbouring face.
    for (int face = 0; face < CubeFaces; ++face)
        for (int v = FaceEdges(face); v < FaceEdges(face) + 8; ++v) {
            const auto faces = static_cast<unsigned>(cube[static_cast<size_t>(v)].faces);
            EXPECT_EQ(2, std::popcount(faces)) << v;
            EXPECT_TRUE(faces >> face & 1) << v;
        }
}

TEST(PreviewMeshTest, ColoursAreOrderedByOpacityThenIndex) {
    std::array<CDotColor, PaletteSize> palette{};
    palette[2].alpha = 0.5f;  // index 3
    palette[4].alpha = 0.25f; // index 5
    palette[6].alpha = 0.5f;  // index 7
    palette[8].alpha = NAN;   // index 9
    const ColorOrder order = MakeColorOrder(palette);
    const std::vector<int> tail(order.end() - 4, order.end());
    EXPECT_EQ((std::vector<int>{3, 7, 5, 9}), tail);
    EXPECT_EQ(1, order[0]);
    EXPECT_EQ(2, order[1]);
    EXPECT_EQ(4, order[2]);
    const OpaqueTable opaque = MakeOpaqueTable(palette);
    EXPECT_FALSE(opaque[0]);
    EXPECT_TRUE(opaque[1]);
    EXPECT_FALSE(opaque[3]);
    EXPECT_FALSE(opaque[9]);
}

TEST(PreviewMeshTest, AlphaByteWrapsLikeTheShaderColourAndSurvivesOddValues) {
    EXPECT_EQ(255, AlphaByte(1.0f));
    EXPECT_EQ(127, AlphaByte(0.5f));
    EXPECT_EQ(254, AlphaByte(2.0f)) << "510 modulo 256";
    EXPECT_EQ(0, AlphaByte(-1.0f));
    EXPECT_EQ(0, AlphaByte(NAN));
    EXPECT_EQ(0, AlphaByte(INFINITY));
}
