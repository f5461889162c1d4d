#include "document/DotClipboard.h"

#include <algorithm>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

namespace {

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;

uint32_t ArgbOf(int index, const CDotDocument& document) {
    if (index < 1 || index > PaletteSize)
        return 0;
    const uint32_t color = document.GetColor(index).color;
    return 0xFF000000u | uint32_t(RedOf(color)) << 16 | uint32_t(GreenOf(color)) << 8 |
           uint32_t(BlueOf(color));
}

} // namespace

std::vector<uint8_t> EncodeDotBlock(const CDotImage& block) {
    CArchiveWriter archive;
    block.Write(archive);
    return archive.Take();
}

std::optional<CDotImage> DecodeDotBlock(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2)
        return std::nullopt;
    const int width = bytes[0], height = bytes[1];
    if (bytes.size() - 2 < size_t(width) * size_t(height))
        return std::nullopt;
    CDotImage block(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            block.SetDot(x, y, bytes[2 + size_t(y) * size_t(width) + size_t(x)] & DotIndexMask);
    return block;
}

std::vector<uint32_t> BlockPixels(const CDotImage& block, const CDotDocument& document) {
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(block.GetWidth()) * size_t(block.GetHeight()));
    for (int y = 0; y < block.GetHeight(); ++y)
        for (int x = 0; x < block.GetWidth(); ++x)
            pixels.push_back(ArgbOf(block.GetDot(x, y), document));
    return pixels;
}

std::vector<uint8_t> EncodeBitmap(const CDotImage& block, const CDotDocument& document) {
    const int w = block.GetWidth(), h = block.GetHeight();
    const uint32_t pixelBytes = 4u * uint32_t(w) * uint32_t(h);
    CArchiveWriter archive;
    archive.Reserve(FileHeaderSize + InfoHeaderSize + pixelBytes);
    // BITMAPFILEHEADER
    archive.WriteU8('B');
    archive.WriteU8('M');
    archive.WriteU32(FileHeaderSize + InfoHeaderSize + pixelBytes);
    archive.WriteU32(0); // two reserved words
    archive.WriteU32(FileHeaderSize + InfoHeaderSize);
    // BITMAPINFOHEADER: positive height, rows stored bottom-up
    archive.WriteU32(InfoHeaderSize);
    archive.WriteI32(w);
    archive.WriteI32(h);
    archive.WriteU16(1);                    // planes
    archive.WriteU16(32);                   // bits a pixel
    for (int field = 0; field < 6; ++field) // compression, size, resolution, colours
        archive.WriteU32(0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t argb = ArgbOf(block.GetDot(x, y), document);
            archive.WriteU8(uint8_t(argb));       // blue
            archive.WriteU8(uint8_t(argb >> 8));  // green
            archive.WriteU8(uint8_t(argb >> 16)); // red
            archive.WriteU8(0);
        }
    }
    return archive.Take();
}

CDotImage PictureToBlock(int width, int height, bool hasAlpha,
                         const std::function<uint32_t(int, int)>& pixel,
                         const CDotDocument& document) {
    CDotImage block(std::clamp(width, 0, MaxPasteSide), std::clamp(height, 0, MaxPasteSide));
    for (int y = 0; y < block.GetHeight(); ++y) {
        for (int x = 0; x < block.GetWidth(); ++x) {
            const uint32_t argb = pixel(x, y);
            if (hasAlpha && (argb >> 24) == 0)
                continue; // stays empty
            block.SetDot(x, y,
                         document.FindNearestColor(MakeColorRef(
                             int(argb >> 16 & 0xFF), int(argb >> 8 & 0xFF), int(argb & 0xFF))));
        }
    }
    return block;
}

std::vector<uint8_t> WritePartPayload(const CDotPart& part) {
    CArchiveWriter archive;
    part.Store(archive);
    return archive.Take();
}

std::unique_ptr<CDotPart> ReadPartPayload(std::span<const uint8_t> bytes, CDotDocument& document) {
    CArchiveReader archive(bytes);
    std::unique_ptr<CDotPart> part = document.CreatePart(0, std::u16string());
    CGridBudget grids; // bounds the grids a payload may allocate
    LoadPartRecord(*part, archive, DocumentFileVersion, 1, grids);
    return part;
}
