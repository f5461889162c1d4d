#pragma once
// Encodes 24-bit RGB images as PNG with libpng. The model's texture is the
// only image the core writes.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

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
