#include "document/RunLength.h"

#include "document/Archive.h"

#include <algorithm>

namespace {

constexpr uint8_t INDEX_MASK = 0x1F;

void WriteRun(CArchiveWriter& archive, size_t length, uint8_t value) {
    for (size_t full = length / 256; full > 0; --full) {
        archive.WriteU8(0);
        archive.WriteU8(value);
    }
    if (length % 256 != 0) {
        archive.WriteU8(static_cast<uint8_t>(length % 256));
        archive.WriteU8(value);
    }
}

} // namespace

void WriteRunLengthDots(CArchiveWriter& archive, std::span<const uint8_t, RLE_GRID_SIZE> dots) {
    size_t start = 0;
    while (start < dots.size()) {
        const uint8_t value = dots[start] & INDEX_MASK;
        size_t end = start + 1;
        while (end < dots.size() && (dots[end] & INDEX_MASK) == value)
            ++end;
        WriteRun(archive, end - start, value);
        start = end;
    }
}

void ReadRunLengthDots(CArchiveReader& archive, std::span<uint8_t, RLE_GRID_SIZE> dots) {
    size_t filled = 0;
    while (filled < dots.size()) {
        if (archive.Remaining() < 2)
            throw CArchiveException("dot data ends after " + std::to_string(filled) + " of " +
                                    std::to_string(dots.size()) + " dots at byte " +
                                    std::to_string(archive.Position()));
        const size_t count = archive.ReadU8();
        const uint8_t value = archive.ReadU8() & INDEX_MASK;
        const size_t length = std::min(count == 0 ? size_t(256) : count, dots.size() - filled);
        std::fill_n(dots.begin() + static_cast<std::ptrdiff_t>(filled), length, value);
        filled += length;
    }
}
