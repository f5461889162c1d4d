#include "generator/SurfaceReuse.h"

#include "document/Grid.h"

#include <cstring>
#include <utility>

namespace {

// What a comparison needs to know of a grid beforehand: its non-empty dots
// and whether all its words of eight dots have the same indices (one
// colour throughout, or empty), when its first word stands for the grid.
struct SUMMARY {
    uint32_t filled = 0;
    bool uniform = false;
};

// Eight dots a word: each lane of the sum counts the non-empty dots of its
// byte position over at most 128 words (1 024 dots), then the lanes are
// added up.
SUMMARY Summarise(const uint8_t* dots) {
    constexpr uint64_t LOW_BYTES = 0x00FF00FF00FF00FFull;
    const uint64_t first = IndexBitsOfEight(dots, 0);
    uint64_t differs = 0;
    SUMMARY summary;
    for (int slice = 0; slice < GridDots; slice += GridArea) {
        uint64_t lanes = 0;
        for (int p = slice; p < slice + GridArea; p += 8) {
            const uint64_t word = IndexBitsOfEight(dots, p);
            lanes += NonEmptyBitsOfEight(word) >> 7;
            differs |= word ^ first;
        }
        const uint64_t pairs = (lanes & LOW_BYTES) + (lanes >> 8 & LOW_BYTES);
        summary.filled += static_cast<uint32_t>((pairs * 0x0001000100010001ull) >> 48);
    }
    summary.uniform = differs == 0;
    return summary;
}

// The palette index of dot k (0..7) of a word of index bits.
constexpr int IndexIn(uint64_t word, int k) { return static_cast<int>(word >> (8 * k) & 0x1F); }

// Eight dots at a time: where the palette indices are the same the keys
// are too, and only a word that differs is looked up dot by dot, unless
// it repeats the pair of words just found to agree (a run of two colours).
bool SameKeys(const uint8_t* a, const uint8_t* b, const COLOUR_KEYS& keys, int dots) {
    uint64_t lastX = 0, lastY = 0;
    for (int p = 0; p < dots; p += 8) {
        const uint64_t x = IndexBitsOfEight(a, p);
        const uint64_t y = IndexBitsOfEight(b, p);
        if (x == y || (x == lastX && y == lastY))
            continue;
        for (int k = 0; k < 8; ++k)
            if (keys[IndexIn(x, k)] != keys[IndexIn(y, k)])
                return false;
        lastX = x;
        lastY = y;
    }
    return true;
}

// Whether b is a with its colour keys renamed one for one (the empty key 0
// staying 0); map then takes each key of a to the key of b at the same
// dots, and keys a does not use to themselves. A pair of words equal to the
// pair before adds nothing to the renaming and is passed over.
bool SameKeysRenamed(const uint8_t* a, const uint8_t* b, const COLOUR_KEYS& keys, int dots,
                     COLOUR_KEYS& map) {
    constexpr uint8_t UNMET = 0xFF;
    COLOUR_KEYS forward, backward;
    forward.fill(UNMET);
    backward.fill(UNMET);
    forward[0] = backward[0] = 0;
    uint64_t lastX = 0, lastY = 0; // empty in both: the empty key stays itself
    for (int p = 0; p < dots; p += 8) {
        const uint64_t x = IndexBitsOfEight(a, p);
        const uint64_t y = IndexBitsOfEight(b, p);
        if ((x == lastX && y == lastY) || (x | y) == 0)
            continue;
        for (int k = 0; k < 8; ++k) {
            const uint8_t ka = keys[IndexIn(x, k)];
            const uint8_t kb = keys[IndexIn(y, k)];
            if (forward[ka] == kb)
                continue;
            if (forward[ka] != UNMET || backward[kb] != UNMET)
                return false;
            forward[ka] = kb;
            backward[kb] = ka;
        }
        lastX = x;
        lastY = y;
    }
    for (size_t k = 0; k < map.size(); ++k)
        map[k] = forward[k] == UNMET ? static_cast<uint8_t>(k) : forward[k];
    return true;
}

COLOUR_KEYS Identity() {
    COLOUR_KEYS map{};
    for (size_t k = 0; k < map.size(); ++k)
        map[k] = static_cast<uint8_t>(k);
    return map;
}

// How many earlier grids of the same dot count one grid is compared with at
// most, so that many parts of one size cannot make the search quadratic.
// Missing a match only means building the same blocks twice.
constexpr int MAX_COMPARISONS = 8;

} // namespace

std::vector<SURFACE_SOURCE> SurfaceSources(std::span<const uint8_t* const> grids,
                                           const COLOUR_KEYS& keys) {
    const size_t n = grids.size();
    std::vector<SURFACE_SOURCE> sources(n);
    for (size_t i = 0; i < n; ++i)
        sources[i] = {i, Identity()};
    if (n < 2)
        return sources;
    std::vector<SUMMARY> summary(n);
    for (size_t i = 0; i < n; ++i)
        if (grids[i])
            summary[i] = Summarise(grids[i]);
    // Summing up is cheap; grids are compared only when their counts agree,
    // first for the same keys (eight dots at a time), then for renamed ones.
    // Two grids each of one word repeated compare in that word.
    for (size_t i = 0; i < n; ++i) {
        if (summary[i].filled == 0)
            continue;
        int comparisons = 0;
        for (size_t j = 0; j < i && comparisons < MAX_COMPARISONS; ++j) {
            if (sources[j].first != j || summary[j].filled != summary[i].filled)
                continue;
            ++comparisons;
            const int dots = summary[i].uniform && summary[j].uniform ? 8 : GridDots;
            COLOUR_KEYS map;
            if (SameKeys(grids[j], grids[i], keys, dots)) {
                sources[i].first = j;
                break;
            }
            if (SameKeysRenamed(grids[j], grids[i], keys, dots, map)) {
                sources[i] = {j, map};
                break;
            }
        }
    }
    return sources;
}

CBlockList CopySurfaces(const CBlockList& blocks, const SURFACE_SOURCE& source,
                        const CBlock::COLOUR_TABLE& colours, const COLOUR_KEYS& keys) {
    // Each key stands for one colour object (the first palette index that
    // has it), so the renaming is one of colour objects too.
    std::vector<std::pair<const CDotColor*, const CDotColor*>> renamed;
    for (size_t k = 1; k < keys.size(); ++k)
        if (keys[k] == k && source.keyMap[k] != k)
            renamed.emplace_back(colours[k], colours[source.keyMap[k]]);
    if (renamed.empty())
        return blocks;
    CBlockList copy;
    copy.reserve(blocks.size());
    for (const CBlock& block : blocks) {
        const auto faces = block.GetAllSurfaces();
        std::vector<CBlock::CSurface> surfaces(faces.begin(), faces.end());
        for (CBlock::CSurface& face : surfaces)
            for (const auto& [from, to] : renamed)
                if (face.colour == from) {
                    face.colour = to;
                    break;
                }
        copy.emplace_back(block.GetDotCount(), std::move(surfaces));
    }
    return copy;
}
