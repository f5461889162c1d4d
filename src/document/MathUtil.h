#pragma once
// The little vector and quaternion arithmetic that part placement, model
// generation and the preview share. Everything is 32-bit float, computed in
// the order written here, so results are the same on every machine.
//
// Conventions:
// - Quaternions are (x, y, z, w) with w the scalar part. A positive angle
//   about z turns +x towards +y, about x turns +y towards +z, about y turns
//   +z towards +x.
// - QuaternionFromRollPitchYaw applies the roll about z first, then the pitch
//   about x, then the yaw about y.
// - QuaternionMultiply(first, second) is the rotation that applies `first`
//   and then `second` (the Hamilton product second · first).

#include <cmath>

struct Float3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    friend bool operator==(const Float3&, const Float3&) = default;
};

struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

inline Float3 operator+(const Float3& a, const Float3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Float3 operator-(const Float3& a, const Float3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Float3 operator*(const Float3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }

// The rotation by `roll` radians about z, then `pitch` about x, then `yaw`
// about y, as a unit quaternion.
inline Quaternion QuaternionFromRollPitchYaw(float pitch, float yaw, float roll) {
    const float sp = std::sin(pitch * 0.5f), cp = std::cos(pitch * 0.5f);
    const float sy = std::sin(yaw * 0.5f), cy = std::cos(yaw * 0.5f);
    const float sr = std::sin(roll * 0.5f), cr = std::cos(roll * 0.5f);
    return {
        sp * cy * cr + cp * sy * sr,
        cp * sy * cr - sp * cy * sr,
        cp * cy * sr - sp * sy * cr,
        cp * cy * cr + sp * sy * sr,
    };
}

// The rotation that applies `first`, then `second`.
inline Quaternion QuaternionMultiply(const Quaternion& first, const Quaternion& second) {
    const Quaternion& a = second;
    const Quaternion& b = first;
    return {
        a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
        a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
        a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
        a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
    };
}

inline Quaternion QuaternionConjugate(const Quaternion& q) { return {-q.x, -q.y, -q.z, q.w}; }

// The vector v rotated by the unit quaternion q (q · v · q*).
inline Float3 Rotate(const Float3& v, const Quaternion& q) {
    const Quaternion p{v.x, v.y, v.z, 0.0f};
    // q · p · q*: apply q* first, then p, then q.
    const Quaternion r = QuaternionMultiply(QuaternionMultiply(QuaternionConjugate(q), p), q);
    return {r.x, r.y, r.z};
}
