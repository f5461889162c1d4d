// The per-part mesh: which dots become cubes, grouped by colour, and the
// drawing order of the colours.

#include <array>
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

std::set<Cell> Cells(const PART_MESH& mesh) {
    std::set<Cell> cells;
    for (const DOT_CELL& c : mesh.cells)
        cells.insert({c.x, c.y, c.z});
    return cells;
}

} // namespace

TEST(PreviewMeshTest, CellsAreGroupedByColourInGridOrder) {
    Grid grid = EmptyGrid();
    grid[static_cast<size_t>(GridIndex(5, 0, 0))] = 3;
    grid[static_cast<size_t>(GridIndex(1, 2, 0))] = 3 | 0x80; // scratch bit ignored
    grid[static_cast<size_t>(GridIndex(0, 0, 7))] = 1;
    const PART_MESH mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    ASSERT_EQ(3u, mesh.Total());
    EXPECT_EQ(0u, mesh.first[1]);
    EXPECT_EQ(1u, mesh.count[1]);
    EXPECT_EQ(1u, mesh.first[3]);
    EXPECT_EQ(2u, mesh.count[3]);
    EXPECT_EQ((DOT_CELL{0, 0, 7, 0}), mesh.cells[0]);
    EXPECT_EQ((DOT_CELL{5, 0, 0, 0}), mesh.cells[1]) << "z, then y, then x";
    EXPECT_EQ((DOT_CELL{1, 2, 0, 0}), mesh.cells[2]);
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

// The skip must not change the picture: every face that can be seen (one
// that borders an empty or translucent cell) and every edge along such a
// face belongs to a cube that is still drawn.
TEST(PreviewMeshTest, SkippingHiddenDotsKeepsEveryVisibleFaceAndEdge) {
    std::mt19937 random(14);
    const OpaqueTable opaque = AllOpaqueBut({5});
    for (int round = 0; round < 3; ++round) {
        Grid grid = EmptyGrid();
        // Dense random blobs: mostly opaque colours, some translucent 5.
        std::uniform_int_distribution<int> cell(0, 31), colour(1, 6), chance(0, 99);
        for (int z = 0; z < 32; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (chance(random) < 85 - round * 10)
                        grid[static_cast<size_t>(GridIndex(x, y, z))] = static_cast<uint8_t>(colour(random));
        const std::set<Cell> all = Cells(BuildPartMesh(grid.data(), opaque, false));
        const std::set<Cell> kept = Cells(BuildPartMesh(grid.data(), opaque));
        ASSERT_LT(kept.size(), all.size());
        // Edges as (cell corner, axis) of kept cubes.
        std::set<std::tuple<int, int, int, int>> keptEdges;
        for (const auto& [x, y, z] : kept)
            for (int a = 0; a < 3; ++a)
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        int p[3] = {x, y, z};
                        p[(a + 1) % 3] += i;
                        p[(a + 2) % 3] += j;
                        keptEdges.insert({p[0], p[1], p[2], a});
                    }
        constexpr int steps[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
        for (const auto& [x, y, z] : all) {
            if (kept.count({x, y, z}))
                continue;
            for (const auto& s : steps) {
                ASSERT_TRUE(opaque[static_cast<size_t>(At(grid, x + s[0], y + s[1], z + s[2]))])
                    << "a skipped dot has an open face at " << x << "," << y << "," << z;
            }
            // An edge of a skipped dot next to an open diagonal cell is on the
            // surface; a kept cube must draw it.
            for (int a = 0; a < 3; ++a)
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        int d[3] = {0, 0, 0};
                        d[(a + 1) % 3] = i ? 1 : -1;
                        d[(a + 2) % 3] = j ? 1 : -1;
                        if (opaque[static_cast<size_t>(At(grid, x + d[0], y + d[1], z + d[2]))])
                            continue;
                        int p[3] = {x, y, z};
                        p[(a + 1) % 3] += i;
                        p[(a + 2) % 3] += j;
                        EXPECT_TRUE(keptEdges.count({p[0], p[1], p[2], a}))
                            << "surface edge lost at " << p[0] << "," << p[1] << "," << p[2];
                    }
        }
    }
}

TEST(PreviewMeshTest, ColoursAreOrderedByOpacityThenIndex) {
    std::array<CDotColor, PaletteSize> palette{};
    palette[2].alpha = 0.5f;   // index 3
    palette[4].alpha = 0.25f;  // index 5
    palette[6].alpha = 0.5f;   // index 7
    palette[8].alpha = NAN;    // index 9
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
