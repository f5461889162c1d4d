#include "generator/SurfaceReuse.h"

#include "document/Grid.h"

#include <cstring>

namespace {

uint32_t FilledCount(const uint8_t* dots) {
    uint32_t count = 0;
    for (int p = 0; p < GridDots; ++p)
        count += (dots[p] & DotIndexMask) != 0;
    return count;
}

// Eight dots at a time: where the palette indices are the same the keys
// are too, and only a word that differs is looked up dot by dot.
bool SameKeys(const uint8_t* a, const uint8_t* b, const COLOUR_KEYS& keys) {
    constexpr uint64_t INDICES = 0x1F1F1F1F1F1F1F1Full;
    for (int p = 0; p < GridDots; p += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + p, 8);
        std::memcpy(&y, b + p, 8);
        if (((x ^ y) & INDICES) == 0)
            continue;
        for (int k = p; k < p + 8; ++k)
            if (keys[a[k] & DotIndexMask] != keys[b[k] & DotIndexMask])
                return false;
    }
    return true;
}

// How many earlier grids of the same dot count one grid is compared with at
// most, so that many parts of one size cannot make the search quadratic.
// Missing a match only means building the same blocks twice.
constexpr int MAX_COMPARISONS = 8;

} // namespace

std::vector<size_t> FirstWithSameSurfaces(std::span<const uint8_t* const> grids,
                                          const COLOUR_KEYS& keys) {
    const size_t n = grids.size();
    std::vector<size_t> first(n);
    for (size_t i = 0; i < n; ++i)
        first[i] = i;
    if (n < 2)
        return first;
    std::vector<uint32_t> count(n, 0);
    for (size_t i = 0; i < n; ++i)
        if (grids[i])
            count[i] = FilledCount(grids[i]);
    // Counting is cheap; grids are compared only when their counts agree.
    for (size_t i = 0; i < n; ++i) {
        if (count[i] == 0)
            continue;
        int comparisons = 0;
        for (size_t j = 0; j < i && comparisons < MAX_COMPARISONS; ++j) {
            if (first[j] != j || count[j] != count[i])
                continue;
            ++comparisons;
            if (SameKeys(grids[j], grids[i], keys)) {
                first[i] = j;
                break;
            }
        }
    }
    return first;
}

void MarkBuilt(uint8_t* dots) {
    for (int p = 0; p < GridDots; ++p)
        dots[p] = static_cast<uint8_t>((dots[p] & 0x7F) | ((dots[p] & DotIndexMask) ? 0x80 : 0));
}
