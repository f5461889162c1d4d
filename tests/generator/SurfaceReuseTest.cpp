// Parts whose grids give the same blocks are found, and only those: a copy
// of the first one's blocks must be exactly what building would give, and
// the grid must be left marked as building leaves it.

#include "generator/SurfaceReuse.h"

#include "SurfaceReference.h"
#include "document/Grid.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

bool SameBlocks(const CBlockList& a, const CBlockList& b) {
    if (a.size() != b.size())
        return false;
    for (size_t n = 0; n < a.size(); ++n) {
        const auto x = a[n].GetAllSurfaces(), y = b[n].GetAllSurfaces();
        if (a[n].GetDotCount() != b[n].GetDotCount() || x.size() != y.size())
            return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (x[i].direction != y[i].direction || x[i].x0 != y[i].x0 || x[i].x1 != y[i].x1 ||
                x[i].y0 != y[i].y0 || x[i].y1 != y[i].y1 || x[i].z0 != y[i].z0 ||
                x[i].z1 != y[i].z1 || x[i].colour != y[i].colour || x[i].hidden != y[i].hidden ||
                x[i].slot != y[i].slot)
                return false;
    }
    return true;
}

// A box of dots 4..9 on each axis, the lower half in colour low and the upper
// in colour high, with an empty dot at 6, 6, 6 and one stray dot.
std::vector<uint8_t> Box(int low, int high, int strayX) {
    std::vector<uint8_t> grid(GridDots);
    for (int z = 4; z <= 9; ++z)
        for (int y = 4; y <= 9; ++y)
            for (int x = 4; x <= 9; ++x)
                grid[static_cast<size_t>(GridIndex(x, y, z))] =
                    static_cast<uint8_t>(z < 7 ? low : high);
    grid[static_cast<size_t>(GridIndex(6, 6, 6))] = 0;
    grid[static_cast<size_t>(GridIndex(strayX, 20, 20))] = static_cast<uint8_t>(low);
    return grid;
}

} // namespace

TEST(SurfaceReuse, GroupsOnlyGridsWhoseColourKeysMatchUpToRenamingAndCopiesAreAsBuilt) {
    // 2, 4 and 6 are textured and share one colour object.
    const auto colours = FakeColourTable({2, 4, 6});
    std::vector<std::vector<uint8_t>> grids = {
        Box(2, 3, 1),                   // 0
        Box(4, 3, 1),                   // 1: like 0, another textured colour
        Box(2, 5, 1),                   // 2: 0 with the upper half in another material
        Box(6, 3, 2),                   // 3: the stray dot elsewhere, same count as 0
        Box(3, 3, 1),                   // 4: 0 with both halves in one material
        std::vector<uint8_t>(GridDots), // 5: empty
        Box(6, 3, 2),                   // 6: like 3
        Box(2, 3, 1),                   // 7: like 0
        Box(3, 2, 1),                   // 8: 0 with its two colours swapped
    };
    grids[1][static_cast<size_t>(GridIndex(0, 0, 0))] = 0x80;  // a stale mark: ignored
    grids[7][static_cast<size_t>(GridIndex(5, 5, 5))] |= 0x60; // bits 5 and 6: ignored
    std::vector<const uint8_t*> pointers;
    for (const auto& grid : grids)
        pointers.push_back(grid.data());
    pointers.push_back(nullptr); // 9

    const COLOUR_KEYS keys = ColourKeys(colours);
    const auto sources = SurfaceSources(pointers, keys);
    std::vector<size_t> first;
    for (const SURFACE_SOURCE& source : sources)
        first.push_back(source.first);
    const std::vector<size_t> expected = {0, 0, 0, 3, 4, 5, 3, 0, 0, 9};
    EXPECT_EQ(first, expected);

    // What the grouping stands on: keys equal up to renaming give the same
    // blocks but for their colours, and the copy takes the grid's own.
    std::vector<std::vector<uint8_t>> built = grids;
    std::vector<CBlockList> blocks;
    for (auto& grid : built)
        blocks.push_back(BuildSurfaces(grid.data(), colours, true));
    for (size_t i = 0; i < grids.size(); ++i) {
        const CBlockList copy = CopySurfaces(blocks[sources[i].first], sources[i], colours, keys);
        EXPECT_TRUE(SameBlocks(copy, blocks[i])) << "grid " << i;
    }
    EXPECT_TRUE(SameBlocks(blocks[1], blocks[0]));
    EXPECT_FALSE(SameBlocks(blocks[2], blocks[0]));
    EXPECT_FALSE(SameBlocks(blocks[8], blocks[0]));
    EXPECT_FALSE(SameBlocks(blocks[3], blocks[0]));
    EXPECT_FALSE(SameBlocks(blocks[4], blocks[0]));

    // A grid not built is left marked as a built one.
    for (size_t i = 0; i < grids.size(); ++i) {
        MarkBuilt(grids[i].data());
        EXPECT_EQ(grids[i], built[i]) << "grid " << i;
    }
}

TEST(SurfaceReuse, EveryDotCountsEvenInsideLongRepeatsOfTheSameWords) {
    // Grids compare eight dots at a time and pass over a word pair that
    // repeats the one before: a single dot that breaks a long repeat, at
    // either end of its word or inside it, must still tell grids apart.
    // 5 and 6 are textured: one colour key.
    const auto colours = FakeColourTable({5, 6});
    std::mt19937 random(8);
    // Stretches of one colour, of two colours dot by dot, and empty ones,
    // each many words long, with stray bits 5 to 7 that are ignored.
    auto pattern = [&](int one, int two) {
        std::vector<uint8_t> grid(GridDots);
        for (int p = 0; p < GridDots; ++p) {
            const int stretch = p / 1000 % 3;
            const int index = stretch == 0 ? one : stretch == 1 ? (p % 2 ? two : one) : 0;
            grid[static_cast<size_t>(p)] = static_cast<uint8_t>(index | (random() % 8) << 5);
        }
        return grid;
    };
    // Swaps the index of one dot for another, keeping the stray bits.
    auto set = [](std::vector<uint8_t>& grid, int p, int index) {
        grid[static_cast<size_t>(p)] =
            static_cast<uint8_t>((grid[static_cast<size_t>(p)] & 0xE0) | index);
    };
    std::vector<std::vector<uint8_t>> grids = {
        pattern(1, 2), // 0
        pattern(3, 4), // 1: 0 renamed
        pattern(3, 4), // 2: 1 with one dot that breaks the renaming
        pattern(1, 2), // 3: 0 with stray bits of its own
        pattern(5, 5), // 4
        pattern(6, 6), // 5: 4 in another textured colour: the same keys
        pattern(6, 6), // 6: 5 with one dot in a material colour
        pattern(6, 6), // 7: 5 with a dot moved out of a run into an empty stretch
    };
    set(grids[2], 1000 + 8 * 40 + 5, 3); // a 4 in a two-colour stretch
    set(grids[6], 8 * 50 + 7, 7);        // the last dot of a word in the first stretch
    set(grids[7], 8 * 60, 0);            // the first dot of a word
    set(grids[7], 2000 + 8 * 70 + 3, 6);
    std::vector<const uint8_t*> pointers;
    for (const auto& grid : grids)
        pointers.push_back(grid.data());

    const COLOUR_KEYS keys = ColourKeys(colours);
    const auto sources = SurfaceSources(pointers, keys);
    std::vector<size_t> first;
    for (const SURFACE_SOURCE& source : sources)
        first.push_back(source.first);
    EXPECT_EQ(first, (std::vector<size_t>{0, 0, 2, 0, 4, 4, 6, 7}));
    EXPECT_EQ(sources[1].keyMap[1], 3);
    EXPECT_EQ(sources[1].keyMap[2], 4);
    EXPECT_EQ(sources[3].keyMap[1], 1);
}

TEST(SurfaceReuse, GridsOfOneRepeatedWordCompareInThatWordOnly) {
    const auto colours = FakeColourTable();
    auto filled = [](std::vector<uint8_t> word) {
        std::vector<uint8_t> grid(GridDots);
        for (size_t p = 0; p < grid.size(); ++p)
            grid[p] = word[p % word.size()];
        return grid;
    };
    std::vector<std::vector<uint8_t>> grids = {
        filled({7}),                      // 0
        filled({8 | 0x60}),               // 1: 0 renamed, stray bits ignored
        filled({7, 7, 7, 7, 7, 7, 7, 8}), // 2: one word repeated, two colours
        filled({7}),                      // 3: 0 but for one dot in the last slice
        filled({9, 9, 9, 9, 9, 9, 9, 3}), // 4: 2 renamed
    };
    grids[3][GridDots - 3] = 9;
    std::vector<const uint8_t*> pointers;
    for (const auto& grid : grids)
        pointers.push_back(grid.data());
    const auto sources = SurfaceSources(pointers, ColourKeys(colours));
    std::vector<size_t> first;
    for (const SURFACE_SOURCE& source : sources)
        first.push_back(source.first);
    EXPECT_EQ(first, (std::vector<size_t>{0, 0, 2, 3, 2}));
    EXPECT_EQ(sources[1].keyMap[7], 8);
    EXPECT_EQ(sources[4].keyMap[8], 3);
}
