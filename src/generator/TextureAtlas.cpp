#include "generator/TextureAtlas.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Columns 0 to 30: the only columns a region placed in an existing row may
// cover.
constexpr uint32_t PLACEABLE = 0x7FFFFFFFu;

} // namespace

uint32_t CTextureAtlas::FreeStarts(uint32_t used, int width) {
    uint32_t free = ~used & PLACEABLE;
    uint32_t starts = free;
    for (int k = 1; k < width && starts; ++k)
        starts &= free >> k;
    return starts;
}

CTextureAtlas::PLACE CTextureAtlas::Place(int width, int height) {
    const int rowCount = RowCount();
    if (width >= 1 && width < COLUMNS) {
        int& first = firstRow_[static_cast<size_t>(width)];
        for (int r = first; r < rowCount; ++r) {
            int& bound = runBound_[static_cast<size_t>(r)];
            uint32_t starts = 0;
            // A row known to be too short is passed over; otherwise its
            // starts tell, and none means no run there is as long as width.
            if (bound < 0 || bound >= width) {
                starts = FreeStarts(rows_[static_cast<size_t>(r)].used, width);
                if (starts == 0)
                    bound = width - 1;
            }
            if (starts == 0) {
                // No start here now, and rows never gain free cells.
                if (r == first)
                    ++first;
                continue;
            }
            for (int k = 1; k < height && starts && r + k < rowCount; ++k)
                starts &= FreeStarts(rows_[static_cast<size_t>(r + k)].used, width);
            if (starts)
                return {std::countr_zero(starts), r};
        }
    }
    return {0, rowCount};
}

void CTextureAtlas::Reserve(size_t rows) {
    rows_.reserve(rows);
    runBound_.reserve(rows);
}

void CTextureAtlas::Paint(int row, int column, uint32_t colour) {
    PaintRow(row, column, 1)[0] = colour;
}

uint32_t* CTextureAtlas::PaintRow(int row, int column, int width) {
    if (row >= RowCount()) {
        rows_.resize(static_cast<size_t>(row) + 1);
        runBound_.resize(static_cast<size_t>(row) + 1, -1);
    }
    CTextureRow& target = rows_[static_cast<size_t>(row)];
    const uint32_t cells = width >= COLUMNS ? ~0u : (1u << width) - 1;
    target.used |= cells << column;
    runBound_[static_cast<size_t>(row)] = -1;
    return target.colours.data() + column;
}

int CTextureAtlas::ImageHeight() const {
    size_t rows = std::max<size_t>(rows_.size(), 1);
    return static_cast<int>(std::bit_ceil(rows)) * CELL_PIXELS;
}

void CTextureAtlas::FillPixelRow(int row, uint8_t* pixels) const {
    static constexpr std::array<uint32_t, COLUMNS> black{};
    const auto& colours =
        row >= 0 && row < RowCount() ? rows_[static_cast<size_t>(row)].colours : black;
    for (size_t c = 0; c < COLUMNS; ++c) {
        const uint64_t rgb = colours[c] & 0xFFFFFFu;
        uint8_t* cell = pixels + c * CELL_PIXELS * 3;
        if constexpr (std::endian::native == std::endian::little) {
            static_assert(CELL_PIXELS == 16);
            // Eight pixels are three 64-bit words (r g b r g b r g, b r g b
            // r g b r, g b r g b r g b), stored twice: a tall atlas has
            // tens of thousands of cells, and stores of whole words keep
            // this from costing more than the image's compression. Each
            // word is stored on its own: words built on the stack and
            // copied as one block would be read back before their stores
            // could be forwarded.
            const uint64_t first = rgb | rgb << 24 | rgb << 48;
            const uint64_t second = rgb >> 16 | rgb << 8 | rgb << 32 | rgb << 56;
            const uint64_t third = rgb >> 8 | rgb << 16 | rgb << 40;
            for (uint8_t* half : {cell, cell + 24}) {
                std::memcpy(half, &first, 8);
                std::memcpy(half + 8, &second, 8);
                std::memcpy(half + 16, &third, 8);
            }
        } else {
            for (int x = 0; x < CELL_PIXELS; ++x) {
                cell[x * 3] = static_cast<uint8_t>(rgb);
                cell[x * 3 + 1] = static_cast<uint8_t>(rgb >> 8);
                cell[x * 3 + 2] = static_cast<uint8_t>(rgb >> 16);
            }
        }
    }
}

std::vector<uint8_t> CTextureAtlas::RenderRgb() const {
    constexpr size_t stride = static_cast<size_t>(IMAGE_WIDTH) * 3;
    const int height = ImageHeight();
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        FillPixelRow(y / CELL_PIXELS, pixels.data() + static_cast<size_t>(y) * stride);
    return pixels;
}

std::array<CTextureAtlas::UV, 4> CTextureAtlas::CornerCoordinates(PLACE place, int width,
                                                                  int height) {
    const float left = static_cast<float>(place.column);
    const float top = static_cast<float>(place.row);
    const float right = static_cast<float>(place.column + width) - INSET;
    const float bottom = static_cast<float>(place.row + height) - INSET;
    return {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}
