#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>

#include "rigging/FloatText.h"

TEST(FloatTextTest, EveryFiniteFloatReadsBackWithTheSameBits) {
    const float special[] = {0.0f,
                             -0.0f,
                             1.0f,
                             0.1f,
                             17.188734f,
                             -9.0f,
                             std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::lowest(),
                             std::numeric_limits<float>::min(),
                             std::numeric_limits<float>::denorm_min()};
    for (float value : special) {
        const std::optional<float> back = ParseFloat(FormatFloat(value));
        ASSERT_TRUE(back) << FormatFloat(value);
        EXPECT_EQ(std::bit_cast<uint32_t>(*back), std::bit_cast<uint32_t>(value));
    }
    std::mt19937 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        const float value = std::bit_cast<float>(static_cast<uint32_t>(random()));
        if (!std::isfinite(value))
            continue;
        const std::optional<float> back = ParseFloat(FormatFloat(value));
        ASSERT_TRUE(back) << FormatFloat(value);
        ASSERT_EQ(std::bit_cast<uint32_t>(*back), std::bit_cast<uint32_t>(value))
            << FormatFloat(value);
    }
}

TEST(FloatTextTest, ShowsTheShortestFormAUserWouldType) {
    EXPECT_EQ(FormatFloat(0.5f), "0.5");
    EXPECT_EQ(FormatFloat(-9.0f), "-9");
    EXPECT_EQ(FormatFloat(0.3f * 57.295776f), "17.188734");
    EXPECT_EQ(FormatFloat(std::numeric_limits<float>::quiet_NaN()), "nan");
}

TEST(FloatTextTest, AcceptsNumbersWithBlanksAndSigns) {
    EXPECT_EQ(ParseFloat(" 2.5\t"), 2.5f);
    EXPECT_EQ(ParseFloat("+3"), 3.0f);
    EXPECT_EQ(ParseFloat("-1e3"), -1000.0f);
    EXPECT_EQ(ParseFloat("400"), 400.0f);
    EXPECT_EQ(ParseFloat(".25"), 0.25f);
}

TEST(FloatTextTest, RefusesWhatIsNoFiniteFloatAndSaysWhy) {
    for (const char* text : {"", "   ", "abc", "1.5x", "1 2", "+-3", "--3", "0x10", "nan", "inf",
                             "-infinity", "1,5"}) {
        FloatTextError error = FloatTextError::None;
        EXPECT_FALSE(ParseFloat(text, &error)) << text;
        EXPECT_EQ(error, FloatTextError::NotANumber) << text;
    }
    for (const char* text : {"1e39", "-3.5e38", "1e-60", "1e99999"}) {
        FloatTextError error = FloatTextError::None;
        EXPECT_FALSE(ParseFloat(text, &error)) << text;
        EXPECT_EQ(error, FloatTextError::OutOfRange) << text;
    }
}
