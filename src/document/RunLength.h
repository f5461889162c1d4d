#pragma once
// Run-length coding of a part's dot grid in the document file and the part
// clipboard payload.
//
// The grid's 32 768 dots are taken in storage order (z × 1024 + y × 32 + x)
// and written as (count, value) byte pairs: value is the palette index
// (bits 0–4 of the dot), count the run length 1–255, or 0 for a run of 256.
// A run of n equal dots becomes ⌊n / 256⌋ pairs (0, value) followed by one
// pair (n mod 256, value) when n mod 256 is not 0.

#include <cstddef>
#include <cstdint>
#include <span>

#include "document/Grid.h"

class CArchiveReader;
class CArchiveWriter;

constexpr size_t RLE_GRID_SIZE = GridDots;

// Writes the grid as maximal runs of equal palette indices. Bits 5–7 of the
// dots are not written.
void WriteRunLengthDots(CArchiveWriter& archive, std::span<const uint8_t, RLE_GRID_SIZE> dots);

// Reads pairs until all 32 768 dots are filled (a pair that runs past the
// end fills only up to the end). Every dot gets the pair's value with bits
// 5–7 cleared. Throws CArchiveException when the data ends first.
void ReadRunLengthDots(CArchiveReader& archive, std::span<uint8_t, RLE_GRID_SIZE> dots);
