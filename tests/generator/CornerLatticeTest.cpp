#include "generator/CornerLattice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const ROTATION_MATRIX kIdentity = RotationMatrix(0, 0, 0, 1);

// Half a turn about an oblique axis: no coordinate stays where it was.
ROTATION_MATRIX Turned() {
    const float s = std::sin(1.1f) / std::sqrt(3.0f);
    return RotationMatrix(s, s, s, std::cos(1.1f));
}

CModelVertex VertexOf(const VERTEX_KEY& key) {
    return {{key.position[0], key.position[1], key.position[2]},
            {key.normal[0], key.normal[1], key.normal[2]},
            {key.uv[0], key.uv[1]},
            key.bone};
}

} // namespace

TEST(CornerLattice, OrdinaryPartsKeepTheirCornersApartAndOddOnesDoNot) {
    const std::array<int, 3> joint{32, 10, 32};
    // What documents hold: dots of a tenth to a few units, parts placed
    // within a few hundred units, turned any way.
    EXPECT_TRUE(CornersStayApart(0.1f, joint, kIdentity, {0, 12.5f, -3}));
    EXPECT_TRUE(CornersStayApart(1.0f, joint, Turned(), {300, -200, 40}));
    EXPECT_TRUE(CornersStayApart(-0.5f, {0, 0, 0}, Turned(), {0, 0, 0}));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    // Sizes at which corners round together or normals underflow.
    EXPECT_FALSE(CornersStayApart(0.0f, joint, kIdentity, {0, 0, 0}));
    EXPECT_FALSE(CornersStayApart(1e-7f, joint, kIdentity, {0, 0, 0}));
    EXPECT_FALSE(CornersStayApart(1e7f, joint, kIdentity, {0, 0, 0}));
    EXPECT_FALSE(CornersStayApart(nan, joint, kIdentity, {0, 0, 0}));
    // Far from the origin for the size of its dots.
    EXPECT_FALSE(CornersStayApart(0.01f, joint, kIdentity, {1e5f, 0, 0}));
    EXPECT_FALSE(CornersStayApart(0.01f, joint, Turned(), {0, 0, 3e5f}));
    EXPECT_FALSE(CornersStayApart(1.0f, joint, kIdentity, {0, infinity, 0}));
    EXPECT_FALSE(CornersStayApart(1.0f, joint, kIdentity, {nan, 0, 0}));
    // A joint so far out that its half-cells are no longer whole floats.
    EXPECT_FALSE(CornersStayApart(1.0f, {1 << 25, 0, 0}, kIdentity, {0, 0, 0}));
    // Rotations that do not keep distances (from quaternions that are not
    // unit length) or hold no number.
    EXPECT_FALSE(CornersStayApart(0.5f, joint, RotationMatrix(1, 1, 0, 0), {0, 0, 0}));
    EXPECT_FALSE(CornersStayApart(0.5f, joint, RotationMatrix(0, 0, 0.5f, 0.5f), {0, 0, 0}));
    EXPECT_FALSE(CornersStayApart(0.5f, joint, RotationMatrix(nan, 0, 0, 1), {0, 0, 0}));
}

TEST(CornerLattice, FindsEqualVerticesOfTheSamePointDirectionAndPartOnly) {
    CCornerLattice lattice;
    lattice.Reserve(9);
    std::vector<CModelVertex> vertices;
    auto findOrAdd = [&](uint32_t point, int direction, const VERTEX_KEY& key) {
        const auto result = lattice.FindOrAdd(point, direction, key, vertices);
        if (result.created) {
            EXPECT_EQ(result.index, vertices.size());
            vertices.push_back(VertexOf(key));
        }
        return result;
    };
    const uint32_t point = CCornerLattice::Point({3, 4, 5});
    EXPECT_EQ(point, (5u * 33 + 4) * 33 + 3);
    const VERTEX_KEY a{{1, 2, 3}, {0, 0, 1}, {0, 0}, 0};
    VERTEX_KEY b = a;
    b.uv = {0.5f, 0.5f};
    VERTEX_KEY c = a;
    c.normal = {0, 0, -1};

    EXPECT_TRUE(findOrAdd(point, 1, a).created);
    EXPECT_TRUE(findOrAdd(point, 1, b).created);
    EXPECT_TRUE(findOrAdd(point, 0, c).created);
    // Each is found again under its own direction, past the later ones.
    EXPECT_EQ(findOrAdd(point, 1, a).index, 0u);
    EXPECT_EQ(findOrAdd(point, 1, b).index, 1u);
    EXPECT_EQ(findOrAdd(point, 0, c).index, 2u);
    EXPECT_FALSE(findOrAdd(point, 0, c).created);
    // The same numbers on a face of the last direction are a vertex of
    // their own: the direction kept with each vertex tells them apart.
    EXPECT_TRUE(findOrAdd(point, 5, a).created);
    EXPECT_EQ(findOrAdd(point, 5, a).index, 3u);
    EXPECT_EQ(findOrAdd(point, 1, a).index, 0u);

    // A new part sees none of the vertices before it.
    lattice.StartPart(vertices.size());
    const auto again = findOrAdd(point, 1, a);
    EXPECT_TRUE(again.created);
    EXPECT_EQ(again.index, 4u);
    EXPECT_EQ(findOrAdd(point, 1, a).index, 4u);

    // A vertex beyond the reserved count is refused, not written past the
    // end.
    VERTEX_KEY d = a;
    for (int k = 0; k < 4; ++k) {
        d.position[0] += 1;
        findOrAdd(CCornerLattice::Point({k, 0, 0}), 2, d);
    }
    EXPECT_EQ(vertices.size(), 9u);
    EXPECT_THROW(lattice.FindOrAdd(0, 2, {{9, 9, 9}, {0, 0, 1}, {0, 0}, 0}, vertices),
                 std::length_error);
    // Indices past what a list link holds are refused before anything is
    // allocated.
    EXPECT_THROW(CCornerLattice().Reserve(CCornerLattice::MAX_CAPACITY + 1), std::length_error);
}
