#include "scene/Matrix4.h"

#include <cmath>

#include "generator/ModelGeometry.h"

namespace {

float Dot(const Float3& a, const Float3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Float3 Cross(const Float3& a, const Float3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Float3 Normalize(const Float3& v) {
    const float length = std::sqrt(Dot(v, v));
    return length > 0.0f ? v * (1.0f / length) : Float3{};
}

} // namespace

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

Matrix4 Matrix4::Translation(const Float3& offset) {
    Matrix4 r;
    r.m[3] = {offset.x, offset.y, offset.z, 1.0f};
    return r;
}

Matrix4 Matrix4::Scaling(float scale) {
    Matrix4 r;
    r.m[0][0] = r.m[1][1] = r.m[2][2] = scale;
    return r;
}

Matrix4 Matrix4::RotationX(float angle) {
    const float s = std::sin(angle), c = std::cos(angle);
    Matrix4 r;
    r.m[1] = {0.0f, c, s, 0.0f};
    r.m[2] = {0.0f, -s, c, 0.0f};
    return r;
}

Matrix4 Matrix4::RotationY(float angle) {
    const float s = std::sin(angle), c = std::cos(angle);
    Matrix4 r;
    r.m[0] = {c, 0.0f, -s, 0.0f};
    r.m[2] = {s, 0.0f, c, 0.0f};
    return r;
}

Matrix4 Matrix4::RotationZ(float angle) {
    const float s = std::sin(angle), c = std::cos(angle);
    Matrix4 r;
    r.m[0] = {c, s, 0.0f, 0.0f};
    r.m[1] = {-s, c, 0.0f, 0.0f};
    return r;
}

Matrix4 Matrix4::Rotation(const Quaternion& q) {
    const ROTATION_MATRIX rm = RotationMatrix(q.x, q.y, q.z, q.w);
    Matrix4 r;
    r.m[0] = {rm.m11, rm.m12, rm.m13, 0.0f};
    r.m[1] = {rm.m21, rm.m22, rm.m23, 0.0f};
    r.m[2] = {rm.m31, rm.m32, rm.m33, 0.0f};
    return r;
}

Matrix4 Matrix4::LookTo(const Float3& eye, const Float3& direction, const Float3& up) {
    const Float3 z = Normalize(direction);
    const Float3 x = Normalize(Cross(up, z));
    const Float3 y = Cross(z, x);
    Matrix4 r;
    r.m[0] = {x.x, y.x, z.x, 0.0f};
    r.m[1] = {x.y, y.y, z.y, 0.0f};
    r.m[2] = {x.z, y.z, z.z, 0.0f};
    r.m[3] = {-Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1.0f};
    return r;
}

Matrix4 Matrix4::Perspective(float fieldOfView, float aspect, float nearZ, float farZ) {
    const float h = 1.0f / std::tan(fieldOfView * 0.5f);
    const float w = h / aspect;
    const float range = farZ - nearZ;
    Matrix4 r;
    r.m[0] = {w, 0.0f, 0.0f, 0.0f};
    r.m[1] = {0.0f, h, 0.0f, 0.0f};
    r.m[2] = {0.0f, 0.0f, (farZ + nearZ) / range, 1.0f};
    r.m[3] = {0.0f, 0.0f, -2.0f * farZ * nearZ / range, 0.0f};
    return r;
}

Matrix4 Matrix4::Inverse() const {
    // Cofactor expansion on the 2 × 2 minors of the upper and lower halves.
    const auto& a = m;
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f || !std::isfinite(det))
        return Identity();
    const float k = 1.0f / det;
    Matrix4 r;
    r.m[0] = {(a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * k,
              (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * k,
              (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * k,
              (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * k};
    r.m[1] = {(-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * k,
              (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * k,
              (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * k,
              (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * k};
    r.m[2] = {(a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * k,
              (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * k,
              (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * k,
              (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * k};
    r.m[3] = {(-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * k,
              (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * k,
              (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * k,
              (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * k};
    return r;
}

Float4 TransformPoint(const Float3& p, const Matrix4& matrix) {
    const auto& a = matrix.m;
    return {p.x * a[0][0] + p.y * a[1][0] + p.z * a[2][0] + a[3][0],
            p.x * a[0][1] + p.y * a[1][1] + p.z * a[2][1] + a[3][1],
            p.x * a[0][2] + p.y * a[1][2] + p.z * a[2][2] + a[3][2],
            p.x * a[0][3] + p.y * a[1][3] + p.z * a[2][3] + a[3][3]};
}

Float3 TransformCoord(const Float3& p, const Matrix4& matrix) {
    const Float4 r = TransformPoint(p, matrix);
    const float k = 1.0f / r.w;
    return {r.x * k, r.y * k, r.z * k};
}
