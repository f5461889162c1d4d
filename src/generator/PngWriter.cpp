#include "generator/PngWriter.h"

#include "document/Archive.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

// State shared with libpng's callbacks. libpng reports errors by calling the
// error function, which must not return; it records the message and jumps
// back to the setjmp in EncodePngRgb (no C++ exception crosses libpng's C
// frames).
struct PNG_SINK {
    std::vector<uint8_t> bytes;
    std::string error;
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PNG_SINK*>(png_get_error_ptr(png));
    sink->error = message ? message : "unknown libpng error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* sink = static_cast<PNG_SINK*>(png_get_io_ptr(png));
    try {
        sink->bytes.insert(sink->bytes.end(), data, data + size);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void OnPngFlush(png_structp) {}

// Runs libpng over the rows. Kept free of C++ objects with destructors, since
// an error longjmps out of the libpng calls back into this frame.
bool EncodeRows(PNG_SINK& sink, int width, int height, const uint8_t* rgb) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
    if (!png) {
        sink.error = "libpng cannot start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        sink.error = "libpng cannot start";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, OnPngWrite, OnPngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // The texture is made of flat 16 × 16 squares: the "up" filter turns
    // repeated rows into zeros and a light compression level suffices.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgb + stride * static_cast<size_t>(y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<uint8_t> EncodePngRgb(int width, int height, std::span<const uint8_t> rgb) {
    if (width <= 0 || height <= 0 || width > 1 << 20 || height > 1 << 20)
        throw CPngException("image size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is not supported");
    if (rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        throw CPngException("pixel data does not match the image size");
    PNG_SINK sink;
    if (!EncodeRows(sink, width, height, rgb.data()))
        throw CPngException("cannot encode PNG: " + sink.error);
    return std::move(sink.bytes);
}

void WritePngRgb(const std::string& path, int width, int height, std::span<const uint8_t> rgb) {
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodePngRgb(width, height, rgb);
    } catch (const CPngException& e) {
        throw CPngException(path + ": " + e.what());
    }
    try {
        WriteFileAtomically(path, bytes);
    } catch (const CArchiveException& e) {
        throw CPngException(e.what());
    }
}
