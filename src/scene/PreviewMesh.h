#pragma once
// What the preview draws of one part: one cube per dot in the dot's palette
// colour, with outlines. The cubes are drawn instanced, so a part's mesh is
// just the list of its dots' cells, grouped by colour.
//
// A face of a dot that lies on an opaque neighbour in the same part cannot
// be seen, nor can an edge between two such faces: where such an edge lies
// on the surface, a neighbour's open face carries the same edge. Each cell
// therefore lists only its open faces: a part's mesh holds one entry per
// open face of a dot, grouped by face direction and then by colour, and
// each direction is drawn instanced with that face's two triangles. A dot
// without open faces is left out, so a solid 32³ part draws its 6,144 outer
// faces instead of 196,608.
//
// The outlines are the edges of the open faces, each drawn once: two open
// faces that meet (on one cube or on two neighbours) share an edge, and
// drawing it per face would draw most lines twice. They are a plain line
// list on the part's lattice, not instanced.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/DotColor.h"

// The faces of a dot's cube as bits, in the order the cube's triangle list
// has them.
enum : uint8_t {
    FACE_MINUS_Z = 1,
    FACE_PLUS_Z = 2,
    FACE_MINUS_X = 4,
    FACE_PLUS_X = 8,
    FACE_PLUS_Y = 16,
    FACE_MINUS_Y = 32,
    ALL_FACES = 63,
};

// One open face of a dot: the dot's cell (x, y, z) in its part's grid and
// the bits of all its open faces (those not lying on an opaque neighbour of
// the same part).
struct DOT_CELL {
    uint8_t x;
    uint8_t y;
    uint8_t z;
    uint8_t faces;
    bool operator==(const DOT_CELL&) const = default;
};

// The cube of a dot: eight unit corners, and over them 12 triangles (36
// indices, clockwise seen from outside) followed by 12 edges (24 indices).
extern const std::array<std::array<float, 3>, 8> CubeCorners;
extern const std::array<uint16_t, 60> CubeIndices;

// The cube unrolled for drawing without indices, face by face in bit order:
// the 36 triangle corners (six a face, from FaceTriangles), then for each
// face the 8 ends of its four edges (from FaceEdges). Each vertex carries
// the bits of the faces its triangle or edge lies on (one for a triangle,
// two for an edge).
struct CUBE_VERTEX {
    float x;
    float y;
    float z;
    float faces;
};
constexpr int CubeFaces = 6;
constexpr int FaceTriangles(int face) { return 6 * face; }
constexpr int FaceEdges(int face) { return 36 + 8 * face; }
std::array<CUBE_VERTEX, 84> CubeVertices();

// The palette as the preview sees it.
using OpaqueTable = std::array<bool, 32>; // by palette index; [0] is false
using ColorOrder = std::array<int, PaletteSize>;

// The alpha byte of a palette entry: trunc(alpha × 255) modulo 256, with
// NaN and negative values as 0.
int AlphaByte(float alpha);
// Which palette indices hide what lies behind them (alpha byte 255).
OpaqueTable MakeOpaqueTable(std::span<const CDotColor, PaletteSize> palette);
// Palette indices 1–31 by alpha, highest first, equal alphas in ascending
// index order: opaque colours come before translucent ones.
ColorOrder MakeColorOrder(std::span<const CDotColor, PaletteSize> palette);

// One end of an outline segment: a corner of the part's lattice (0–32 on
// each axis).
struct EDGE_END {
    uint8_t x;
    uint8_t y;
    uint8_t z;
    uint8_t unused;
    bool operator==(const EDGE_END&) const = default;
};

struct PART_MESH {
    using TABLE = std::array<std::array<uint32_t, 32>, CubeFaces>; // [face bit][palette index]
    std::vector<DOT_CELL> cells; // open faces by face bit, then palette index
    std::vector<EDGE_END> edges; // each edge of an open face once, two ends a segment
    TABLE first{};               // first entry of each face and colour
    TABLE count{};               // entries of each face and colour
    uint32_t dots = 0;           // dots with an open face

    uint32_t Total() const { return dots; }
    // The entries of one face direction over all colours.
    uint32_t FaceFirst(int face) const { return first[static_cast<size_t>(face)][0]; }
    uint32_t FaceCount(int face) const;
};

// The open faces of a 32³ grid (null: no dots), z outer, then y, then x,
// within each face and colour. With skipHidden, faces on opaque neighbours
// are closed and dots without open faces left out; without it every dot
// comes with all six faces.
PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque, bool skipHidden = true);
