#include "generator/PngWriter.h"

#include "support/PngReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

TEST(PngWriter, WritesAn8BitRgbImageThatReadsBack) {
    CTempFolder temp("png");
    const fs::path& folder = temp.Path();
    std::vector<uint8_t> rgb(size_t(512) * 16 * 3, 0);
    rgb[0] = 255;                        // (0, 0) red
    rgb[(15 * 512 + 511) * 3 + 2] = 200; // (511, 15) blue
    rgb[(7 * 512 + 100) * 3 + 1] = 17;   // (100, 7) dark green
    std::string path = (folder / "t.png").string();
    WritePngRgb(path, 512, 16, rgb);

    DECODED_PNG image = ReadPngFile(path);
    EXPECT_EQ(image.width, 512);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.bitDepth, 8);
    EXPECT_EQ(image.colourType, 2); // truecolour without alpha
    EXPECT_EQ(image.rgb, rgb);
}

TEST(PngWriter, FailuresNameTheFileAndKeepThePreviousOne) {
    CTempFolder temp("png");
    const fs::path& folder = temp.Path();
    std::vector<uint8_t> rgb(size_t(4) * 2 * 3, 9);

    std::string missing = (folder / "no-such-folder" / "t.png").string();
    try {
        WritePngRgb(missing, 4, 2, rgb);
        FAIL() << "no exception";
    } catch (const CPngException& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }

    std::string existing = (folder / "old.png").string();
    std::ofstream(existing) << "previous";
    EXPECT_THROW(WritePngRgb(existing, 4, 3, rgb), CPngException); // too few pixels
    EXPECT_THROW(WritePngRgb(existing, 0, 2, {}), CPngException);
    std::ifstream in(existing);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(PngWriter, BandedImagesDecodeToTheSamePixelsAsWholeOnes) {
    CTempFolder temp("png");
    std::mt19937 random(7);
    const std::pair<int, int> shapes[] = {{1, 1}, {16, 1}, {16, 7}, {3, 40}, {1, 300}};
    for (auto [bandHeight, bandCount] : shapes) {
        const int width = 32 + static_cast<int>(random() % 100);
        // Bands of runs of a few colours, some repeated, some black.
        std::vector<std::vector<uint8_t>> bands(static_cast<size_t>(bandCount));
        for (auto& band : bands) {
            band.assign(static_cast<size_t>(width) * 3, 0);
            if (random() % 4 == 0)
                continue;
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < 3; ++k)
                    band[static_cast<size_t>(x * 3 + k)] =
                        static_cast<uint8_t>((x / 5 * 37 + k * 91) ^ random() % 3);
        }
        std::vector<uint8_t> whole;
        for (const auto& band : bands)
            for (int r = 0; r < bandHeight; ++r)
                whole.insert(whole.end(), band.begin(), band.end());

        const std::string path = temp.File("bands.png");
        WritePngBands(path, width, bandHeight, bandCount, [&](int band, uint8_t* row) {
            std::copy(bands[static_cast<size_t>(band)].begin(),
                      bands[static_cast<size_t>(band)].end(), row);
        });
        DECODED_PNG image = ReadPngFile(path);
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, bandHeight * bandCount);
        EXPECT_EQ(image.colourType, 2);
        EXPECT_EQ(image.rgb, whole) << bandHeight << " x " << bandCount;
    }
    EXPECT_THROW(WritePngBands(temp.File("x.png"), 4, 0, 1, [](int, uint8_t*) {}), CPngException);
}
