// The build-independent atan2 and asin: the C library's special cases, and
// within an ulp of the C library's double results everywhere else.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <limits>
#include <numbers>

#include "document/PortableTrig.h"

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr float Inf = std::numeric_limits<float>::infinity();

// Distance in ulps between two finite floats of the same sign.
int64_t Ulps(float a, float b) {
    return std::llabs(static_cast<int64_t>(std::bit_cast<int32_t>(a)) - std::bit_cast<int32_t>(b));
}

} // namespace

TEST(PortableTrig, Atan2FollowsTheCLibraryForZerosInfinitiesAndNaN) {
    struct CASE {
        float y, x;
    };
    const CASE cases[] = {{0.0f, 0.0f},    {-0.0f, 0.0f},   {0.0f, -0.0f}, {-0.0f, -0.0f},
                          {0.0f, -3.0f},   {-0.0f, -3.0f},  {0.0f, 3.0f},  {2.0f, 0.0f},
                          {-2.0f, -0.0f},  {Inf, 1.0f},     {1.0f, -Inf},  {-1.0f, -Inf},
                          {Inf, Inf},      {-Inf, -Inf},    {1.0f, 1.0f},  {-1.0f, -1.0f},
                          {1e-30f, 1e30f}, {1e30f, -1e-30f}};
    for (const CASE& c : cases) {
        const float expected = static_cast<float>(std::atan2(double(c.y), double(c.x)));
        const float got = PortableAtan2(c.y, c.x);
        EXPECT_EQ(std::signbit(expected), std::signbit(got)) << c.y << ", " << c.x;
        EXPECT_LE(Ulps(expected, got), 1) << c.y << ", " << c.x;
    }
    EXPECT_TRUE(std::isnan(PortableAtan2(std::nanf(""), 1.0f)));
    EXPECT_TRUE(std::isnan(PortableAtan2(1.0f, std::nanf(""))));
    EXPECT_EQ(Pi, PortableAtan2(0.0f, -1.0f));
}

TEST(PortableTrig, Atan2IsWithinAnUlpAllRoundTheCircle) {
    // Points on circles of several radii, every quadrant and octant boundary
    // region included; rounding the double result is the reference.
    int exact = 0, total = 0;
    for (float radius : {1e-3f, 0.7f, 1.0f, 250.0f}) {
        for (int i = 0; i < 4000; ++i) {
            const double angle = -std::numbers::pi + 2 * std::numbers::pi * (i + 0.37) / 4000;
            const float y = static_cast<float>(radius * std::sin(angle));
            const float x = static_cast<float>(radius * std::cos(angle));
            const float expected = static_cast<float>(std::atan2(double(y), double(x)));
            const float got = PortableAtan2(y, x);
            ASSERT_LE(Ulps(expected, got), 1) << y << ", " << x;
            exact += expected == got;
            ++total;
        }
    }
    // Rounded once from a double, it is nearly always the nearest float.
    EXPECT_GT(exact, total * 99 / 100);
}

TEST(PortableTrig, AsinMatchesTheCLibraryAndRefusesOutOfRange) {
    EXPECT_EQ(Pi / 2, PortableAsin(1.0f));
    EXPECT_EQ(-Pi / 2, PortableAsin(-1.0f));
    EXPECT_TRUE(std::signbit(PortableAsin(-0.0f)));
    EXPECT_EQ(0.0f, PortableAsin(0.0f));
    for (float v : {1.0000001f, -1.5f, Inf, std::nanf("")})
        EXPECT_TRUE(std::isnan(PortableAsin(v))) << v;
    for (int i = -5000; i <= 5000; ++i) {
        const float v = static_cast<float>(i) / 5000.0f;
        const float expected = static_cast<float>(std::asin(double(v)));
        ASSERT_LE(Ulps(expected, PortableAsin(v)), 1) << v;
    }
    EXPECT_LE(Ulps(static_cast<float>(std::asin(0.9999999403953552)), PortableAsin(0.99999994f)),
              1);
}
