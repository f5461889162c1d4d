// Banded images whose bands repeat: a band equal to the one compressed last
// is copied rather than compressed again, and must decode as if it had been.

#include "generator/PngWriter.h"

#include "support/PngReader.h"
#include "support/TestDocument.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(PngRepeatedBands, RunsOfEqualBandsAroundBlackAndChangesDecodeExactly) {
    CTempFolder temp("png-repeat");
    const int width = 40, bandHeight = 16;
    // Bands named by letter: '.' black, others a pattern of their own. Runs
    // of black and of colour at the start and the end, across black bands
    // (the copy must still be of the last compressed band), and a band that
    // differs in one byte.
    const std::string layout = "..AAAB.BBCCAACDDDD..DD..";
    auto fill = [&](char name, uint8_t* row) {
        if (name == '.')
            return;
        for (int i = 0; i < width * 3; ++i)
            row[i] = static_cast<uint8_t>((i / 6) * (name - 'A' + 3) + name);
    };
    std::vector<uint8_t> whole;
    for (char name : layout) {
        std::vector<uint8_t> row(static_cast<size_t>(width) * 3, 0);
        fill(name == 'D' ? 'C' : name, row.data());
        if (name == 'D')
            row.back() ^= 1;
        for (int r = 0; r < bandHeight; ++r)
            whole.insert(whole.end(), row.begin(), row.end());
    }
    const std::string path = temp.File("repeat.png");
    WritePngBands(path, width, bandHeight, static_cast<int>(layout.size()),
                  [&](int band, uint8_t* row) {
                      const char name = layout[static_cast<size_t>(band)];
                      fill(name == 'D' ? 'C' : name, row);
                      if (name == 'D')
                          row[width * 3 - 1] ^= 1; // like C but for the very last byte
                  });
    const DECODED_PNG image = ReadPngFile(path);
    EXPECT_EQ(image.height, bandHeight * static_cast<int>(layout.size()));
    EXPECT_EQ(image.rgb, whole);
}

TEST(PngRepeatedBands, ImagesOfManySizesEncodeTheSameEachTime) {
    // The runs of repeated rows are kept for the first sizes asked for and
    // made afresh for the others: either way an image gives the same bytes
    // as the first time, and they decode to its pixels.
    CTempFolder temp("png-sizes");
    for (int size = 1; size <= 12; ++size) {
        const int width = size * 5, bandHeight = size % 4 + 1, bands = 3;
        auto fill = [&](int band, uint8_t* row) {
            for (int i = 0; i < width * 3; i += 2)
                row[i] = static_cast<uint8_t>(band * 70 + i);
        };
        const std::vector<uint8_t> first = EncodePngBands(width, bandHeight, bands, fill);
        EXPECT_EQ(EncodePngBands(width, bandHeight, bands, fill), first) << "size " << size;
        const std::string path = temp.File("s" + std::to_string(size) + ".png");
        WritePngBands(path, width, bandHeight, bands, fill);
        const DECODED_PNG image = ReadPngFile(path);
        ASSERT_EQ(image.height, bandHeight * bands);
        std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
        for (int y = 0; y < image.height; ++y) {
            std::fill(row.begin(), row.end(), 0);
            fill(y / bandHeight, row.data());
            EXPECT_TRUE(std::equal(row.begin(), row.end(), image.rgb.begin() + y * width * 3))
                << "size " << size << " row " << y;
        }
    }
}
