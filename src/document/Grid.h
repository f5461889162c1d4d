#pragma once
// The dot grid every part has: 32 × 32 × 32 dots, stored z-slice by z-slice,
// the dot (x, y, z) at byte z × 1024 + y × 32 + x. Bits 0–4 of a dot are its
// palette index (0 = empty).

constexpr int GridSide = 32;
constexpr int GridArea = GridSide * GridSide; // 1 024 dots in one z slice
constexpr int GridDots = GridArea * GridSide; // 32 768
constexpr int DotIndexMask = 0x1F;

constexpr int GridIndex(int x, int y, int z) { return z * GridArea + y * GridSide + x; }
