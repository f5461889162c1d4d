#include "generator/Block.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace {

using CSurface = CBlock::CSurface;
using VECTOR = std::array<int, 3>;

// The outward normal of each direction code.
constexpr VECTOR NORMALS[6] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

CSurface Face(int direction) {
    CSurface s;
    s.direction = direction;
    s.x0 = 2, s.x1 = 4; // three dots wide
    s.y0 = 5, s.y1 = 8; // four high
    s.z0 = 1, s.z1 = 5; // five deep
    return s;
}

VECTOR Minus(const VECTOR& a, const VECTOR& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
VECTOR Cross(const VECTOR& a, const VECTOR& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
// The triangle normal the model uses: (P0 - P1) x (P1 - P2).
VECTOR TriangleNormal(const VECTOR& p0, const VECTOR& p1, const VECTOR& p2) {
    return Cross(Minus(p0, p1), Minus(p1, p2));
}
int Dot(const VECTOR& a, const VECTOR& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The coordinate of the plane a face is drawn on, along its normal axis.
int PlaneOf(const CSurface& s) {
    switch (s.direction) {
    case 0: return s.z0;
    case 1: return s.z1 + 1;
    case 2: return s.x0;
    case 3: return s.x1 + 1;
    case 4: return s.y1 + 1;
    default: return s.y0;
    }
}
int NormalAxis(int direction) { return direction < 2 ? 2 : direction < 4 ? 0 : 1; }

TEST(Block, CornersSpanTheFaceOnItsPlaneAndTurnOutward) {
    for (int d = 0; d < 6; ++d) {
        const CSurface s = Face(d);
        const auto c = CBlock::GetCornerDots(s);
        const int axis = NormalAxis(d);
        std::set<VECTOR> distinct(c.begin(), c.end());
        EXPECT_EQ(distinct.size(), 4u) << d;
        for (const VECTOR& corner : c) {
            EXPECT_EQ(corner[axis], PlaneOf(s)) << d;
            const VECTOR low{s.x0, s.y0, s.z0}, high{s.x1 + 1, s.y1 + 1, s.z1 + 1};
            for (int a = 0; a < 3; ++a)
                if (a != axis) {
                    EXPECT_TRUE(corner[a] == low[a] || corner[a] == high[a]) << d;
                }
        }
        // Both triangles face outward, and A-C is their shared diagonal.
        for (const VECTOR& n : {TriangleNormal(c[0], c[1], c[2]), TriangleNormal(c[0], c[2], c[3])})
            EXPECT_GT(Dot(n, NORMALS[d]), 0) << "direction " << d;
        EXPECT_EQ(Dot(Minus(c[0], c[1]), Minus(c[2], c[1])), 0) << "B is a right angle";
    }
}

TEST(Block, CornerAOfEachDirectionIsTheTopLeftSeenFromOutside) {
    // With the winding fixed above, corner A decides the order of all four
    // corners (and so the vertex order and the texture's orientation): a
    // table turned by half a turn would still wind outward.
    const VECTOR expectedA[6] = {{2, 9, 1}, {5, 9, 6}, {2, 9, 6}, {5, 9, 1}, {2, 9, 6}, {2, 5, 1}};
    for (int d = 0; d < 6; ++d)
        EXPECT_EQ(CBlock::GetCornerDots(Face(d))[0], expectedA[d]) << "direction " << d;
}

TEST(Block, CornersAreScaledAroundTheJointPoint) {
    CSurface s; // the -z face of dot (0, 0, 0)
    const auto corners = CBlock::GetCorners(s, 0.5f, {32, 32, 32});
    // Corner A is (0, 1, 0) in dots: ((0 - 32) * 0.25, (2 - 32) * 0.25, (0 - 32) * 0.25).
    EXPECT_EQ(corners[0], (CBlock::POSITION{-8.0f, -7.5f, -8.0f}));
    const auto shifted = CBlock::GetCorners(s, 2.0f, {0, 1, 3});
    EXPECT_EQ(shifted[0], (CBlock::POSITION{0.0f, 1.0f, -3.0f}));
}

// The dot whose cube has this corner and lies on the face's side of the plane.
bool Touches(const VECTOR& dot, const VECTOR& corner) {
    for (int a = 0; a < 3; ++a)
        if (corner[a] != dot[a] && corner[a] != dot[a] + 1)
            return false;
    return true;
}

TEST(Block, TextureRegionCoversTheFaceDotsWithItsCornersAtTheFaceCorners) {
    for (int d = 0; d < 6; ++d) {
        const CSurface s = Face(d);
        const CBlock::TEXTURE_LAYOUT layout = CBlock::GetTextureLayout(s);
        const auto corners = CBlock::GetCornerDots(s);
        const int axis = NormalAxis(d);
        const int depth = (d == 0 || d == 2 || d == 5) ? VECTOR{s.x0, s.y0, s.z0}[axis]
                                                       : VECTOR{s.x1, s.y1, s.z1}[axis];
        std::set<VECTOR> seen;
        for (int j = 0; j < layout.width; ++j)
            for (int i = 0; i < layout.height; ++i) {
                const VECTOR dot = layout.DotAt(j, i);
                EXPECT_EQ(dot[axis], depth) << "direction " << d << ": dot on the face's plane";
                EXPECT_TRUE(dot[0] >= s.x0 && dot[0] <= s.x1 && dot[1] >= s.y0 && dot[1] <= s.y1 &&
                            dot[2] >= s.z0 && dot[2] <= s.z1)
                    << "direction " << d;
                seen.insert(dot);
            }
        const VECTOR size{s.x1 - s.x0 + 1, s.y1 - s.y0 + 1, s.z1 - s.z0 + 1};
        EXPECT_EQ(static_cast<int>(seen.size()), size[0] * size[1] * size[2] / size[axis]) << d;
        const int right = layout.width - 1, bottom = layout.height - 1;
        EXPECT_TRUE(Touches(layout.DotAt(0, 0), corners[0])) << "A, direction " << d;
        EXPECT_TRUE(Touches(layout.DotAt(right, 0), corners[1])) << "B, direction " << d;
        EXPECT_TRUE(Touches(layout.DotAt(right, bottom), corners[2])) << "C, direction " << d;
        EXPECT_TRUE(Touches(layout.DotAt(0, bottom), corners[3])) << "D, direction " << d;
    }
}

TEST(Block, KeepsFacesPerDirectionAndRefusesBadOnes) {
    std::vector<CSurface> faces(3);
    faces[1].direction = 2;
    faces[2].direction = 5;
    faces[2].slot = 1;
    const CBlock block(2, faces);
    EXPECT_EQ(block.GetSurfaces(0).size(), 1u);
    EXPECT_EQ(block.GetSurfaces(1).size(), 0u);
    EXPECT_EQ(block.GetSurfaces(2).size(), 1u);
    EXPECT_EQ(block.GetSurfaces(5)[0].slot, 1);
    EXPECT_EQ(block.GetSurfaces(6).size(), 0u);
    EXPECT_EQ(block.GetSurfaces(-1).size(), 0u);

    std::swap(faces[0], faces[1]);
    EXPECT_THROW(CBlock(2, faces), std::invalid_argument);
    CSurface bad;
    bad.direction = 6;
    EXPECT_THROW(CBlock::GetCornerDots(bad), std::invalid_argument);
    EXPECT_THROW(CBlock::GetTextureLayout(bad), std::invalid_argument);
    EXPECT_THROW(CBlock::GetTextureSize(bad), std::invalid_argument);
}

} // namespace
