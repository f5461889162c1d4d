#pragma once
// What the dot view and the part list put on the clipboard and take from it,
// as bytes: the dot block, the device-independent bitmap behind its BMP file
// header, the pixels of a block for a picture, pictures turned into blocks,
// and a part with its subtree. Every reader takes hostile input: it returns
// nothing or throws CArchiveException, and allocates only what the bytes
// hold.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "document/DotHolder.h"

class CDotDocument;
class CDotPart;

// Pasted pictures are cut to this many cells a side.
constexpr int MaxPasteSide = 32;

// The dot block: u8 width, u8 height, then the cells row by row, top first.
// Throws std::invalid_argument for a side above 255.
std::vector<uint8_t> EncodeDotBlock(const CDotImage& block);
// The block, or nothing for bytes shorter than their sizes promise. Cell
// values keep only their palette index (bits 0–4).
std::optional<CDotImage> DecodeDotBlock(std::span<const uint8_t> bytes);

// The block as 0xAARRGGBB pixels, row by row: a cell's palette colour with
// alpha 255, an empty cell 0.
std::vector<uint32_t> BlockPixels(const CDotImage& block, const CDotDocument& document);

// A BMP file of the block: the 14-byte file header, a 40-byte information
// header (32 bits a pixel, uncompressed, rows bottom-up) and four bytes a
// pixel (blue, green, red, 0); empty cells are black.
std::vector<uint8_t> EncodeBitmap(const CDotImage& block, const CDotDocument& document);

// A picture as a block: its top-left min(width, 32) × min(height, 32)
// pixels, each the nearest palette index of its colour; with hasAlpha a
// pixel of alpha 0 becomes empty. pixel(x, y) gives 0xAARRGGBB.
CDotImage PictureToBlock(int width, int height, bool hasAlpha,
                         const std::function<uint32_t(int, int)>& pixel,
                         const CDotDocument& document);

// The part record with its subtree, as the document file stores it.
std::vector<uint8_t> WritePartPayload(const CDotPart& part);
// A new part of document read from a part payload (not yet in the tree, its
// ids and names as stored). Throws CArchiveException for anything malformed.
std::unique_ptr<CDotPart> ReadPartPayload(std::span<const uint8_t> bytes, CDotDocument& document);
