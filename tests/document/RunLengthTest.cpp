#include "document/RunLength.h"

#include "document/Archive.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

using Grid = std::array<uint8_t, RLE_GRID_SIZE>;

std::vector<uint8_t> Encode(const Grid& grid) {
    CArchiveWriter writer;
    WriteRunLengthDots(writer, grid);
    return writer.Take();
}

Grid Decode(const std::vector<uint8_t>& bytes, size_t* consumed = nullptr) {
    Grid grid;
    grid.fill(0xEE);
    CArchiveReader reader(bytes);
    ReadRunLengthDots(reader, grid);
    if (consumed)
        *consumed = reader.Position();
    return grid;
}

std::vector<uint8_t> Pairs(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<uint8_t> bytes;
    for (auto [count, value] : runs) {
        bytes.push_back(static_cast<uint8_t>(count));
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

} // namespace

TEST(RunLength, FullGridOfOneColourIsAllRunsOf256) {
    Grid grid;
    grid.fill(5);
    std::vector<uint8_t> expected;
    for (int i = 0; i < 128; ++i) {
        expected.push_back(0x00);
        expected.push_back(0x05);
    }
    EXPECT_EQ(expected, Encode(grid));
}

TEST(RunLength, SingleDotThenEmptyRunEndsWithA255Pair) {
    Grid grid{};
    grid[0] = 3;
    std::vector<uint8_t> expected = {0x01, 0x03};
    for (int i = 0; i < 127; ++i) {
        expected.push_back(0x00);
        expected.push_back(0x00);
    }
    expected.push_back(0xFF);
    expected.push_back(0x00);
    EXPECT_EQ(expected, Encode(grid));
}

TEST(RunLength, RunsAroundThe256BoundarySplitCorrectly) {
    // Runs of 255, 256 and 257 dots, then the rest empty.
    Grid grid{};
    std::fill_n(grid.begin(), 255, 1);
    std::fill_n(grid.begin() + 255, 256, 2);
    std::fill_n(grid.begin() + 511, 257, 3);
    std::vector<uint8_t> bytes = Encode(grid);
    const size_t rest = RLE_GRID_SIZE - 768; // 32000 = 125 × 256
    std::vector<uint8_t> expected = Pairs({{255, 1}, {0, 2}, {0, 3}, {1, 3}});
    for (size_t i = 0; i < rest / 256; ++i) {
        expected.push_back(0);
        expected.push_back(0);
    }
    EXPECT_EQ(expected, bytes);
    EXPECT_EQ(grid, Decode(bytes));
}

TEST(RunLength, OnlyThePaletteIndexIsWrittenAndRead) {
    Grid grid{};
    grid.fill(0x80 | 0x60 | 7); // scratch and reserved bits set everywhere
    grid[100] = 0x80 | 4;
    Grid decoded = Decode(Encode(grid));
    for (size_t i = 0; i < grid.size(); ++i)
        ASSERT_EQ(grid[i] & 0x1F, decoded[i]) << "dot " << i;
    // Dots that differ only in bits 5–7 form one run.
    Grid mixed{};
    for (size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<uint8_t>(9 | ((i & 3) << 5));
    EXPECT_EQ(256u, Encode(mixed).size());
    // Values in the file with high bits set read back as palette indices.
    std::vector<uint8_t> highBits;
    for (int i = 0; i < 128; ++i) {
        highBits.push_back(0);
        highBits.push_back(0xE9);
    }
    EXPECT_EQ(9, Decode(highBits)[12345]);
}

TEST(RunLength, RandomGridsRoundTrip) {
    std::mt19937 random(1234);
    for (int trial = 0; trial < 20; ++trial) {
        Grid grid{};
        // Long runs with occasional noise, so that both short and 256-runs occur.
        uint8_t value = 0;
        for (size_t i = 0; i < grid.size(); ++i) {
            if (random() % (trial + 2) == 0 || random() % 700 == 0)
                value = static_cast<uint8_t>(random() % 32);
            grid[i] = value;
        }
        size_t consumed = 0;
        std::vector<uint8_t> bytes = Encode(grid);
        EXPECT_EQ(grid, Decode(bytes, &consumed));
        EXPECT_EQ(bytes.size(), consumed);
    }
}

TEST(RunLength, ReaderStopsAtTheGridEnd) {
    // One run of 200 followed by runs that overshoot: the last run is cut and
    // the bytes after the grid are left for the next reader.
    std::vector<uint8_t> bytes = Pairs({{200, 1}});
    for (int i = 0; i < 128; ++i) {
        bytes.push_back(0);
        bytes.push_back(2);
    }
    bytes.push_back(0xAB);
    size_t consumed = 0;
    Grid grid = Decode(bytes, &consumed);
    EXPECT_EQ(bytes.size() - 1, consumed);
    EXPECT_EQ(1, grid[199]);
    EXPECT_EQ(2, grid[200]);
    EXPECT_EQ(2, grid[RLE_GRID_SIZE - 1]);
}

TEST(RunLength, DataEndingBeforeTheGridIsFullIsAnError) {
    EXPECT_THROW(Decode({}), CArchiveException);
    EXPECT_THROW(Decode(Pairs({{0, 1}, {0, 1}})), CArchiveException);
    std::vector<uint8_t> oddByte(255, 0); // 127 full pairs and half a pair
    EXPECT_THROW(Decode(oddByte), CArchiveException);
}
