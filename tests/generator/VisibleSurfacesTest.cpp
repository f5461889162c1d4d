// Surfaces built for a model keep only the visible faces: exactly the faces
// of the full build that are not hidden, in the same order with the same
// slots, and blocks with the same dot counts.

#include "generator/SurfaceBuilder.h"

#include "SurfaceReference.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

bool SameFace(const CBlock::CSurface& a, const CBlock::CSurface& b) {
    return a.direction == b.direction && a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 &&
           a.y1 == b.y1 && a.z0 == b.z0 && a.z1 == b.z1 && a.colour == b.colour &&
           a.hidden == b.hidden && a.slot == b.slot;
}

void ExpectVisibleOfFull(const std::vector<uint8_t>& grid, const char* what) {
    SCOPED_TRACE(what);
    const auto colours = FakeColourTable({1, 2});
    std::vector<uint8_t> a = grid, b = grid;
    const CBlockList full = BuildSurfaces(a.data(), colours);
    const CBlockList visible = BuildSurfaces(b.data(), colours, true);
    EXPECT_EQ(a, b); // the grids are marked the same way
    ASSERT_EQ(visible.size(), full.size());
    for (size_t n = 0; n < full.size(); ++n) {
        EXPECT_EQ(visible[n].GetDotCount(), full[n].GetDotCount());
        for (int d = 0; d < CBlock::DIRECTION_COUNT; ++d) {
            std::vector<CBlock::CSurface> expected;
            for (const CBlock::CSurface& s : full[n].GetSurfaces(d))
                if (!s.hidden)
                    expected.push_back(s);
            const auto actual = visible[n].GetSurfaces(d);
            ASSERT_EQ(actual.size(), expected.size()) << "block " << n << " direction " << d;
            for (size_t i = 0; i < expected.size(); ++i)
                EXPECT_TRUE(SameFace(actual[i], expected[i]))
                    << "block " << n << " direction " << d << " face " << i;
        }
    }
}

} // namespace

TEST(VisibleSurfaces, AreTheUnhiddenFacesOfTheFullBuild) {
    std::vector<uint8_t> checker(32768), solid(32768, 3), sparse(32768), dense(32768), mixed(32768);
    for (int i = 0; i < 32768; ++i)
        checker[static_cast<size_t>(i)] = ((i & 31) + (i >> 5 & 31) + (i >> 10)) % 2 ? 1 : 4;
    std::mt19937 random(5);
    for (int i = 0; i < 32768; ++i) {
        if (random() % 10 == 0)
            sparse[static_cast<size_t>(i)] = static_cast<uint8_t>(1 + random() % 4);
        if (random() % 10 < 7)
            dense[static_cast<size_t>(i)] = static_cast<uint8_t>(1 + random() % 2);
        // Full, in indices 1 and 2 (one colour object) and 3: inner dots
        // whose neighbours all differ from them are left out early, those
        // with a like neighbour (by object, not index) are not.
        mixed[static_cast<size_t>(i)] = static_cast<uint8_t>(1 + random() % 3);
    }
    ExpectVisibleOfFull(checker, "two-colour checkerboard");
    ExpectVisibleOfFull(solid, "solid");
    ExpectVisibleOfFull(sparse, "sparse random");
    ExpectVisibleOfFull(dense, "dense random");
    ExpectVisibleOfFull(mixed, "solid in random colours");

    // A solid grid keeps the six outer faces of its one block.
    std::vector<uint8_t> grid = solid;
    const CBlockList blocks = BuildSurfaces(grid.data(), FakeColourTable(), true);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].GetAllSurfaces().size(), 6u);
    EXPECT_EQ(blocks[0].GetDotCount(), 32768);
}
