#include "scene/MarkerLayout.h"

#include <cmath>
#include <cstdint>

MARKER_RECT ProjectMarker(const Float3& point, const Matrix4& transform, float width, float height,
                          int iconWidth, int iconHeight) {
    MARKER_RECT rect;
    const Float4 clip = TransformPoint(point, transform);
    // In front of the eye (w > 0) and not nearer than the near plane, whose
    // depth is −1 in OpenGL's clip range. Without the w test a point behind
    // the eye, whose z / w is positive too, would show mirrored.
    if (!(clip.w > 0.0f) || !(clip.z >= -clip.w))
        return rect;
    const float x = clip.x / clip.w;
    const float y = clip.y / clip.w;
    const float px = x * width / 2.0f + width / 2.0f;
    const float py = -y * height / 2.0f + height / 2.0f;
    // Far outside the view the marker is not seen; this also keeps the
    // conversion to int defined.
    if (!(std::fabs(px) < 1.0e6f && std::fabs(py) < 1.0e6f))
        return rect;
    rect.left = std::trunc(px) - static_cast<float>(iconWidth / 2);
    rect.top = std::trunc(py) - static_cast<float>(iconHeight / 2);
    rect.right = rect.left + static_cast<float>(iconWidth);
    rect.bottom = rect.top + static_cast<float>(iconHeight);
    return rect;
}

SPRITE_QUADS BuildSpriteQuads(const std::vector<MARKER_RECT>& rects, float width, float height,
                              int columns, int rows) {
    SPRITE_QUADS quads;
    if (!(width > 0.0f && height > 0.0f) || columns < 1 || rows < 1)
        return quads;
    const float du = 1.0f / static_cast<float>(columns);
    const float dv = 1.0f / static_cast<float>(rows);
    auto X = [width](float x) { return 2.0f * x / width - 1.0f; };
    auto Y = [height](float y) { return 1.0f - 2.0f * y / height; };
    for (const MARKER_RECT& r : rects) {
        // 16-bit indices: 16,384 squares at most.
        if (!(r.right > r.left && r.bottom > r.top) || quads.vertices.size() / 5 + 4 > 65536)
            continue;
        const float u = static_cast<float>(r.column) * du;
        const float v = static_cast<float>(r.row) * dv;
        const auto b = static_cast<uint16_t>(quads.vertices.size() / 5);
        const float corners[4][4] = {{X(r.left), Y(r.top), u, v},
                                     {X(r.right), Y(r.top), u + du, v},
                                     {X(r.right), Y(r.bottom), u + du, v + dv},
                                     {X(r.left), Y(r.bottom), u, v + dv}};
        for (const auto& c : corners)
            quads.vertices.insert(quads.vertices.end(), {c[0], c[1], 0.0f, c[2], c[3]});
        for (int k : {0, 1, 2, 0, 2, 3})
            quads.indices.push_back(static_cast<uint16_t>(b + k));
    }
    return quads;
}
