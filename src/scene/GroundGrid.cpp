#include "scene/GroundGrid.h"

std::vector<LINE_VERTEX> BuildGroundGrid() {
    constexpr float grey = 0.75f;
    std::vector<LINE_VERTEX> lines;
    lines.reserve(90);
    for (int a = -50; a <= 50; a += 5) {
        const float x = static_cast<float>(a);
        lines.push_back({x, 0, a == 0 ? 0.0f : -50.0f, grey, grey, grey, 1});
        lines.push_back({x, 0, 50, grey, grey, grey, 1});
    }
    for (int g = -50; g <= 50; g += 5) {
        const float z = static_cast<float>(g);
        lines.push_back({-50, 0, z, grey, grey, grey, 1});
        lines.push_back({g == 0 ? 0.0f : 50.0f, 0, z, grey, grey, grey, 1});
    }
    const LINE_VERTEX axes[6] = {{0, 0, 0, 1, 0, 0, 1}, {100, 0, 0, 1, 0, 0, 1},
                                 {0, 0, 0, 0, 1, 0, 1}, {0, 100, 0, 0, 1, 0, 1},
                                 {0, 0, 0, 0, 0, 1, 1}, {0, 0, -100, 0, 0, 1, 1}};
    lines.insert(lines.end(), axes, axes + 6);
    return lines;
}
