#include "generator/ModelGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr float PI = std::numbers::pi_v<float>;

void ExpectNear(const VEC3& actual, const VEC3& expected, float tolerance = 1e-6f) {
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

std::vector<uint8_t> Grid() { return std::vector<uint8_t>(32768, 0); }
uint8_t& Dot(std::vector<uint8_t>& grid, int x, int y, int z) {
    return grid[static_cast<size_t>(z * 1024 + y * 32 + x)];
}

} // namespace

TEST(ModelGeometry, RotationIsRowVectorFormOfTheQuaternion) {
    // A quarter turn about z takes +x to +y (left-handed, row vectors).
    const float h = std::sqrt(0.5f);
    ROTATION_MATRIX m = RotationMatrix(0, 0, h, h);
    ExpectNear(Transform({1, 0, 0}, m, {0, 0, 0}), {0, 1, 0});
    ExpectNear(Transform({0, 2, 0}, m, {10, 20, 30}), {8, 20, 30});
    ROTATION_MATRIX identity = RotationMatrix(0, 0, 0, 1);
    EXPECT_EQ(Transform({1.5f, -2, 3}, identity, {1, 1, 1}), (VEC3{2.5f, -1, 4}));
    ExpectNear(BodyRotation(m), {0, 0, PI / 2});
    ExpectNear(BodyRotation(identity), {0, 0, 0});
}

TEST(ModelGeometry, BodyRotationHandlesGimbalLock) {
    // A quarter turn about x makes m32 exactly ±1.
    const float h = std::sqrt(0.5f);
    ROTATION_MATRIX up = RotationMatrix(h, 0, 0, h);
    up.m32 = -1.0f;
    ExpectNear(BodyRotation(up), {PI / 2, 0, std::atan2(up.m21, up.m11)});
    up.m32 = 1.0f;
    ExpectNear(BodyRotation(up), {-PI / 2, 0, std::atan2(up.m21, up.m11)});
    // Close to but not exactly 1 uses the general form.
    up.m32 = 0.9999f;
    ExpectNear(BodyRotation(up),
               {-std::asin(0.9999f), std::atan2(up.m31, up.m33), std::atan2(up.m12, up.m22)});
}

TEST(ModelGeometry, TriangleNormalIsUnitOrZero) {
    ExpectNear(TriangleNormal({0, 1, 0}, {1, 1, 0}, {1, 0, 0}), {0, 0, -1});
    ExpectNear(TriangleNormal({0, 3, 0}, {3, 3, 0}, {3, 0, 0}), {0, 0, -1});
    EXPECT_EQ(TriangleNormal({1, 1, 1}, {1, 1, 1}, {2, 2, 2}), (VEC3{0, 0, 0}));
    EXPECT_EQ(TriangleNormal({0, 0, 0}, {1, 0, 0}, {2, 0, 0}), (VEC3{0, 0, 0}));
}

TEST(ModelGeometry, BodyBoxAveragesTheEndsOfEachLine) {
    EXPECT_EQ(FitBodyBox(nullptr, 1, {32, 32, 32}).size, (VEC3{0, 0, 0}));
    std::vector<uint8_t> grid = Grid();
    EXPECT_EQ(FitBodyBox(grid.data(), 1, {32, 32, 32}).centre, (VEC3{0, 0, 0}));

    // One dot at the grid's origin: a box one dot wide, its centre half a dot
    // in from the corner, measured from the joint point at the grid centre.
    Dot(grid, 0, 0, 0) = 0x81; // the scratch bit does not count
    BODY_BOX single = FitBodyBox(grid.data(), 0.5f, {32, 32, 32});
    ExpectNear(single.size, {0.25f, 0.25f, 0.25f});
    ExpectNear(single.centre, {-7.75f, -7.75f, -7.75f});

    // A row of ten dots along x with one dot above its first: the x lines
    // span 0..9 and 0..0, so x runs from mean 0 to mean 4.5 (+1 dot).
    for (int x = 0; x < 10; ++x)
        Dot(grid, x, 0, 0) = 3;
    Dot(grid, 0, 1, 0) = 0x20 | 3; // reserved bits do not make a dot either
    Dot(grid, 20, 20, 20) = 0x40;
    BODY_BOX row = FitBodyBox(grid.data(), 1, {0, 0, 0});
    EXPECT_FLOAT_EQ(row.size[0], 2.75f);
    EXPECT_FLOAT_EQ(row.centre[0], 2.75f);
    // Every y line (one per x) spans 0..0 except x = 0's, 0..1: mean top 0.1.
    EXPECT_FLOAT_EQ(row.size[1], 0.55f);
    EXPECT_FLOAT_EQ(row.centre[1], 0.55f);
    EXPECT_FLOAT_EQ(row.size[2], 0.5f);
}
