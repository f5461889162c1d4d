#include "generator/PngWriter.h"

#include "document/Archive.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <map>
#include <mutex>

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

// The most compressed bytes an IDAT chunk of a banded image holds.
constexpr size_t IDAT_CHUNK = size_t(1) << 20;

// An already compressed zlib stream of filtered rows, given as the pieces
// that follow one another in it, and its length in bytes.
struct ZLIB_PIECES {
    std::span<const std::span<const uint8_t>> pieces;
    size_t size;
};

// Writes a PNG through libpng: either the pixels rgb, row by row, or (when
// rgb is null) the stream idat as IDAT chunks of IDAT_CHUNK bytes but the
// last, copied from its pieces straight into the chunks. Kept free of C++
// objects with destructors, since an error longjmps out of the libpng calls
// back into this frame.
bool EncodeWithLibpng(PNG_SINK& sink, int width, int height, const uint8_t* rgb,
                      const ZLIB_PIECES& idat) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
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
    png_write_info(png, info);
    if (rgb) {
        const size_t stride = static_cast<size_t>(width) * 3;
        for (int y = 0; y < height; ++y)
            png_write_row(png, const_cast<png_bytep>(rgb + stride * static_cast<size_t>(y)));
        png_write_end(png, info);
    } else {
        size_t piece = 0, used = 0; // the next byte: pieces[piece][used]
        for (size_t at = 0; at < idat.size; at += IDAT_CHUNK) {
            size_t left = std::min(IDAT_CHUNK, idat.size - at);
            png_write_chunk_start(png, reinterpret_cast<png_const_bytep>("IDAT"),
                                  static_cast<png_uint_32>(left));
            while (left > 0) {
                const std::span<const uint8_t> bytes = idat.pieces[piece];
                const size_t n = std::min(left, bytes.size() - used);
                png_write_chunk_data(png, bytes.data() + used, n);
                left -= n;
                used += n;
                if (used == bytes.size()) {
                    ++piece;
                    used = 0;
                }
            }
            png_write_chunk_end(png);
        }
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    }
    png_destroy_write_struct(&png, &info);
    return true;
}

void CheckSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > kPngMaxSide || height > kPngMaxSide)
        throw CPngException("image size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is not supported");
}

// A raw deflate stream (no zlib header or checksum) appending to a buffer.
class CDeflater {
public:
    // memLevel sets the size of the match hash table, which every full
    // flush clears: small for streams flushed often.
    CDeflater(std::vector<uint8_t>& out, int level, int memLevel = 8) : out_(out) {
        if (deflateInit2(&stream_, level, Z_DEFLATED, -15, memLevel, Z_DEFAULT_STRATEGY) != Z_OK)
            throw CPngException("cannot start the compressor");
    }
    ~CDeflater() { deflateEnd(&stream_); }
    // Starts a new stream with the same settings, keeping the memory.
    void Reset() {
        if (deflateReset(&stream_) != Z_OK)
            throw CPngException("cannot restart the compressor");
    }
    CDeflater(const CDeflater&) = delete;
    CDeflater& operator=(const CDeflater&) = delete;

    // Compresses data and flushes as asked (Z_FULL_FLUSH ends byte-aligned
    // with no reference to earlier data; Z_FINISH ends the stream).
    void Put(std::span<const uint8_t> data, int flush) {
        stream_.next_in = const_cast<Bytef*>(data.data());
        stream_.avail_in = static_cast<uInt>(data.size());
        do {
            stream_.next_out = buffer_.data();
            stream_.avail_out = static_cast<uInt>(buffer_.size());
            if (deflate(&stream_, flush) == Z_STREAM_ERROR)
                throw CPngException("the compressor failed");
            out_.insert(out_.end(), buffer_.data(), stream_.next_out);
        } while (stream_.avail_out == 0);
    }

private:
    std::vector<uint8_t>& out_;
    std::array<uint8_t, 1 << 14> buffer_;
    z_stream stream_{};
};

// Filtered rows compressed on their own, byte-aligned and referring to
// nothing before them, so they can be copied anywhere into a deflate stream
// that was just fully flushed; with their checksum and length.
struct RUN {
    std::vector<uint8_t> bytes;
    uLong adler;
    size_t length;
};

// Compresses rows as a run through deflater, which writes to out and is
// reset afterwards for the next run.
RUN CompressRun(const std::vector<uint8_t>& rows, CDeflater& deflater, std::vector<uint8_t>& out) {
    out.clear();
    deflater.Put(rows, Z_FULL_FLUSH);
    deflater.Reset();
    return {out, adler32(adler32(0, nullptr, 0), rows.data(), static_cast<uInt>(rows.size())),
            rows.size()};
}

// count rows of zeros with the given filter byte.
std::vector<uint8_t> Rows(size_t rowBytes, int count, uint8_t filter) {
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(count), 0);
    for (size_t at = 0; at < rows.size(); at += rowBytes)
        rows[at] = filter;
    return rows;
}

// The two runs every banded image of a size is made of: the rows after a
// band's first, and a whole black band.
struct REPEATED_RUNS {
    RUN repeat;
    RUN black;
};

// The runs for rows of rowBytes (filter byte included) and bands of
// bandHeight rows. They depend on nothing else, so the runs of the first few
// sizes asked for are kept (a few hundred bytes each) and a later image of
// such a size needs no compressor of its own for them. Safe to call from
// several threads.
REPEATED_RUNS RepeatedRuns(size_t rowBytes, int bandHeight) {
    constexpr size_t kept = 8;
    static std::mutex mutex;
    static std::map<std::pair<size_t, int>, REPEATED_RUNS> made;
    const auto key = std::make_pair(rowBytes, bandHeight);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (const auto found = made.find(key); found != made.end())
            return found->second;
    }
    // One compressor makes both runs.
    const std::vector<uint8_t> upRows = Rows(rowBytes, bandHeight - 1, 2);
    std::vector<uint8_t> blackRows = Rows(rowBytes, 1, 1);
    blackRows.insert(blackRows.end(), upRows.begin(), upRows.end());
    std::vector<uint8_t> runBytes;
    CDeflater runDeflater(runBytes, Z_BEST_COMPRESSION);
    REPEATED_RUNS runs;
    runs.repeat = CompressRun(upRows, runDeflater, runBytes);
    runs.black = CompressRun(blackRows, runDeflater, runBytes);
    const std::lock_guard<std::mutex> lock(mutex);
    if (made.size() < kept)
        made.emplace(key, runs);
    return runs;
}

void SaveFile(const std::string& path, std::span<const uint8_t> bytes) {
    try {
        WriteFileAtomically(path, bytes);
    } catch (const CArchiveException& e) {
        throw CPngException(e.what());
    }
}

} // namespace

std::vector<uint8_t> EncodePngRgb(int width, int height, std::span<const uint8_t> rgb) {
    CheckSize(width, height);
    if (rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        throw CPngException("pixel data does not match the image size");
    PNG_SINK sink;
    if (!EncodeWithLibpng(sink, width, height, rgb.data(), {}))
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
    SaveFile(path, bytes);
}

std::vector<uint8_t> EncodePngBands(int width, int bandHeight, int bandCount,
                                    const PngBandSource& source, const PngBandRepeats& repeats) {
    if (bandHeight <= 0 || bandCount <= 0 || bandHeight > 1 << 20 ||
        bandCount > (1 << 20) / bandHeight)
        throw CPngException("image of " + std::to_string(bandCount) + " bands of " +
                            std::to_string(bandHeight) + " rows is not supported");
    CheckSize(width, bandHeight * bandCount);
    const size_t rowBytes = 1 + static_cast<size_t>(width) * 3;

    // Every row of a band after its first is filtered "up" against the row
    // above, which it equals: a filter byte 2 and zeros. Those rows are
    // compressed once, as a run that refers to nothing before it, and the
    // run is copied into the stream after each band's first row. A black
    // band, whose first row filters to zeros as well, is copied whole the
    // same way.
    const REPEATED_RUNS runs = RepeatedRuns(rowBytes, bandHeight);
    const RUN& repeat = runs.repeat;
    const RUN& black = runs.black;

    // The stream is planned first and copied once into the image's data
    // chunks: each band is the black run, or a first row compressed on its
    // own followed by the repeated run. Grown run by run instead, a tall
    // image's stream would be moved at every doubling.
    static constexpr uint8_t header[] = {0x78, 0x01}; // zlib: deflate, 32 KB window
    constexpr int32_t BLACK = -1;
    std::vector<RUN> firstRows; // in the order compressed
    std::vector<int32_t> plan;  // per band: its first row's index there, or BLACK
    plan.reserve(static_cast<size_t>(bandCount));
    uLong adler = adler32(0, nullptr, 0);
    auto combine = [&adler](const RUN& run) {
        adler = adler32_combine(adler, run.adler, static_cast<z_off_t>(run.length));
    };
    auto add = [&](int32_t piece) {
        plan.push_back(piece);
        if (piece == BLACK) {
            combine(black);
        } else {
            combine(firstRows[static_cast<size_t>(piece)]);
            combine(repeat);
        }
    };
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * 3);
    std::vector<uint8_t> previous; // the pixels of the band before
    std::vector<uint8_t> filtered(rowBytes);
    std::vector<uint8_t> compressed; // what the deflater gave last
    CDeflater deflater(compressed, Z_BEST_SPEED, 1);
    std::vector<uint8_t> lastRow; // the first row of the band last compressed
    for (int band = 0; band < bandCount; ++band) {
        // A band like the one before (a large face's rows of cells, the black
        // rows at the bottom) gives the same bytes again. pixels still holds
        // the last band filled, which a repeat equals.
        const bool unchanged = band > 0 && repeats && repeats(band);
        if (!unchanged) {
            std::fill(pixels.begin(), pixels.end(), 0);
            source(band, pixels.data());
        }
        if (unchanged || pixels == previous) {
            add(plan.back());
            continue;
        }
        previous = pixels;
        // The first row, filtered "sub" (each byte minus the one a pixel to
        // its left), which turns runs of one colour into zeros.
        filtered[0] = 1;
        std::copy_n(pixels.begin(), 3, filtered.begin() + 1);
        for (size_t i = 3; i < pixels.size(); ++i)
            filtered[1 + i] = static_cast<uint8_t>(pixels[i] - pixels[i - 3]);
        if (std::all_of(filtered.begin() + 1, filtered.end(), [](uint8_t b) { return b == 0; })) {
            add(BLACK);
            continue;
        }
        // Every band starts right after a full flush, which puts the
        // compressor back into the same state, so a band whose first row
        // equals the last one compressed gives the same bytes: reused.
        if (filtered != lastRow) {
            compressed.clear();
            deflater.Put(filtered, Z_FULL_FLUSH);
            firstRows.push_back({compressed,
                                 adler32(adler32(0, nullptr, 0), filtered.data(),
                                         static_cast<uInt>(filtered.size())),
                                 rowBytes});
            lastRow = filtered;
        }
        add(static_cast<int32_t>(firstRows.size() - 1));
    }
    compressed.clear();
    deflater.Put({}, Z_FINISH);
    std::array<uint8_t, 4> checksum;
    for (size_t k = 0; k < 4; ++k)
        checksum[k] = static_cast<uint8_t>(adler >> (24 - 8 * k));

    std::vector<std::span<const uint8_t>> pieces;
    pieces.reserve(2 * plan.size() + 3);
    size_t size = 0;
    auto piece = [&](std::span<const uint8_t> bytes) {
        pieces.push_back(bytes);
        size += bytes.size();
    };
    piece(header);
    for (const int32_t band : plan) {
        if (band == BLACK) {
            piece(black.bytes);
        } else {
            piece(firstRows[static_cast<size_t>(band)].bytes);
            piece(repeat.bytes);
        }
    }
    piece(compressed);
    piece(checksum);

    PNG_SINK sink;
    // The compressed rows, with room for the signature, the header and end
    // chunks and each data chunk's twelve bytes of framing.
    sink.bytes.reserve(size + 64 + 12 * (size / IDAT_CHUNK + 1));
    if (!EncodeWithLibpng(sink, width, bandHeight * bandCount, nullptr, {pieces, size}))
        throw CPngException("cannot encode PNG: " + sink.error);
    return std::move(sink.bytes);
}

void WritePngBands(const std::string& path, int width, int bandHeight, int bandCount,
                   const PngBandSource& source) {
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodePngBands(width, bandHeight, bandCount, source);
    } catch (const CPngException& e) {
        throw CPngException(path + ": " + e.what());
    }
    SaveFile(path, bytes);
}
