#pragma once
// What the preview draws of one part: one cube per dot in the dot's palette
// colour, with outlines, drawn as merged faces and merged outline segments.
//
// A face of a dot that lies on an opaque neighbour in the same part cannot
// be seen, nor can an edge between two such faces: where such an edge lies
// on the surface, a neighbour's open face carries the same edge. So only
// open faces are drawn. Open faces of one colour that face the same way in
// the same slice of the grid are merged into maximal rectangles (greedy:
// row by row, each rectangle as wide and then as tall as it goes), so a
// solid one-colour 32³ part draws 6 rectangles instead of 6,144 faces. The
// rectangles cover exactly the unit faces they replace, so the pixels and
// the per-colour drawing order stay the same; each direction is drawn
// instanced with that face's two triangles scaled by the rectangle.
//
// The outlines are the unit edges of the open faces (a merged rectangle
// still shows the edge of every cube in it), each listed once: the edges on
// one lattice line are joined into maximal segments, so a solid part draws
// one segment per lattice line on its surface. They are a plain line list
// on the part's lattice, not instanced.

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
constexpr int CubeFaces = 6;

// The axis (0 x, 1 y, 2 z) a face (bit number) is perpendicular to, and
// whether it lies on the cube's far side along that axis.
constexpr int FaceAxis(int face) { return face < 2 ? 2 : face < 4 ? 0 : 1; }
constexpr bool FaceIsFar(int face) { return face == 1 || face == 3 || face == 4; }

// A rectangle of open unit faces that face the same way: its lowest cell
// (x, y, z) in the part's grid and its size in cells along each axis (1
// across the face). The face's corners are cell + corner × size.
struct FACE_RECT {
    uint8_t x;
    uint8_t y;
    uint8_t z;
    uint8_t unused0;
    uint8_t sx;
    uint8_t sy;
    uint8_t sz;
    uint8_t unused1;
    bool operator==(const FACE_RECT&) const = default;
};

// The cube of a dot: eight unit corners, and over them 12 triangles (36
// indices, clockwise seen from outside) followed by 12 edges (24 indices).
extern const std::array<std::array<float, 3>, 8> CubeCorners;
extern const std::array<uint16_t, 60> CubeIndices;

// The cube's triangles unrolled for drawing without indices, face by face
// in bit order: six corners a face, from FaceTriangles(face).
struct CUBE_VERTEX {
    float x;
    float y;
    float z;
};
constexpr int FaceTriangles(int face) { return 6 * face; }
std::array<CUBE_VERTEX, 36> CubeVertices();

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
    std::vector<FACE_RECT> faces; // merged open faces by face bit, then palette index
    std::vector<EDGE_END> edges;  // outline segments, low end then high end
    TABLE first{};                // first rectangle of each face and colour
    TABLE count{};                // rectangles of each face and colour
    uint32_t dots = 0;            // dots with an open face

    uint32_t Total() const { return dots; }
    // The rectangles of one face direction over all colours.
    uint32_t FaceFirst(int face) const { return first[static_cast<size_t>(face)][0]; }
    uint32_t FaceCount(int face) const;
};

// The open faces of each dot of a 32³ grid (null: no dots) as bits, by
// GridIndex; 0 for empty cells. With skipHidden, faces on opaque
// neighbours are closed; without it every dot has all six open.
std::vector<uint8_t> OpenFaces(const uint8_t* grid, const OpaqueTable& opaque,
                               bool skipHidden = true);

// The mesh of a 32³ grid (null: no dots): its open faces (hidden ones
// closed) merged, within each face and colour slice by slice from the
// lowest, and its outline.
PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque);
