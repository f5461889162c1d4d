#include "generator/ModelGeometry.h"

#include <cmath>
#include <numbers>

#include "document/Grid.h"
#include "document/PortableTrig.h"

ROTATION_MATRIX RotationMatrix(float x, float y, float z, float w) {
    ROTATION_MATRIX m;
    m.m11 = 1.0f - 2.0f * (y * y + z * z);
    m.m12 = 2.0f * (x * y + z * w);
    m.m13 = 2.0f * (x * z - y * w);
    m.m21 = 2.0f * (x * y - z * w);
    m.m22 = 1.0f - 2.0f * (x * x + z * z);
    m.m23 = 2.0f * (y * z + x * w);
    m.m31 = 2.0f * (x * z + y * w);
    m.m32 = 2.0f * (y * z - x * w);
    m.m33 = 1.0f - 2.0f * (x * x + y * y);
    return m;
}

VEC3 BodyRotation(const ROTATION_MATRIX& m) {
    constexpr float halfPi = std::numbers::pi_v<float> / 2.0f;
    if (m.m32 == 1.0f)
        return {-halfPi, 0.0f, PortableAtan2(m.m21, m.m11)};
    if (m.m32 == -1.0f)
        return {halfPi, 0.0f, PortableAtan2(m.m21, m.m11)};
    return {-PortableAsin(m.m32), PortableAtan2(m.m31, m.m33), PortableAtan2(m.m12, m.m22)};
}

BODY_BOX FitBodyBox(const uint8_t* dots, float dotEdge, const std::array<int32_t, 3>& joint) {
    BODY_BOX box{{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    if (!dots)
        return box;
    // Per axis a, the lowest and highest coordinate along a of every line
    // parallel to a, the line named by the other two coordinates.
    constexpr int N = GridSide;
    std::array<std::array<int8_t, N * N>, 3> low;
    std::array<std::array<int8_t, N * N>, 3> high;
    for (auto& l : low)
        l.fill(-1);
    for (auto& h : high)
        h.fill(-1);
    bool any = false;
    for (int z = 0; z < N; ++z)
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x) {
                if ((dots[z * N * N + y * N + x] & 0x1F) == 0)
                    continue;
                any = true;
                const int coordinate[3] = {x, y, z};
                const int line[3] = {z * N + y, z * N + x, y * N + x};
                for (int a = 0; a < 3; ++a) {
                    int8_t& lo = low[a][static_cast<size_t>(line[a])];
                    int8_t& hi = high[a][static_cast<size_t>(line[a])];
                    if (lo < 0 || coordinate[a] < lo)
                        lo = static_cast<int8_t>(coordinate[a]);
                    if (coordinate[a] > hi)
                        hi = static_cast<int8_t>(coordinate[a]);
                }
            }
    if (!any)
        return box;
    for (int a = 0; a < 3; ++a) {
        int lines = 0, lowSum = 0, highSum = 0;
        for (size_t i = 0; i < N * N; ++i) {
            if (low[a][i] < 0)
                continue;
            ++lines;
            lowSum += low[a][i];
            highSum += high[a][i];
        }
        const float meanLow = static_cast<float>(lowSum) / static_cast<float>(lines);
        const float meanHigh = static_cast<float>(highSum) / static_cast<float>(lines);
        const float jointOffset =
            static_cast<float>(joint[static_cast<size_t>(a)]) * dotEdge / 2.0f;
        const float minimum = meanLow * dotEdge - jointOffset;
        const float maximum = meanHigh * dotEdge - jointOffset + dotEdge;
        box.size[static_cast<size_t>(a)] = (maximum - minimum) / 2.0f;
        box.centre[static_cast<size_t>(a)] = (minimum + maximum) / 2.0f;
    }
    return box;
}
