#pragma once
// 4 × 4 matrices for the preview, in the row-vector convention: a point p is
// transformed as p · M, so A × B applies A first, then B. The view and
// projection matrices are left-handed (x right, y up, z into the screen),
// the frame the model itself is written in; the projection maps depth to
// OpenGL's clip range (near plane at −1, far plane at +1).

#include <array>

#include "document/MathUtil.h"

struct Float4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

struct Matrix4 {
    // m[row][column]
    std::array<std::array<float, 4>, 4> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

    static Matrix4 Identity() { return {}; }
    static Matrix4 Translation(const Float3& offset);
    static Matrix4 Scaling(float scale);
    // A positive angle about x turns +y towards +z, about y turns +z towards
    // +x, about z turns +x towards +y.
    static Matrix4 RotationX(float angle);
    static Matrix4 RotationY(float angle);
    static Matrix4 RotationZ(float angle);
    // The rotation of a unit quaternion, the same as the model generator's.
    static Matrix4 Rotation(const Quaternion& q);
    // The view from eye looking along direction, with up roughly up.
    static Matrix4 LookTo(const Float3& eye, const Float3& direction, const Float3& up);
    // Perspective with a vertical field of view (radians) and aspect =
    // width / height.
    static Matrix4 Perspective(float fieldOfView, float aspect, float nearZ, float farZ);

    // The inverse; the identity for a singular matrix.
    Matrix4 Inverse() const;
    // The 16 entries row after row (OpenGL reads them as the transposed
    // column-major matrix, so shaders write M * v for p · M).
    const float* Data() const { return &m[0][0]; }

    friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
};

// (p, 1) · M, without dividing by w.
Float4 TransformPoint(const Float3& p, const Matrix4& matrix);
// (p, 1) · M divided by w.
Float3 TransformCoord(const Float3& p, const Matrix4& matrix);
