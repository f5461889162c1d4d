#pragma once
// Encodes 24-bit RGB images as PNG with libpng. The model's texture is the
// only image the core writes.

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// The most rows or columns an image may have: libpng refuses larger ones.
constexpr int kPngMaxSide = 1000000;

// Raised when an image cannot be encoded or saved; the message says why.
class CPngException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Encodes width × height pixels given row by row from the top, three bytes
// (red, green, blue) per pixel, as a complete PNG file in memory. Throws
// CPngException when the sizes do not match the pixel data or libpng fails.
std::vector<uint8_t> EncodePngRgb(int width, int height, std::span<const uint8_t> rgb);

// Encodes as EncodePngRgb and saves the file atomically (a temporary file in
// the same folder renamed over path), so a failed save leaves any previous
// file untouched. Throws CPngException naming the file and the reason.
void WritePngRgb(const std::string& path, int width, int height, std::span<const uint8_t> rgb);

// Fills row (width × 3 bytes, red, green, blue per pixel) with the pixels of
// band number band.
using PngBandSource = std::function<void(int band, uint8_t* row)>;

// Whether band number band (1 or more) has the very pixels of the band
// before it. A hint: true spares filling and comparing the band's row, false
// is always safe.
using PngBandRepeats = std::function<bool(int band)>;

// Encodes an image made of bands: bandCount bands of bandHeight identical
// rows each, band 0 at the top, every band's row given by source. Produces
// the same pixels as EncodePngRgb of the full image, but compresses only one
// row per band and repeats a precompressed run for the others, so a tall
// image costs little more than its bands. The bytes are the same with or
// without repeats, as long as it never answers true wrongly. Throws
// CPngException.
std::vector<uint8_t> EncodePngBands(int width, int bandHeight, int bandCount,
                                    const PngBandSource& source,
                                    const PngBandRepeats& repeats = {});

// EncodePngBands saved atomically to path; throws CPngException naming the
// file and the reason.
void WritePngBands(const std::string& path, int width, int bandHeight, int bandCount,
                   const PngBandSource& source);
