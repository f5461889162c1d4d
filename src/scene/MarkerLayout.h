#pragma once
// Where the bone markers appear on the screen, and the quads that draw them
// from the marker sheet.

#include <cstdint>
#include <vector>

#include "scene/Matrix4.h"

// A marker square in view units (origin top-left) and its sheet cell. An
// empty square (right ≤ left) is not drawn.
struct MARKER_RECT {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    int column = 0;
    int row = 0;
};

// Projects point (model space) by transform (world × view × projection) onto
// a view of width × height and centres an iconWidth × iconHeight square on
// it. Points that do not lie in front of the near plane (behind the eye
// included) give an empty square.
MARKER_RECT ProjectMarker(const Float3& point, const Matrix4& transform, float width, float height,
                          int iconWidth, int iconHeight);

// The quads of the non-empty squares as triangles in clip space: per square
// four vertices (x, y, z = 0, u, v) clockwise from the top-left and six
// indices. The sheet has `columns` × `rows` equal cells.
struct SPRITE_QUADS {
    std::vector<float> vertices;   // 5 floats a vertex
    std::vector<uint16_t> indices; // two triangles a square
};
SPRITE_QUADS BuildSpriteQuads(const std::vector<MARKER_RECT>& rects, float width, float height,
                              int columns, int rows);
