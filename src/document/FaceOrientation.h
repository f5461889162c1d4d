#pragma once
// The six faces a part's grid can be seen from. Each is a signed permutation
// matrix M that maps a view cell (column a, row b) at depth c to a grid cell
// (x, y, z): every output coordinate picks one input v, as v when the entry
// is 1 and as 31 − v when it is −1.

#include <array>
#include <span>

using GridCell = std::array<int, 3>; // (x, y, z), each 0–31
using ViewCell = std::array<int, 3>; // (column a, row b, depth c), each 0–31

struct FaceOrientation {
    // m[row][column]; row 0 gives x, row 1 y, row 2 z; column 0 takes a,
    // column 1 b, column 2 c.
    int m[3][3];
    // The command that selects this face.
    unsigned commandId;

    // Grid cell seen at view column a, row b and depth c.
    GridCell ToGrid(int a, int b, int c) const;
    GridCell ToGrid(const ViewCell& view) const { return ToGrid(view[0], view[1], view[2]); }
    // The inverse: the view cell (a, b, c) of a grid cell.
    ViewCell ToView(int x, int y, int z) const;
    ViewCell ToView(const GridCell& grid) const { return ToView(grid[0], grid[1], grid[2]); }
    // The depth c of a grid cell (the part's depth is Depth(cursor)).
    int Depth(const GridCell& grid) const { return ToView(grid)[2]; }

    static const FaceOrientation Front;  // x = a, y = 31 − b, z = c (the default)
    static const FaceOrientation Back;   // x = 31 − a, y = 31 − b, z = 31 − c
    static const FaceOrientation Left;   // x = c, y = 31 − b, z = 31 − a
    static const FaceOrientation Right;  // x = 31 − c, y = 31 − b, z = a
    static const FaceOrientation Top;    // x = a, y = 31 − c, z = 31 − b
    static const FaceOrientation Bottom; // x = a, y = c, z = b

    // The six faces in the order front, back, left, right, top, bottom.
    static std::span<const FaceOrientation* const> All();
    // The face selected by a command, null for any other command.
    static const FaceOrientation* FromCommand(unsigned id);
};
