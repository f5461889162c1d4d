#include "generator/SurfaceReuse.h"

#include "document/Grid.h"

#include <cstring>
#include <utility>

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

// Whether b is a with its colour keys renamed one for one (the empty key 0
// staying 0); map then takes each key of a to the key of b at the same
// dots, and keys a does not use to themselves.
bool SameKeysRenamed(const uint8_t* a, const uint8_t* b, const COLOUR_KEYS& keys,
                     COLOUR_KEYS& map) {
    constexpr uint8_t UNMET = 0xFF;
    COLOUR_KEYS forward, backward;
    forward.fill(UNMET);
    backward.fill(UNMET);
    forward[0] = backward[0] = 0;
    for (int word = 0; word < GridDots; word += 8) {
        if ((IndexBitsOfEight(a, word) | IndexBitsOfEight(b, word)) == 0)
            continue; // empty in both: the empty key stays itself
        for (int p = word; p < word + 8; ++p) {
            const uint8_t ka = keys[a[p] & DotIndexMask];
            const uint8_t kb = keys[b[p] & DotIndexMask];
            if (forward[ka] == kb)
                continue;
            if (forward[ka] != UNMET || backward[kb] != UNMET)
                return false;
            forward[ka] = kb;
            backward[kb] = ka;
        }
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
    std::vector<uint32_t> count(n, 0);
    for (size_t i = 0; i < n; ++i)
        if (grids[i])
            count[i] = FilledCount(grids[i]);
    // Counting is cheap; grids are compared only when their counts agree,
    // first for the same keys (eight dots at a time), then for renamed ones.
    for (size_t i = 0; i < n; ++i) {
        if (count[i] == 0)
            continue;
        int comparisons = 0;
        for (size_t j = 0; j < i && comparisons < MAX_COMPARISONS; ++j) {
            if (sources[j].first != j || count[j] != count[i])
                continue;
            ++comparisons;
            COLOUR_KEYS map;
            if (SameKeys(grids[j], grids[i], keys)) {
                sources[i].first = j;
                break;
            }
            if (SameKeysRenamed(grids[j], grids[i], keys, map)) {
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

void MarkBuilt(uint8_t* dots) {
    for (int p = 0; p < GridDots; ++p)
        dots[p] = static_cast<uint8_t>((dots[p] & 0x7F) | ((dots[p] & DotIndexMask) ? 0x80 : 0));
}
