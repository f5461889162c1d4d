#pragma once
// What the preview draws of one part: one cube per dot in the dot's palette
// colour, with outlines. The cubes are drawn instanced, so a part's mesh is
// just the list of its dots' cells, grouped by colour.
//
// A dot whose six neighbours in the same part are all filled with opaque
// colours cannot be seen: each of its faces lies on a neighbour's face and
// each of its edges on edges of two neighbours that are themselves drawn (or
// lie inside the solid too). Such dots are left out, which keeps a solid
// 32³ part at its 5,768 surface dots instead of 32,768.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "document/DotColor.h"

// A dot's cell (x, y, z) in its part's grid; the fourth byte pads to 4.
struct DOT_CELL {
    uint8_t x;
    uint8_t y;
    uint8_t z;
    uint8_t pad;
    bool operator==(const DOT_CELL&) const = default;
};

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

struct PART_MESH {
    std::vector<DOT_CELL> cells;      // grouped by palette index, ascending
    std::array<uint32_t, 32> first{}; // first cell of each palette index
    std::array<uint32_t, 32> count{}; // cells of each palette index

    uint32_t Total() const { return static_cast<uint32_t>(cells.size()); }
};

// The cells of a 32³ grid (null: no dots), z outer, then y, then x, within
// each colour. With skipHidden, dots enclosed by opaque neighbours are left
// out.
PART_MESH BuildPartMesh(const uint8_t* grid, const OpaqueTable& opaque, bool skipHidden = true);
