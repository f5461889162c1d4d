#pragma once
// The dot grid every part has: 32 × 32 × 32 dots, stored z-slice by z-slice,
// the dot (x, y, z) at byte z × 1024 + y × 32 + x. Bits 0–4 of a dot are its
// palette index (0 = empty).

#include <cstdint>
#include <cstring>

constexpr int GridSide = 32;
constexpr int GridArea = GridSide * GridSide; // 1 024 dots in one z slice
constexpr int GridDots = GridArea * GridSide; // 32 768
constexpr int DotIndexMask = 0x1F;

constexpr int GridIndex(int x, int y, int z) { return z * GridArea + y * GridSide + x; }

// Word-at-a-time views of eight dots from byte p on (p a multiple of 8 in
// practice), for scans that step over runs of equal or empty dots.

// The palette index bits of the eight dots: zero when all eight are empty.
inline uint64_t IndexBitsOfEight(const uint8_t* dots, int p) {
    uint64_t word;
    std::memcpy(&word, dots + p, sizeof word);
    return word & 0x1F1F1F1F1F1F1F1Full;
}

// Given IndexBitsOfEight, 0x80 in every byte whose dot is non-empty and 0 in
// the others (an index byte is at most 0x1F, so the sum carries into no
// other byte).
constexpr uint64_t NonEmptyBitsOfEight(uint64_t indexBits) {
    return (indexBits + 0x7F7F7F7F7F7F7F7Full) & 0x8080808080808080ull;
}
