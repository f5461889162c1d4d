// The per-part mesh: which faces of which dots are drawn, merged into
// rectangles per colour and direction, the outline merged into segments,
// and the drawing order of the colours.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
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

} // namespace

namespace {

// A unit face as (face bit number, x, y, z) of its dot's cell; a unit edge
// as (x, y, z) of its lower end and its axis.
using UnitFace = std::tuple<int, int, int, int>;
using UnitEdge = std::tuple<int, int, int, int>;

// The open faces of each dot, unmerged, with the dot's colour.
std::map<UnitFace, int> UnitFaces(const Grid& grid, const std::vector<uint8_t>& open) {
    std::map<UnitFace, int> faces;
    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x)
                for (int face = 0; face < CubeFaces; ++face)
                    if (open[static_cast<size_t>(GridIndex(x, y, z))] >> face & 1)
                        faces[{face, x, y, z}] = At(grid, x, y, z);
    return faces;
}

// The four edges of each face.
std::set<UnitEdge> EdgesOf(const std::map<UnitFace, int>& faces) {
    std::set<UnitEdge> edges;
    for (const auto& [face, colour] : faces) {
        const int n = FaceAxis(std::get<0>(face));
        int p[3] = {std::get<1>(face), std::get<2>(face), std::get<3>(face)};
        p[n] += FaceIsFar(std::get<0>(face)) ? 1 : 0;
        for (int a : {(n + 1) % 3, (n + 2) % 3}) {
            const int b = 3 - n - a;
            for (int side = 0; side < 2; ++side) {
                int q[3] = {p[0], p[1], p[2]};
                q[b] += side;
                edges.insert({q[0], q[1], q[2], a});
            }
        }
    }
    return edges;
}

// The unit faces the rectangles cover, with the colour each is drawn in.
// A rectangle must be one cell thick across its face, lie inside the grid
// and cover no face another one covers.
std::map<UnitFace, int> ExpandRectangles(const PART_MESH& mesh) {
    std::map<UnitFace, int> faces;
    for (int face = 0; face < CubeFaces; ++face)
        for (int colour = 0; colour < 32; ++colour)
            for (uint32_t k = 0; k < mesh.count[size_t(face)][size_t(colour)]; ++k) {
                const FACE_RECT& r = mesh.faces[mesh.first[size_t(face)][size_t(colour)] + k];
                const int o[3] = {r.x, r.y, r.z};
                const int s[3] = {r.sx, r.sy, r.sz};
                EXPECT_EQ(1, s[FaceAxis(face)]) << "a rectangle across its face";
                for (int a = 0; a < 3; ++a)
                    EXPECT_TRUE(s[a] >= 1 && o[a] + s[a] <= GridSide) << "outside the grid";
                for (int z = o[2]; z < o[2] + s[2]; ++z)
                    for (int y = o[1]; y < o[1] + s[1]; ++y)
                        for (int x = o[0]; x < o[0] + s[0]; ++x)
                            EXPECT_TRUE(faces.insert({{face, x, y, z}, colour}).second)
                                << "face " << face << " at " << x << "," << y << "," << z
                                << " covered twice";
            }
    return faces;
}

// The unit edges the segments cover; no edge may be covered twice.
std::set<UnitEdge> ExpandSegments(const std::vector<EDGE_END>& ends) {
    std::set<UnitEdge> edges;
    EXPECT_EQ(0u, ends.size() % 2);
    for (size_t k = 0; k + 1 < ends.size(); k += 2) {
        const int low[3] = {ends[k].x, ends[k].y, ends[k].z};
        const int high[3] = {ends[k + 1].x, ends[k + 1].y, ends[k + 1].z};
        int axis = -1;
        for (int a = 0; a < 3; ++a)
            if (low[a] != high[a]) {
                EXPECT_EQ(-1, axis) << "a segment off the lattice lines";
                axis = a;
            }
        if (axis < 0 || low[axis] > high[axis]) {
            ADD_FAILURE() << "segment " << k / 2 << " is empty or runs backwards";
            continue;
        }
        int p[3] = {low[0], low[1], low[2]};
        for (; p[axis] < high[axis]; ++p[axis])
            EXPECT_TRUE(edges.insert({p[0], p[1], p[2], axis}).second) << "an edge covered twice";
    }
    return edges;
}

// Whether two rectangles of one colour and direction share a whole side
// (they could have been one), and whether two segments on one line meet
// end to end.
bool MergeMissed(const PART_MESH& mesh) {
    std::set<std::array<int, 7>> nearSides, farSides;
    for (int face = 0; face < CubeFaces; ++face)
        for (int colour = 0; colour < 32; ++colour)
            for (uint32_t k = 0; k < mesh.count[size_t(face)][size_t(colour)]; ++k) {
                const FACE_RECT& r = mesh.faces[mesh.first[size_t(face)][size_t(colour)] + k];
                const int n = FaceAxis(face);
                for (int a : {(n + 1) % 3, (n + 2) % 3}) {
                    int o[3] = {r.x, r.y, r.z};
                    const int s[3] = {r.sx, r.sy, r.sz};
                    const int across = s[3 - n - a];
                    nearSides.insert({face * 32 + colour, a, o[0], o[1], o[2], across, 0});
                    o[a] += s[a];
                    farSides.insert({face * 32 + colour, a, o[0], o[1], o[2], across, 0});
                }
            }
    std::set<std::array<int, 4>> lows, highs;
    for (size_t k = 0; k + 1 < mesh.edges.size(); k += 2) {
        const EDGE_END& a = mesh.edges[k];
        const EDGE_END& b = mesh.edges[k + 1];
        const int axis = a.x != b.x ? 0 : a.y != b.y ? 1 : 2;
        lows.insert({a.x, a.y, a.z, axis});
        highs.insert({b.x, b.y, b.z, axis});
    }
    auto meet = [](const auto& one, const auto& other) {
        return std::any_of(one.begin(), one.end(), [&](const auto& v) { return other.count(v); });
    };
    return meet(nearSides, farSides) || meet(lows, highs);
}

// Random parts: boxes of random colours (5 translucent) over each other,
// with single dots added and holes cut.
Grid RandomGrid(std::mt19937& random, int boxes, int noise) {
    Grid grid = EmptyGrid();
    std::uniform_int_distribution<int> colour(1, 6), at(0, GridSide - 1), chance(0, 99);
    for (int b = 0; b < boxes; ++b) {
        const int x = at(random), y = at(random), z = at(random);
        Fill(grid, x, std::min(x + at(random) / 2, 31), y, std::min(y + at(random) / 2, 31), z,
             std::min(z + at(random) / 2, 31), colour(random));
    }
    for (uint8_t& dot : grid)
        if (chance(random) < noise)
            dot = static_cast<uint8_t>(chance(random) < 50 ? 0 : colour(random));
    return grid;
}

} // namespace

TEST(PreviewMeshTest, RectanglesAreGroupedByFaceThenColourInSliceOrder) {
    Grid grid = EmptyGrid();
    grid[static_cast<size_t>(GridIndex(5, 0, 0))] = 3;
    grid[static_cast<size_t>(GridIndex(1, 2, 0))] = 3 | 0x80; // scratch bit ignored
    grid[static_cast<size_t>(GridIndex(0, 0, 7))] = 1;
    const PART_MESH mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    ASSERT_EQ(3u, mesh.Total());
    ASSERT_EQ(18u, mesh.faces.size()) << "three lone dots, six faces each";
    EXPECT_EQ(0u, mesh.first[0][1]);
    EXPECT_EQ(1u, mesh.count[0][1]);
    EXPECT_EQ(1u, mesh.first[0][3]);
    EXPECT_EQ(2u, mesh.count[0][3]);
    EXPECT_EQ(3u, mesh.FaceFirst(1));
    EXPECT_EQ(3u, mesh.FaceCount(5));
    EXPECT_EQ((FACE_RECT{0, 0, 7, 0, 1, 1, 1, 0}), mesh.faces[0]);
    EXPECT_EQ((FACE_RECT{5, 0, 0, 0, 1, 1, 1, 0}), mesh.faces[1]) << "row by row in a slice";
    EXPECT_EQ((FACE_RECT{1, 2, 0, 0, 1, 1, 1, 0}), mesh.faces[2]);
    EXPECT_EQ(0u, BuildPartMesh(nullptr, AllOpaqueBut({})).Total()) << "a part without a grid";
}

TEST(PreviewMeshTest, EnclosedDotsAreSkippedOnlyBehindOpaqueNeighbours) {
    auto withOpenFaces = [](const std::vector<uint8_t>& open) {
        return std::count_if(open.begin(), open.end(), [](uint8_t f) { return f != 0; });
    };
    Grid solid = EmptyGrid();
    Fill(solid, 0, 31, 0, 31, 0, 31, 4);
    EXPECT_EQ(32u * 32 * 32 - 30 * 30 * 30, BuildPartMesh(solid.data(), AllOpaqueBut({})).Total());
    EXPECT_EQ(32 * 32 * 32, withOpenFaces(OpenFaces(solid.data(), AllOpaqueBut({}), false)));
    // Seen through translucent neighbours, the middle of a 3³ block shows.
    Grid block = EmptyGrid();
    Fill(block, 10, 12, 10, 12, 10, 12, 6);
    EXPECT_EQ(26u, BuildPartMesh(block.data(), AllOpaqueBut({})).Total());
    EXPECT_EQ(27u, BuildPartMesh(block.data(), AllOpaqueBut({6})).Total());
    // An opaque dot inside a translucent shell shows as well.
    block[static_cast<size_t>(GridIndex(11, 11, 11))] = 2;
    EXPECT_EQ(27u, BuildPartMesh(block.data(), AllOpaqueBut({6})).Total());
}

// Merging: one rectangle per side of a box of one colour, none across
// colours, and one outline segment per lattice line on the surface,
// reaching the lattice's far corner at 32.
TEST(PreviewMeshTest, BoxesMergeIntoOneRectanglePerSideAndOneSegmentPerLine) {
    Grid grid = EmptyGrid();
    grid[static_cast<size_t>(GridIndex(3, 4, 5))] = 1;
    PART_MESH mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    EXPECT_EQ(6u, mesh.faces.size());
    EXPECT_EQ(2u * 12, mesh.edges.size()) << "a lone cube's twelve edges";
    grid[static_cast<size_t>(GridIndex(4, 4, 5))] = 1;
    mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    EXPECT_EQ(6u, mesh.faces.size()) << "two cubes side by side";
    EXPECT_EQ((FACE_RECT{3, 4, 5, 0, 2, 1, 1, 0}), mesh.faces[mesh.FaceFirst(0)]);
    EXPECT_EQ(2u * 16, mesh.edges.size()) << "four edges along x of length 2, twelve across";
    grid[static_cast<size_t>(GridIndex(4, 4, 5))] = 2;
    mesh = BuildPartMesh(grid.data(), AllOpaqueBut({}));
    EXPECT_EQ(10u, mesh.faces.size()) << "no merging across colours";
    EXPECT_EQ(2u * 16, mesh.edges.size()) << "the outline does not depend on colour";

    Grid solid = EmptyGrid();
    Fill(solid, 0, 31, 0, 31, 0, 31, 4);
    mesh = BuildPartMesh(solid.data(), AllOpaqueBut({}));
    ASSERT_EQ(6u, mesh.faces.size());
    for (const FACE_RECT& r : mesh.faces)
        EXPECT_EQ(32 * 32, r.sx * r.sy * r.sz);
    // Twelve lines on each of the box's 4 × 32 … lines: per axis, the lines
    // on the border of the 33 × 33 cross-section.
    EXPECT_EQ(2u * 3 * 4 * 32, mesh.edges.size());
    for (size_t k = 0; k < mesh.edges.size(); k += 2) {
        const EDGE_END& a = mesh.edges[k];
        const EDGE_END& b = mesh.edges[k + 1];
        EXPECT_EQ(32, (b.x - a.x) + (b.y - a.y) + (b.z - a.z)) << "a segment across the part";
    }
    EXPECT_NE(std::find(mesh.edges.begin(), mesh.edges.end(), EDGE_END{32, 32, 32, 0}),
              mesh.edges.end());
}

// The merged mesh draws exactly what one face per open dot side would: the
// rectangles cover each open face once in its dot's colour and direction,
// and the segments each edge of those faces once, with nothing left to
// merge.
TEST(PreviewMeshTest, MergedFacesAndSegmentsCoverExactlyTheOpenFacesAndTheirEdges) {
    std::mt19937 random(14);
    const OpaqueTable opaque = AllOpaqueBut({5});
    for (int round = 0; round < 6; ++round) {
        const Grid grid = RandomGrid(random, 4 + round * 3, round * 6);
        const PART_MESH mesh = BuildPartMesh(grid.data(), opaque);
        const std::map<UnitFace, int> open = UnitFaces(grid, OpenFaces(grid.data(), opaque));
        ASSERT_FALSE(open.empty());
        EXPECT_LT(mesh.faces.size(), open.size());
        EXPECT_EQ(open, ExpandRectangles(mesh)) << "round " << round;
        EXPECT_EQ(EdgesOf(open), ExpandSegments(mesh.edges)) << "round " << round;
        EXPECT_FALSE(MergeMissed(mesh)) << "round " << round;
    }
}

// Closing faces must not change the picture: every face that can be seen
// (one that borders an empty or translucent cell, or the grid's edge) stays
// open, no other face does, and every edge that can be seen (one with a
// non-opaque cell among the three around it) is still an edge of an open
// face.
TEST(PreviewMeshTest, ClosingHiddenFacesKeepsEveryVisibleFaceAndEdge) {
    std::mt19937 random(14);
    const OpaqueTable opaque = AllOpaqueBut({5});
    constexpr int faceStep[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0},
                                    {1, 0, 0},  {0, 1, 0}, {0, -1, 0}};
    auto opaqueAt = [&](const Grid& grid, int x, int y, int z) {
        return opaque[static_cast<size_t>(At(grid, x, y, z))];
    };
    for (int round = 0; round < 3; ++round) {
        Grid grid = EmptyGrid();
        // Dense random blobs: mostly opaque colours, some translucent 5.
        std::uniform_int_distribution<int> colour(1, 6), chance(0, 99);
        for (uint8_t& dot : grid)
            if (chance(random) < 85 - round * 10)
                dot = static_cast<uint8_t>(colour(random));
        const std::vector<uint8_t> open = OpenFaces(grid.data(), opaque);
        const std::set<UnitEdge> drawn = EdgesOf(UnitFaces(grid, open));
        for (int z = 0; z < GridSide; ++z)
            for (int y = 0; y < GridSide; ++y)
                for (int x = 0; x < GridSide; ++x) {
                    const int faces = open[static_cast<size_t>(GridIndex(x, y, z))];
                    if (At(grid, x, y, z) == 0) {
                        ASSERT_EQ(0, faces) << "an empty cell with faces";
                        continue;
                    }
                    for (int f = 0; f < 6; ++f) {
                        const int* s = faceStep[f];
                        ASSERT_EQ(!opaqueAt(grid, x + s[0], y + s[1], z + s[2]),
                                  (faces >> f & 1) != 0)
                            << x << "," << y << "," << z;
                    }
                    // Each of the 12 edges: axis a, offsets (i, j) on the
                    // other two.
                    for (int a = 0; a < 3; ++a)
                        for (int i = 0; i < 2; ++i)
                            for (int j = 0; j < 2; ++j) {
                                int d1[3] = {0, 0, 0}, d2[3] = {0, 0, 0};
                                d1[(a + 1) % 3] = i ? 1 : -1;
                                d2[(a + 2) % 3] = j ? 1 : -1;
                                const bool seen =
                                    !opaqueAt(grid, x + d1[0], y + d1[1], z + d1[2]) ||
                                    !opaqueAt(grid, x + d2[0], y + d2[1], z + d2[2]) ||
                                    !opaqueAt(grid, x + d1[0] + d2[0], y + d1[1] + d2[1],
                                              z + d1[2] + d2[2]);
                                if (!seen)
                                    continue;
                                int p[3] = {x, y, z};
                                p[(a + 1) % 3] += i;
                                p[(a + 2) % 3] += j;
                                EXPECT_TRUE(drawn.count({p[0], p[1], p[2], a}))
                                    << "visible edge lost at " << p[0] << "," << p[1] << "," << p[2]
                                    << " axis " << a;
                            }
                }
    }
}

// A merged face is the unit face scaled: each face's two triangles must lie
// in that face's plane of the unit cube, and all twelve must turn the same
// way seen from outside, or culling would drop some sides.
TEST(PreviewMeshTest, UnrolledCubeFacesLieInTheirPlanesAndTurnOneWay) {
    const std::array<CUBE_VERTEX, 36> cube = CubeVertices();
    std::set<float> turns;
    for (int face = 0; face < CubeFaces; ++face) {
        const int n = FaceAxis(face);
        const float plane = FaceIsFar(face) ? 1.0f : 0.0f;
        for (int t = FaceTriangles(face); t < FaceTriangles(face) + 6; t += 3) {
            float p[3][3];
            for (int k = 0; k < 3; ++k) {
                const CUBE_VERTEX& v = cube[static_cast<size_t>(t + k)];
                p[k][0] = v.x;
                p[k][1] = v.y;
                p[k][2] = v.z;
                EXPECT_EQ(plane, p[k][n]) << "face " << face;
            }
            // The normal's component along the face's axis, outward positive.
            const int a = (n + 1) % 3, b = (n + 2) % 3;
            const float cross = (p[1][a] - p[0][a]) * (p[2][b] - p[0][b]) -
                                (p[1][b] - p[0][b]) * (p[2][a] - p[0][a]);
            turns.insert(FaceIsFar(face) ? cross : -cross);
        }
    }
    EXPECT_EQ(1u, turns.size()) << "triangles wound both ways";
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
