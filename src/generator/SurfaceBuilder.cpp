#include "generator/SurfaceBuilder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "document/Grid.h"

// Why the merge can be done on the grid instead of face against face:
//
// Every direction's array starts with one unit face per dot of the block, all
// with the same colours, and the merge test looks only at colours and ranges,
// never at the direction. So the six arrays merge into the same rectangles in
// the same slots; only the hidden flags differ.
//
// A pass along axis A joins faces with the same colour object and the same
// ranges on the other two axes whose ranges on A touch. Such faces never
// overlap, so each one ends up in exactly one maximal chain of touching
// faces. The first face of a chain in slot order is still whole when its turn
// comes (nothing outside its chain can reach it) and it keeps absorbing until
// it covers the whole chain. So a pass leaves one face per chain, in the
// chain's lowest slot, with the union of the ranges and hidden only when every
// member was hidden. Dots that touch are in the same block, so the chains can
// be found over the whole grid at once.
//
// A unit face is hidden exactly when the neighbouring dot in its direction is
// non-empty (such a dot is always in the same block).

namespace {

constexpr int SIZE = GridSide;
constexpr int DOTS = GridDots;
constexpr uint8_t INDEX_MASK = DotIndexMask;
constexpr uint8_t VISITED = 0x80;

constexpr int Index(int x, int y, int z) { return GridIndex(x, y, z); }
constexpr int X(int p) { return p & 31; }
constexpr int Y(int p) { return (p >> 5) & 31; }
constexpr int Z(int p) { return p >> 10; }

// A merged face shared by all six directions: its ranges, its colour key, the
// hidden flags of the six directions (bit d) and its slot across the part.
struct BOX {
    uint8_t x0, x1, y0, y1, z0, z1;
    uint8_t key;
    uint8_t hidden;
    uint16_t first;
};

// The fill of all blocks: the dots in fill order and where each block starts.
struct FILL {
    std::vector<uint16_t> order; // fill index of each dot (non-empty dots only)
    std::vector<uint16_t> dots;  // dot index in fill order
    std::vector<int> blockStart; // first fill index of each block, plus the end
};

// The fill steps n (x - 1, x + 1, y - 1, y + 1, z - 1, z + 1) and, as bit n,
// which of them lead from dot p to a non-empty dot inside the grid that is
// not yet visited.
constexpr int STEP[6] = {-1, 1, -SIZE, SIZE, -SIZE* SIZE, SIZE* SIZE};

unsigned OpenNeighbours(const uint8_t* dots, int p) {
    const int x = X(p), y = Y(p), z = Z(p);
    auto filled = [&](bool inside, int n) {
        if (!inside)
            return 0u;
        const uint8_t dot = dots[p + STEP[n]];
        return (dot & INDEX_MASK) && !(dot & VISITED) ? 1u << n : 0u;
    };
    return filled(x > 0, 0) | filled(x < SIZE - 1, 1) | filled(y > 0, 2) | filled(y < SIZE - 1, 3) |
           filled(z > 0, 4) | filled(z < SIZE - 1, 5);
}

bool Unvisited(const uint8_t* dots, int p) {
    return (dots[p] & INDEX_MASK) != 0 && (dots[p] & VISITED) == 0;
}

// Fills every block depth first with an explicit stack, visiting the dots in
// the order a recursive fill would, and marks each visited dot. Each stack
// entry keeps the steps not yet tried that lead to a non-empty dot not yet
// visited when the entry was made (a visited dot stays visited: the others
// would be tried in vain), so only the visit mark is checked when a step's
// turn comes.
FILL FillBlocks(uint8_t* dots) {
    FILL fill;
    fill.order.assign(DOTS, 0);
    std::vector<std::pair<uint16_t, uint8_t>> stack; // dot, steps left
    auto visit = [&](int p) {
        dots[p] |= VISITED;
        fill.order[p] = static_cast<uint16_t>(fill.dots.size());
        fill.dots.push_back(static_cast<uint16_t>(p));
        stack.emplace_back(static_cast<uint16_t>(p), static_cast<uint8_t>(OpenNeighbours(dots, p)));
    };
    for (int word = 0; word < DOTS; word += 8) {
        if (IndexBitsOfEight(dots, word) == 0)
            continue;
        for (int start = word; start < word + 8; ++start) {
            if (!Unvisited(dots, start))
                continue;
            fill.blockStart.push_back(static_cast<int>(fill.dots.size()));
            visit(start);
            while (!stack.empty()) {
                auto& [p, left] = stack.back();
                if (left == 0) {
                    stack.pop_back();
                    continue;
                }
                const int n = std::countr_zero(static_cast<unsigned>(left));
                left = static_cast<uint8_t>(left & (left - 1));
                const int q = p + STEP[n];
                if ((dots[q] & VISITED) == 0)
                    visit(q);
            }
        }
    }
    fill.blockStart.push_back(static_cast<int>(fill.dots.size()));
    return fill;
}

// Bit d set when the neighbour across the face of direction d is non-empty.
uint8_t HiddenFlags(const uint8_t* dots, int p) {
    auto solid = [&](int q) { return q >= 0 && (dots[q] & INDEX_MASK) != 0; };
    const int x = X(p), y = Y(p), z = Z(p);
    uint8_t flags = 0;
    flags |= solid(z > 0 ? p - 1024 : -1) << 0;
    flags |= solid(z < SIZE - 1 ? p + 1024 : -1) << 1;
    flags |= solid(x > 0 ? p - 1 : -1) << 2;
    flags |= solid(x < SIZE - 1 ? p + 1 : -1) << 3;
    flags |= solid(y < SIZE - 1 ? p + 32 : -1) << 4;
    flags |= solid(y > 0 ? p - 32 : -1) << 5;
    return static_cast<uint8_t>(flags);
}

// How many of the six faces of a box with the given hidden flags are shown.
constexpr std::array<uint8_t, 64> VISIBLE_COUNT = [] {
    std::array<uint8_t, 64> count{};
    for (int flags = 0; flags < 64; ++flags)
        for (int d = 0; d < 6; ++d)
            count[static_cast<size_t>(flags)] += (flags >> d & 1) == 0;
    return count;
}();

void Absorb(BOX& into, const BOX& other) {
    into.hidden &= other.hidden;
    into.first = std::min(into.first, other.first);
}

// Pass along x: runs of touching dots of one colour key on each line.
std::vector<BOX> MergeAlongX(const uint8_t* dots, const FILL& fill, const uint8_t* keyOf) {
    std::vector<BOX> runs;
    for (int z = 0; z < SIZE; ++z)
        for (int y = 0; y < SIZE; ++y) {
            const int line = Index(0, y, z);
            if ((IndexBitsOfEight(dots, line) | IndexBitsOfEight(dots, line + 8) |
                 IndexBitsOfEight(dots, line + 16) | IndexBitsOfEight(dots, line + 24)) == 0)
                continue;
            BOX* run = nullptr;
            for (int x = 0; x < SIZE; ++x) {
                const int p = Index(x, y, z);
                const uint8_t key = keyOf[dots[p] & INDEX_MASK];
                if (key == 0) {
                    run = nullptr;
                    continue;
                }
                const BOX unit{uint8_t(x), uint8_t(x),           uint8_t(y),
                               uint8_t(y), uint8_t(z),           uint8_t(z),
                               key,        HiddenFlags(dots, p), fill.order[p]};
                if (run != nullptr && run->key == key) {
                    run->x1 = static_cast<uint8_t>(x);
                    Absorb(*run, unit);
                } else {
                    runs.push_back(unit);
                    run = &runs.back();
                }
            }
        }
    return runs;
}

// Pass along y (touching on y, same x range) or z (touching on z, same x and
// y ranges). The faces come in ascending order of the merge axis, so the one
// a face joins is always complete by the time it is looked up.
std::vector<BOX> MergeAlong(int axis, const std::vector<BOX>& faces) {
    std::vector<BOX> merged;
    std::vector<int> mergedOf(faces.size());
    // The face whose low corner is at a dot, -1 for none. The table is kept
    // by each thread from pass to pass, and only the entries a pass set are
    // put back, so a pass costs its faces, not a fresh table of the grid.
    thread_local std::vector<int> startingAt(DOTS, -1);
    struct RESET {
        const std::vector<BOX>& faces;
        ~RESET() {
            for (const BOX& f : faces)
                startingAt[Index(f.x0, f.y0, f.z0)] = -1;
        }
    } reset{faces};
    for (size_t i = 0; i < faces.size(); ++i)
        startingAt[Index(faces[i].x0, faces[i].y0, faces[i].z0)] = static_cast<int>(i);
    for (size_t i = 0; i < faces.size(); ++i) {
        const BOX& f = faces[i];
        const int low = axis == 1 ? f.y0 : f.z0;
        int before = -1;
        if (low > 0)
            before =
                startingAt[axis == 1 ? Index(f.x0, f.y0 - 1, f.z0) : Index(f.x0, f.y0, f.z0 - 1)];
        if (before >= 0) {
            const BOX& b = faces[before];
            const bool joins =
                b.key == f.key && b.x1 == f.x1 &&
                (axis == 1 ? b.z0 == f.z0 && b.z1 == f.z1 : b.y0 == f.y0 && b.y1 == f.y1);
            if (!joins)
                before = -1;
        }
        if (before < 0) {
            mergedOf[i] = static_cast<int>(merged.size());
            merged.push_back(f);
            continue;
        }
        BOX& into = merged[mergedOf[before]];
        (axis == 1 ? into.y1 : into.z1) = axis == 1 ? f.y1 : f.z1;
        Absorb(into, f);
        mergedOf[i] = mergedOf[before];
    }
    return merged;
}

} // namespace

COLOUR_KEYS ColourKeys(const CBlock::COLOUR_TABLE& colours) {
    COLOUR_KEYS keyOf{};
    for (int i = 1; i < 32; ++i) {
        keyOf[i] = static_cast<uint8_t>(i);
        for (int j = 1; j < i; ++j)
            if (colours[j] == colours[i]) {
                keyOf[i] = static_cast<uint8_t>(j);
                break;
            }
    }
    return keyOf;
}

CBlockList BuildSurfaces(uint8_t* dots, const CBlock::COLOUR_TABLE& colours, bool visibleOnly) {
    CBlockList blocks;
    if (dots == nullptr)
        return blocks;
    for (int p = 0; p < DOTS; p += 8) {
        uint64_t word;
        std::memcpy(&word, dots + p, sizeof word);
        word &= 0x7F7F7F7F7F7F7F7Full;
        std::memcpy(dots + p, &word, sizeof word);
    }
    const FILL fill = FillBlocks(dots);
    if (fill.dots.empty())
        return blocks;

    const COLOUR_KEYS keyOf = ColourKeys(colours);
    const std::vector<BOX> boxes =
        MergeAlong(2, MergeAlong(1, MergeAlongX(dots, fill, keyOf.data())));

    // Each box keeps the slot of its earliest dot, and no two boxes share one.
    std::vector<int> boxAt(fill.dots.size(), -1);
    for (size_t i = 0; i < boxes.size(); ++i)
        boxAt[boxes[i].first] = static_cast<int>(i);

    const size_t blockCount = fill.blockStart.size() - 1;
    blocks.reserve(blockCount);
    std::vector<int> inBlock;
    for (size_t b = 0; b < blockCount; ++b) {
        const int begin = fill.blockStart[b];
        const int end = fill.blockStart[b + 1];
        // With visible faces only, a box hidden on all six sides (most of a
        // solid block) is left out of the list at once.
        inBlock.clear();
        size_t count = 0;
        for (int f = begin; f < end; ++f) {
            const int i = boxAt[f];
            if (i < 0)
                continue;
            const int shown =
                visibleOnly ? VISIBLE_COUNT[boxes[i].hidden & 0x3F] : CBlock::DIRECTION_COUNT;
            if (shown == 0)
                continue;
            inBlock.push_back(i);
            count += static_cast<size_t>(shown);
        }
        std::vector<CBlock::CSurface> surfaces;
        surfaces.reserve(count);
        for (int d = 0; d < CBlock::DIRECTION_COUNT; ++d)
            for (int i : inBlock) {
                const BOX& box = boxes[i];
                if (visibleOnly && (box.hidden >> d & 1))
                    continue;
                CBlock::CSurface s;
                s.direction = d;
                s.x0 = box.x0, s.x1 = box.x1;
                s.y0 = box.y0, s.y1 = box.y1;
                s.z0 = box.z0, s.z1 = box.z1;
                s.colour = colours[dots[fill.dots[box.first]] & INDEX_MASK];
                s.hidden = (box.hidden >> d) & 1;
                s.slot = box.first - begin;
                surfaces.push_back(s);
            }
        blocks.emplace_back(end - begin, std::move(surfaces));
    }
    return blocks;
}
