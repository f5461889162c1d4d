// Banded images whose bands repeat: a band equal to the one compressed last
// is copied rather than compressed again, and must decode as if it had been.

#include "generator/PngWriter.h"

#include "support/PngReader.h"
#include "support/TempFolder.h"

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
    auto source = [&](int band, uint8_t* row) {
        const char name = layout[static_cast<size_t>(band)];
        fill(name == 'D' ? 'C' : name, row);
        if (name == 'D')
            row[width * 3 - 1] ^= 1; // like C but for the very last byte
    };
    const int bands = static_cast<int>(layout.size());
    const std::string path = temp.File("repeat.png");
    WritePngBands(path, width, bandHeight, bands, source);
    const DECODED_PNG image = ReadPngFile(path);
    EXPECT_EQ(image.height, bandHeight * bands);
    EXPECT_EQ(image.rgb, whole);

    // Told which bands repeat the one before, the encoder fills only the
    // others and gives the same bytes; a hint that misses some changes
    // nothing either.
    const std::vector<uint8_t> plain = EncodePngBands(width, bandHeight, bands, source);
    for (int every : {1, 2}) {
        SCOPED_TRACE(every);
        auto repeats = [&](int band) {
            const size_t b = static_cast<size_t>(band);
            return band % every == 0 && layout[b] == layout[b - 1];
        };
        int filled = 0, differing = 0;
        for (int band = 0; band < bands; ++band)
            differing += band == 0 || !repeats(band);
        auto counted = [&](int band, uint8_t* row) {
            ++filled;
            source(band, row);
        };
        EXPECT_EQ(EncodePngBands(width, bandHeight, bands, counted, repeats), plain);
        EXPECT_EQ(filled, differing);
    }
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

TEST(PngRepeatedBands, AStreamLongerThanAChunkFillsEveryChunkButTheLast) {
    // Bands of noise hardly compress, so 800 of them make a stream of more
    // than one data chunk. Black and repeated bands among them put the
    // chunk boundaries inside pieces of every kind.
    CTempFolder temp("png-chunks");
    const int width = 512, bandHeight = 2, bands = 800;
    auto fill = [&](int band, uint8_t* row) {
        if (band % 7 == 3)
            return;                                         // black
        const int source = band % 5 == 4 ? band - 1 : band; // a repeat
        uint32_t state = static_cast<uint32_t>(source) * 2654435761u + 1;
        for (int i = 0; i < width * 3; ++i) {
            state = state * 1664525u + 1013904223u;
            row[i] = static_cast<uint8_t>(state >> 24);
        }
    };
    const std::vector<uint8_t> bytes = EncodePngBands(width, bandHeight, bands, fill);
    std::vector<size_t> dataChunks;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = size_t(bytes[at]) << 24 | size_t(bytes[at + 1]) << 16 |
                              size_t(bytes[at + 2]) << 8 | bytes[at + 3];
        if (std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + 8), "IDAT"))
            dataChunks.push_back(length);
        at += 12 + length;
    }
    ASSERT_GE(dataChunks.size(), 2u);
    for (size_t k = 0; k + 1 < dataChunks.size(); ++k)
        EXPECT_EQ(dataChunks[k], size_t(1) << 20) << "chunk " << k;

    const std::string path = temp.File("chunks.png");
    WritePngBands(path, width, bandHeight, bands, fill);
    const DECODED_PNG image = ReadPngFile(path);
    ASSERT_EQ(image.height, bandHeight * bands);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < image.height; y += bandHeight - 1) {
        std::fill(row.begin(), row.end(), 0);
        fill(y / bandHeight, row.data());
        ASSERT_TRUE(std::equal(row.begin(), row.end(), image.rgb.begin() + y * width * 3))
            << "row " << y;
    }
}
