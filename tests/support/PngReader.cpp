#include "support/PngReader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>

uint32_t DECODED_PNG::Pixel(int x, int y) const {
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return rgb[at] | (rgb[at + 1] << 8) | (rgb[at + 2] << 16);
}

DECODED_PNG ReadPngFile(const std::string& path) {
    DECODED_PNG image;
    png_image decoder{};
    decoder.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&decoder, path.c_str())) {
        ADD_FAILURE() << path << ": " << decoder.message;
        return image;
    }
    // The header fields, read directly, to check the stored pixel format.
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        unsigned char header[26] = {};
        if (std::fread(header, 1, sizeof header, file) == sizeof header) {
            image.bitDepth = header[24];
            image.colourType = header[25];
        }
        std::fclose(file);
    }
    decoder.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(decoder.width);
    image.height = static_cast<int>(decoder.height);
    image.rgb.resize(PNG_IMAGE_SIZE(decoder));
    if (!png_image_finish_read(&decoder, nullptr, image.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << path << ": " << decoder.message;
        image = DECODED_PNG{};
    }
    return image;
}
