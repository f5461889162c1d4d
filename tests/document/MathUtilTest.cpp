#include "document/MathUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m[i][j] += a[i][k] * b[k][j];
    return m;
}

Matrix RotationX(double a) {
    return {{{1, 0, 0}, {0, std::cos(a), -std::sin(a)}, {0, std::sin(a), std::cos(a)}}};
}
Matrix RotationY(double a) {
    return {{{std::cos(a), 0, std::sin(a)}, {0, 1, 0}, {-std::sin(a), 0, std::cos(a)}}};
}
Matrix RotationZ(double a) {
    return {{{std::cos(a), -std::sin(a), 0}, {std::sin(a), std::cos(a), 0}, {0, 0, 1}}};
}

Float3 Apply(const Matrix& m, const Float3& v) {
    return {static_cast<float>(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z),
            static_cast<float>(m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z),
            static_cast<float>(m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z)};
}

void ExpectNear(const Float3& expected, const Float3& actual) {
    EXPECT_NEAR(expected.x, actual.x, 1e-5f);
    EXPECT_NEAR(expected.y, actual.y, 1e-5f);
    EXPECT_NEAR(expected.z, actual.z, 1e-5f);
}

const Float3 kProbes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3f, -2.0f, 1.5f}};

} // namespace

TEST(MathUtil, QuarterTurnsFollowTheAxisConventions) {
    const float q = 1.5707964f;
    ExpectNear({0, 1, 0}, Rotate({1, 0, 0}, QuaternionFromRollPitchYaw(0, 0, q))); // roll: x → y
    ExpectNear({0, 0, 1}, Rotate({0, 1, 0}, QuaternionFromRollPitchYaw(q, 0, 0))); // pitch: y → z
    ExpectNear({1, 0, 0}, Rotate({0, 0, 1}, QuaternionFromRollPitchYaw(0, q, 0))); // yaw: z → x
    // All three: roll takes x to y, pitch takes y to z, yaw takes z back to x.
    ExpectNear({1, 0, 0}, Rotate({1, 0, 0}, QuaternionFromRollPitchYaw(q, q, q)));
}

TEST(MathUtil, RollPitchYawAppliesRollThenPitchThenYaw) {
    const float angles[][3] = {{0.4f, -1.1f, 2.3f}, {-0.7f, 0.2f, 1.0227f}, {3.0f, 1.2f, -0.5f}};
    for (const auto& a : angles) {
        const Matrix expected =
            Multiply(RotationY(a[1]), Multiply(RotationX(a[0]), RotationZ(a[2])));
        const Quaternion r = QuaternionFromRollPitchYaw(a[0], a[1], a[2]);
        EXPECT_NEAR(1.0f, r.x * r.x + r.y * r.y + r.z * r.z + r.w * r.w, 1e-6f);
        for (const Float3& v : kProbes)
            ExpectNear(Apply(expected, v), Rotate(v, r));
    }
}

TEST(MathUtil, MultiplyAppliesTheFirstRotationFirst) {
    const Quaternion first = QuaternionFromRollPitchYaw(0.3f, -0.8f, 1.9f);
    const Quaternion second = QuaternionFromRollPitchYaw(-1.2f, 0.5f, 0.1f);
    const Quaternion both = QuaternionMultiply(first, second);
    for (const Float3& v : kProbes)
        ExpectNear(Rotate(Rotate(v, first), second), Rotate(v, both));
    // The identity changes nothing, on either side.
    EXPECT_EQ(first, QuaternionMultiply(first, Quaternion{}));
    EXPECT_EQ(first, QuaternionMultiply(Quaternion{}, first));
}

TEST(MathUtil, ZeroAnglesGiveTheExactIdentity) {
    EXPECT_EQ(Quaternion{}, QuaternionFromRollPitchYaw(0, 0, 0));
    EXPECT_EQ((Float3{1.5f, -2.25f, 8.0f}), Rotate({1.5f, -2.25f, 8.0f}, Quaternion{}));
}
