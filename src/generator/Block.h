#pragma once
// Blocks and their faces: the visible outside of a part's dots as merged
// axis-aligned rectangles, ready to be turned into triangles.
//
// A block is one 6-connected group of non-empty dots. For each of the six
// directions it holds one face per dot at first (its slot is the dot's place
// in the fill order); faces between two dots are marked hidden, and
// neighbouring faces of the same colour are merged in three passes (along
// x, then y, then z). A merged face keeps the slot of its earliest member;
// the other slots are left empty. CBlock keeps only the faces left, in slot
// order; BuildSurfaces (SurfaceBuilder.h) makes the blocks of a grid.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

struct CDotColor;

class CBlock {
public:
    // Direction codes: the outward normal of a face in grid axes (y up).
    //   0 -z (plane z = z0)      1 +z (plane z = z1 + 1)
    //   2 -x (plane x = x0)      3 +x (plane x = x1 + 1)
    //   4 +y (plane y = y1 + 1)  5 -y (plane y = y0)
    static constexpr int DIRECTION_COUNT = 6;

    // One face. x0..x1, y0..y1, z0..z1 are the inclusive ranges of the dots
    // it covers; the face is drawn on the plane its direction names. Small
    // numbers in small fields: a large part has tens of thousands of faces,
    // which the generator reads three times over.
    struct CSurface {
        // The palette entry of the dots when it is a material colour, else
        // the shared texture colour. Faces merge only when these are the
        // same object.
        const CDotColor* colour = nullptr;
        // The slot the face occupies in its direction's array: the fill
        // index (0-based within the block, below 32,768) of the
        // earliest-filled dot it covers.
        uint16_t slot = 0;
        uint8_t direction = 0;
        uint8_t x0 = 0, x1 = 0, y0 = 0, y1 = 0, z0 = 0, z1 = 0; // 0..31
        // Nonzero when the face lies between two dots and is not drawn.
        uint8_t hidden = 0;
    };

    // The faces left in one direction's array after merging, in slot order.
    using CSurfaceArray = std::span<const CSurface>;

    // What the faces of a palette index point to: entry i (1..31) is the
    // colour object for palette index i; entry 0 is not used.
    using COLOUR_TABLE = std::array<const CDotColor*, 32>;

    // A position in part-local model space.
    using POSITION = std::array<float, 3>;

    // How a face is painted into the texture: a grid of width x height
    // cells, one per dot. The cell in column j, row i shows the dot at
    // corner + j * column + i * row (each step a -1/0/+1 vector over x, y,
    // z). The region's top-left cell belongs to corner A, top-right to B,
    // bottom-right to C and bottom-left to D (GetCorners).
    struct TEXTURE_LAYOUT {
        std::array<int, 3> corner{};
        std::array<int, 3> column{};
        std::array<int, 3> row{};
        int width = 0;
        int height = 0;

        // The grid coordinates (x, y, z) of the dot shown in column j, row i.
        std::array<int, 3> DotAt(int j, int i) const;
    };

    CBlock() = default;
    // Takes the faces left after merging, ordered by direction and then by
    // slot; dotCount is the number of dots of the block (the slot count of
    // each direction's array).
    CBlock(int dotCount, std::vector<CSurface> surfaces);

    // The number of dots in the block.
    int GetDotCount() const { return dotCount_; }
    // The faces of one direction (0..5) in slot order, hidden ones included
    // unless the block was built with visible faces only.
    CSurfaceArray GetSurfaces(int direction) const;
    // All faces, direction 0 first.
    CSurfaceArray GetAllSurfaces() const { return surfaces_; }

    // The four corners A, B, C, D of a face in part-local model space. The
    // two triangles are A B C and A C D, clockwise seen from outside. A
    // corner at (a, b, c) in dot units lies at ((2a - Px) * s / 2, ...),
    // with s the edge length of one dot of the part (the document's dot
    // size times the part's rate times the rates of its ancestors) and
    // (Px, Py, Pz) the part's joint point in its own grid, in half-cells.
    // The part-local coordinate, along one axis, of the corner plane at dot
    // (0..32) of a part whose joint point lies at joint half-cells.
    static float CornerCoordinate(int dot, int joint, float dotEdge) {
        return static_cast<float>(2 * dot - joint) * dotEdge / 2.0f;
    }
    static std::array<POSITION, 4> GetCorners(const CSurface& surface, float dotEdge,
                                              const std::array<int, 3>& parentPosition);

    // The corners A, B, C, D of a face in dot units (before scaling).
    // Inline, as is GetTextureSize: the generator asks for every face.
    static std::array<std::array<int, 3>, 4> GetCornerDots(const CSurface& surface) {
        const auto& high = CORNER_HIGH[CheckedDirection(surface)];
        std::array<std::array<int, 3>, 4> corners{};
        for (size_t c = 0; c < 4; ++c) {
            corners[c][0] = high[c][0] ? surface.x1 + 1 : surface.x0;
            corners[c][1] = high[c][1] ? surface.y1 + 1 : surface.y0;
            corners[c][2] = high[c][2] ? surface.z1 + 1 : surface.z0;
        }
        return corners;
    }

    // Where the dots of a face go in its texture region.
    static TEXTURE_LAYOUT GetTextureLayout(const CSurface& surface);
    // The width and height of a face's texture region, in cells
    // (GetTextureLayout's width and height).
    static std::array<int, 2> GetTextureSize(const CSurface& surface) {
        const auto& axes = TEXTURE_AXES[CheckedDirection(surface)];
        const int extent[3] = {surface.x1 - surface.x0 + 1, surface.y1 - surface.y0 + 1,
                               surface.z1 - surface.z0 + 1};
        return {extent[axes[0]], extent[axes[1]]};
    }

private:
    // The face's direction, checked to be one of the six.
    static int CheckedDirection(const CSurface& surface) {
        if (surface.direction >= DIRECTION_COUNT)
            BadDirection();
        return surface.direction;
    }
    [[noreturn]] static void BadDirection();

    // For each direction and corner A..D: whether the corner takes the high
    // side (v1 + 1) or the low side (v0) of the face's range on x, y and z.
    static constexpr bool CORNER_HIGH[DIRECTION_COUNT][4][3] = {
        {{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 0}}, // -z
        {{1, 1, 1}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}}, // +z
        {{0, 1, 1}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1}}, // -x
        {{1, 1, 0}, {1, 1, 1}, {1, 0, 1}, {1, 0, 0}}, // +x
        {{0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}, // +y
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, // -y
    };
    // For each direction: the axes along a face's texture region's width
    // and its height.
    static constexpr int TEXTURE_AXES[DIRECTION_COUNT][2] = {{0, 1}, {0, 1}, {2, 1},
                                                             {2, 1}, {0, 2}, {0, 2}};

    int dotCount_ = 0;
    std::vector<CSurface> surfaces_;
    // surfaces_[directionStart_[d] .. directionStart_[d + 1]) face direction d.
    std::array<uint32_t, DIRECTION_COUNT + 1> directionStart_{};
};

// The blocks of one part, in the order their first dot is met scanning
// z, then y, then x.
using CBlockList = std::vector<CBlock>;
