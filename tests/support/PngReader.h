#pragma once
// Test helper: decodes a PNG file into 8-bit RGB pixels with libpng, so tests
// can check what the generator wrote.

#include <cstdint>
#include <string>
#include <vector>

struct DECODED_PNG {
    int width = 0;
    int height = 0;
    int colourType = 0; // libpng's PNG_COLOR_TYPE_*
    int bitDepth = 0;
    std::vector<uint8_t> rgb; // row by row from the top, three bytes a pixel

    // Colour of pixel (x, y) in COLORREF order (red in the lowest byte).
    uint32_t Pixel(int x, int y) const;
};

// Decodes the file; fails the calling test (and returns an empty image) when
// it is not a readable PNG.
DECODED_PNG ReadPngFile(const std::string& path);
