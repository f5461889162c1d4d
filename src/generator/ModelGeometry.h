#pragma once
// The small pieces of geometry the model generator needs: the rotation
// matrix of a part's rest rotation, face normals, the Euler angles of a rigid
// body and the box fitted around a part's dots. All arithmetic is in single
// precision, in the order written here, so results are reproducible to the
// bit.

#include <array>
#include <cmath>
#include <cstdint>

using VEC3 = std::array<float, 3>;

// Rotation matrix of a unit quaternion (x, y, z, w) in row-vector form: a
// point p is rotated as p · M.
struct ROTATION_MATRIX {
    float m11, m12, m13;
    float m21, m22, m23;
    float m31, m32, m33;
};

ROTATION_MATRIX RotationMatrix(float x, float y, float z, float w);

// p · M + offset. Inline, as is TriangleNormal: the generator works out
// every corner and face normal of the model through them.
inline VEC3 Transform(const VEC3& p, const ROTATION_MATRIX& m, const VEC3& offset) {
    return {p[0] * m.m11 + p[1] * m.m21 + p[2] * m.m31 + offset[0],
            p[0] * m.m12 + p[1] * m.m22 + p[2] * m.m32 + offset[1],
            p[0] * m.m13 + p[1] * m.m23 + p[2] * m.m33 + offset[2]};
}

// Unit vector of (p0 − p1) × (p1 − p2); the zero vector when that cross
// product has length zero.
inline VEC3 TriangleNormal(const VEC3& p0, const VEC3& p1, const VEC3& p2) {
    const VEC3 a{p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2]};
    const VEC3 b{p1[0] - p2[0], p1[1] - p2[1], p1[2] - p2[2]};
    const VEC3 n{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0f))
        return {0.0f, 0.0f, 0.0f};
    return {n[0] / length, n[1] / length, n[2] / length};
}

// Euler angles (radians) of a rigid body whose rest rotation is m:
// (−asin m32, atan2(m31, m33), atan2(m12, m22)), or for m32 exactly ±1 the
// gimbal-locked form (∓π/2, 0, atan2(m21, m11)).
VEC3 BodyRotation(const ROTATION_MATRIX& m);

// A box around a part's dots in part-local space (its joint point is the
// origin), before rotation.
struct BODY_BOX {
    VEC3 size; // half extents
    VEC3 centre;
};

// Fits the box to a 32 × 32 × 32 grid (index z · 1024 + y · 32 + x, palette
// index in bits 0 to 4). Along each axis it averages the lowest and the
// highest dot over all lines of dots parallel to that axis that hold a dot,
// so thin protrusions hardly enlarge the box. dotEdge is the edge length of
// one dot; joint is the part's joint point in half-cells. A grid without dots
// (or none at all) gives a zero box.
BODY_BOX FitBodyBox(const uint8_t* dots, float dotEdge, const std::array<int32_t, 3>& joint);
