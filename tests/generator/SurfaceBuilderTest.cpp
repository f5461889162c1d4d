#include "generator/SurfaceBuilder.h"

#include "SurfaceReference.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using CSurface = CBlock::CSurface;
using GRID = std::vector<uint8_t>;

GRID EmptyGrid() { return GRID(32768, 0); }
uint8_t& At(GRID& grid, int x, int y, int z) { return grid[z * 1024 + y * 32 + x]; }

struct RANGE {
    int x0, x1, y0, y1, z0, z1;
    bool operator==(const RANGE&) const = default;
};
RANGE RangeOf(const CSurface& s) { return {s.x0, s.x1, s.y0, s.y1, s.z0, s.z1}; }

TEST(SurfaceBuilder, EmptyOrAbsentGridGivesNoBlocks) {
    const auto colours = FakeColourTable();
    EXPECT_TRUE(BuildSurfaces(nullptr, colours).empty());
    GRID grid = EmptyGrid();
    At(grid, 3, 4, 5) = 0x60; // reserved bits only: still an empty dot
    At(grid, 6, 7, 8) = 0x80; // a stale visit mark
    EXPECT_TRUE(BuildSurfaces(grid.data(), colours).empty());
    EXPECT_EQ(At(grid, 3, 4, 5), 0x60);
    EXPECT_EQ(At(grid, 6, 7, 8), 0);
}

TEST(SurfaceBuilder, VisitMarksAreClearedThenSetOnEveryDot) {
    GRID grid = EmptyGrid();
    At(grid, 0, 0, 0) = 0x80 | 0x60 | 2; // marked before: must still be visited
    At(grid, 1, 0, 0) = 2;
    At(grid, 9, 9, 9) = 0x80; // empty with a stale mark
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable());
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].GetDotCount(), 2);
    EXPECT_EQ(At(grid, 0, 0, 0), 0x80 | 0x60 | 2);
    EXPECT_EQ(At(grid, 1, 0, 0), 0x80 | 2);
    EXPECT_EQ(At(grid, 9, 9, 9), 0);
}

TEST(SurfaceBuilder, SingleDotHasSixVisibleUnitFaces) {
    GRID grid = EmptyGrid();
    At(grid, 31, 0, 17) = 5;
    const auto colours = FakeColourTable();
    const CBlockList blocks = BuildSurfaces(grid.data(), colours);
    ASSERT_EQ(blocks.size(), 1u);
    for (int d = 0; d < 6; ++d) {
        ASSERT_EQ(blocks[0].GetSurfaces(d).size(), 1u);
        const CSurface& s = blocks[0].GetSurfaces(d)[0];
        EXPECT_EQ(s.direction, d);
        EXPECT_EQ(RangeOf(s), (RANGE{31, 31, 0, 0, 17, 17}));
        EXPECT_EQ(s.colour, colours[5]);
        EXPECT_EQ(s.hidden, 0);
        EXPECT_EQ(s.slot, 0);
    }
}

TEST(SurfaceBuilder, TwoDotsAlongXMergeIntoOneVisibleFacePerDirection) {
    GRID grid = EmptyGrid();
    At(grid, 4, 2, 2) = 3;
    At(grid, 5, 2, 2) = 3;
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable());
    ASSERT_EQ(blocks.size(), 1u);
    for (int d = 0; d < 6; ++d) {
        ASSERT_EQ(blocks[0].GetSurfaces(d).size(), 1u) << d;
        const CSurface& s = blocks[0].GetSurfaces(d)[0];
        EXPECT_EQ(RangeOf(s), (RANGE{4, 5, 2, 2, 2, 2}));
        EXPECT_EQ(s.hidden, 0) << "the hidden inner face merged with the outer one";
        EXPECT_EQ(s.slot, 0);
    }
}

TEST(SurfaceBuilder, TexturedColoursMergeWhileMaterialColoursStayApart) {
    GRID grid = EmptyGrid();
    At(grid, 0, 0, 0) = 1;
    At(grid, 1, 0, 0) = 2;
    auto frontFaces = [&](const CBlock::COLOUR_TABLE& colours) {
        const CBlockList blocks = BuildSurfaces(grid.data(), colours);
        EXPECT_EQ(blocks.size(), 1u);
        return std::vector<CSurface>(blocks[0].GetSurfaces(0).begin(),
                                     blocks[0].GetSurfaces(0).end());
    };
    const auto textured = FakeColourTable({1, 2});
    const auto merged = frontFaces(textured);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(RangeOf(merged[0]), (RANGE{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(merged[0].colour, textured[1]);

    const auto apart = frontFaces(FakeColourTable());
    ASSERT_EQ(apart.size(), 2u);
    EXPECT_EQ(apart[0].x0, 0);
    EXPECT_EQ(apart[1].x0, 1);
    EXPECT_EQ(apart[1].slot, 1);
}

TEST(SurfaceBuilder, DotsTouchingOnlyAlongAnEdgeOrCornerAreSeparateBlocksInScanOrder) {
    GRID grid = EmptyGrid();
    At(grid, 5, 5, 5) = 1;
    At(grid, 6, 6, 5) = 1; // shares an edge
    At(grid, 7, 7, 6) = 1; // shares a corner
    At(grid, 0, 0, 9) = 1;
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable());
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].GetSurfaces(0)[0].x0, 5);
    EXPECT_EQ(blocks[1].GetSurfaces(0)[0].x0, 6);
    EXPECT_EQ(blocks[2].GetSurfaces(0)[0].x0, 7);
    EXPECT_EQ(blocks[3].GetSurfaces(0)[0].z0, 9);
}

TEST(SurfaceBuilder, SlotsFollowTheDepthFirstFillNotTheScan) {
    // A 2 x 2 square of four material colours: nothing merges, so every slot
    // shows. The fill goes (0,0) -> (1,0) -> (1,1) -> (0,1).
    GRID grid = EmptyGrid();
    At(grid, 0, 0, 0) = 1;
    At(grid, 1, 0, 0) = 2;
    At(grid, 0, 1, 0) = 3;
    At(grid, 1, 1, 0) = 4;
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable());
    ASSERT_EQ(blocks.size(), 1u);
    const CBlock::CSurfaceArray front = blocks[0].GetSurfaces(0);
    ASSERT_EQ(front.size(), 4u);
    const int expected[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(front[i].slot, i);
        EXPECT_EQ(front[i].x0, expected[i][0]);
        EXPECT_EQ(front[i].y0, expected[i][1]);
    }
}

TEST(SurfaceBuilder, AMergedFaceKeepsTheLowestSlotOfItsRunInBothBuilders) {
    // Row y = 0 holds colour 1 at x = 0, 1; row y = 1 colour 2 at x = 0, 1, 2.
    // The fill goes (0,0) -> (1,0) -> (1,1) -> (0,1) -> (2,1), so the upper
    // run keeps slot 2, the slot of its middle dot, not that of its first dot
    // in the scan. Only the +y faces of the lower row lie wholly between dots;
    // every other merged face has a visible member and is visible.
    GRID grid = EmptyGrid();
    At(grid, 0, 0, 0) = At(grid, 1, 0, 0) = 1;
    At(grid, 0, 1, 0) = At(grid, 1, 1, 0) = At(grid, 2, 1, 0) = 2;
    struct FACE {
        int slot;
        RANGE range;
        int hidden;
        bool operator==(const FACE&) const = default;
    };
    auto expected = [](int d) {
        return std::vector<FACE>{{0, {0, 1, 0, 0, 0, 0}, d == 4 ? 1 : 0},
                                 {2, {0, 2, 1, 1, 0, 0}, 0}};
    };
    const auto colours = FakeColourTable();

    GRID copy = grid;
    const CBlockList fast = BuildSurfaces(grid.data(), colours);
    ASSERT_EQ(fast.size(), 1u);
    const auto literal = BuildSurfacesLiterally(copy.data(), colours);
    ASSERT_EQ(literal.size(), 1u);
    for (int d = 0; d < 6; ++d) {
        std::vector<FACE> fastFaces, literalFaces;
        for (const CSurface& s : fast[0].GetSurfaces(d))
            fastFaces.push_back({s.slot, RangeOf(s), s.hidden});
        for (size_t slot = 0; slot < literal[0].arrays[d].size(); ++slot)
            if (const auto& s = literal[0].arrays[d][slot])
                literalFaces.push_back({static_cast<int>(slot), RangeOf(*s), s->hidden});
        EXPECT_TRUE(fastFaces == expected(d)) << "fast builder, direction " << d;
        EXPECT_TRUE(literalFaces == expected(d)) << "literal builder, direction " << d;
    }
}

TEST(SurfaceBuilder, SolidGridIsOneBlockWithOneVisibleFacePerSide) {
    GRID grid(32768, 7);
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable());
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].GetDotCount(), 32768);
    for (int d = 0; d < 6; ++d) {
        ASSERT_EQ(blocks[0].GetSurfaces(d).size(), 1u);
        const CSurface& s = blocks[0].GetSurfaces(d)[0];
        EXPECT_EQ(RangeOf(s), (RANGE{0, 31, 0, 31, 0, 31}));
        EXPECT_EQ(s.hidden, 0);
    }
}

// Random grids compared against the literal method.

struct GRID_CASE {
    GRID grid;
    CBlock::COLOUR_TABLE colours;
};

class RandomGrids {
public:
    explicit RandomGrids(unsigned seed) : rng_(seed) {}

    int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    // Palette indices 1..3 used; which of them share the texture colour varies.
    CBlock::COLOUR_TABLE Colours() {
        switch (Below(3)) {
        case 0: return FakeColourTable();
        case 1: return FakeColourTable({1, 2, 3});
        default: return FakeColourTable({1, 3});
        }
    }
    uint8_t Colour(int count) { return static_cast<uint8_t>(1 + Below(count)); }

    // Dots at the given density in a box of the given size somewhere in the grid.
    GRID_CASE Box(int size, double density, int colourCount) {
        return BoxAt(Below(33 - size), Below(33 - size), Below(33 - size), size, density,
                     colourCount);
    }
    GRID_CASE BoxAt(int ox, int oy, int oz, int size, double density, int colourCount) {
        GRID_CASE c{EmptyGrid(), Colours()};
        for (int z = 0; z < size; ++z)
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    if (Chance(density))
                        At(c.grid, ox + x, oy + y, oz + z) = Colour(colourCount);
        return c;
    }

    // A wall one dot thick across the grid, perpendicular to a random axis,
    // in stripes and patches of colour, with a few holes.
    GRID_CASE Wall(int extent, int colourCount) {
        GRID_CASE c{EmptyGrid(), Colours()};
        const int axis = Below(3), depth = Below(32);
        for (int v = 0; v < extent; ++v)
            for (int u = 0; u < extent; ++u) {
                if (Chance(0.05))
                    continue;
                const uint8_t colour = static_cast<uint8_t>(1 + ((u / 3 + v / 5) % colourCount));
                if (axis == 0)
                    At(c.grid, depth, u, v) = colour;
                else if (axis == 1)
                    At(c.grid, u, depth, v) = colour;
                else
                    At(c.grid, u, v, depth) = colour;
            }
        return c;
    }

    // Dots where x + y + z is even, or every dot coloured by that parity.
    GRID_CASE Checkerboard(int size, bool filled) {
        GRID_CASE c{EmptyGrid(), Colours()};
        for (int z = 0; z < size; ++z)
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const bool even = (x + y + z) % 2 == 0;
                    if (even || filled)
                        At(c.grid, x, y, z) = even ? 1 : 2;
                }
        return c;
    }

private:
    std::mt19937 rng_;
};

// The faces of blocks that are not hidden counted by colour key, and the
// texture rows of those of rowKey, one face at a time.
FACE_TALLY TallyOf(const CBlockList& blocks, const CBlock::COLOUR_TABLE& colours, uint8_t rowKey) {
    const COLOUR_KEYS keys = ColourKeys(colours);
    FACE_TALLY tally{rowKey};
    for (const CBlock& block : blocks)
        for (const CSurface& s : block.GetAllSurfaces()) {
            if (s.hidden)
                continue;
            size_t index = 1;
            while (colours[index] != s.colour)
                ++index;
            ++tally.faces[keys[index]];
            if (keys[index] == rowKey)
                tally.rows += static_cast<uint64_t>(CBlock::GetTextureSize(s)[1]);
        }
    return tally;
}

void ExpectSameAsLiteral(GRID_CASE c, const std::string& what) {
    GRID copy = c.grid;
    GRID visibleCopy = c.grid;
    // Index 1's key: a colour of its own, or the one textured indices share.
    const uint8_t rowKey = ColourKeys(c.colours)[1];
    FACE_TALLY tally{rowKey};
    const CBlockList fast = BuildSurfaces(c.grid.data(), c.colours, false, &tally);
    const auto reference = BuildSurfacesLiterally(copy.data(), c.colours);
    EXPECT_EQ(CompareWithReference(fast, reference), "") << what;
    EXPECT_EQ(c.grid, copy) << what << ": visit marks differ";
    // The tally counts the faces that are not hidden, whether or not the
    // hidden ones are kept.
    FACE_TALLY visibleTally{rowKey};
    BuildSurfaces(visibleCopy.data(), c.colours, true, &visibleTally);
    const FACE_TALLY expected = TallyOf(fast, c.colours, rowKey);
    for (const FACE_TALLY& t : {tally, visibleTally}) {
        EXPECT_EQ(t.faces, expected.faces) << what;
        EXPECT_EQ(t.rows, expected.rows) << what;
    }
}

TEST(SurfaceBuilder, MatchesTheLiteralMethodOnRandomBoxes) {
    RandomGrids random(20240611);
    for (double density : {0.1, 0.3, 0.5, 0.7, 0.9, 1.0})
        for (int colours = 1; colours <= 3; ++colours)
            for (int size : {3, 5, 7})
                for (int round = 0; round < 2; ++round)
                    ExpectSameAsLiteral(random.Box(size, density, colours),
                                        "density " + std::to_string(density) + " colours " +
                                            std::to_string(colours) + " size " +
                                            std::to_string(size));
}

TEST(SurfaceBuilder, MatchesTheLiteralMethodOnSparseWholeGrids) {
    RandomGrids random(77);
    for (double density : {0.002, 0.02, 0.08})
        for (int colours = 1; colours <= 3; ++colours)
            ExpectSameAsLiteral(random.Box(32, density, colours),
                                "density " + std::to_string(density));
}

TEST(SurfaceBuilder, MatchesTheLiteralMethodOnDenseBoxesAgainstTheGridsFaces) {
    // Long runs along x that end on the grid's first or last column, and
    // lines and slices on its outer faces, where the fill's neighbours fall
    // outside the grid.
    RandomGrids random(31);
    for (double density : {0.8, 0.95})
        for (int colours = 1; colours <= 2; ++colours) {
            ExpectSameAsLiteral(random.BoxAt(0, 0, 0, 12, density, colours), "low corner");
            ExpectSameAsLiteral(random.BoxAt(20, 20, 20, 12, density, colours), "high corner");
            ExpectSameAsLiteral(random.BoxAt(0, 25, 10, 7, density, colours), "mixed sides");
        }
}

TEST(SurfaceBuilder, MatchesTheLiteralMethodOnWallsCheckerboardsAndSolids) {
    RandomGrids random(5);
    for (int colours = 1; colours <= 3; ++colours)
        ExpectSameAsLiteral(random.Wall(14, colours), "wall");
    ExpectSameAsLiteral(random.Checkerboard(8, false), "checkerboard");
    ExpectSameAsLiteral(random.Checkerboard(7, true), "filled checkerboard");
    for (int colours = 1; colours <= 3; ++colours)
        ExpectSameAsLiteral(random.Box(7, 1.0, colours), "solid box");
    GRID_CASE corners{EmptyGrid(), random.Colours()};
    for (int i = 0; i < 8; ++i)
        At(corners.grid, (i & 1) * 31, (i >> 1 & 1) * 31, (i >> 2) * 31) = random.Colour(3);
    ExpectSameAsLiteral(corners, "single dots in the corners");
}

} // namespace
