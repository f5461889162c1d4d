#include "generator/SurfaceBuilder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
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

// Bit x of lines[z * 32 + y] stands for the dot (x, y, z): a grid of bits
// small enough to stay near at hand, where a dot's neighbours are a shift
// or a line away.
using LINES = std::array<uint32_t, GridArea>;

// The non-empty dots of a grid as lines of bits. Each word's 0x80 marks are
// gathered into one byte by a multiplication that lands bit 8k at bit 56 + k.
LINES FilledLines(const uint8_t* dots) {
    LINES lines;
    for (int line = 0; line < GridArea; ++line) {
        uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) {
            const uint64_t ones =
                NonEmptyBitsOfEight(IndexBitsOfEight(dots, line * SIZE + 8 * k)) >> 7;
            bits |= static_cast<uint32_t>((ones * 0x0102040810204080ull) >> 56) << (8 * k);
        }
        lines[static_cast<size_t>(line)] = bits;
    }
    return lines;
}

// The set bits of a line, without a call into the runtime (the default
// x86-64 target has no instruction for it).
constexpr int BitCount(uint32_t bits) {
    bits -= bits >> 1 & 0x55555555u;
    bits = (bits & 0x33333333u) + (bits >> 2 & 0x33333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0Fu;
    return static_cast<int>((bits * 0x01010101u) >> 24);
}
static_assert(BitCount(0) == 0 && BitCount(0xFFFFFFFFu) == 32 && BitCount(0x80000001u) == 2);

// The fill of all blocks: the dots in fill order and where each block starts.
struct FILL {
    LINES filled;                      // the non-empty dots
    std::unique_ptr<uint16_t[]> order; // fill index of each non-empty dot (others unset)
    std::vector<uint16_t> dots;        // dot index in fill order
    std::vector<int> blockStart;       // first fill index of each block, plus the end
};

// The fill steps n (x - 1, x + 1, y - 1, y + 1, z - 1, z + 1).
constexpr int STEP[6] = {-1, 1, -SIZE, SIZE, -SIZE* SIZE, SIZE* SIZE};

// Lines of bits with a border of empty lines around the y and z ranges, so
// that every line has all four neighbour lines: line (y, z) is at
// (z + 1) * 34 + y + 1.
constexpr int PADDED_SIDE = SIZE + 2;
using PADDED_LINES = std::array<uint32_t, PADDED_SIDE * PADDED_SIDE>;
constexpr size_t PaddedLine(int y, int z) { return size_t(z + 1) * PADDED_SIDE + size_t(y + 1); }

// As bit n, which fill steps lead from dot p to a dot set in lines.
// Shifting the line in zeros covers the ends of the x axis, the border the
// ends of the others.
unsigned Steps(const PADDED_LINES& lines, int p) {
    const int x = X(p);
    const size_t line = PaddedLine(Y(p), Z(p));
    const uint32_t here = lines[line];
    auto at = [&](size_t other) { return lines[other] >> x & 1; };
    return ((here << 1) >> x & 1) | ((here >> 1) >> x & 1) << 1 | at(line - 1) << 2 |
           at(line + 1) << 3 | at(line - PADDED_SIDE) << 4 | at(line + PADDED_SIDE) << 5;
}

// Fills every block depth first with an explicit stack, visiting the dots in
// the order a recursive fill would. The dots not yet visited are kept as
// lines of bits; each stack entry keeps the first step it has not tried, and
// the steps from it on that lead to a dot not yet visited are worked out
// afresh each time the entry comes back to the top.
FILL FillBlocks(const uint8_t* dots) {
    FILL fill;
    fill.filled = FilledLines(dots);
    fill.order.reset(new uint16_t[DOTS]);
    PADDED_LINES open{};
    size_t count = 0;
    for (int z = 0; z < SIZE; ++z)
        for (int y = 0; y < SIZE; ++y) {
            const uint32_t line = fill.filled[static_cast<size_t>(z * SIZE + y)];
            open[PaddedLine(y, z)] = line;
            count += static_cast<size_t>(BitCount(line));
        }
    fill.dots.resize(count);
    // Stack entries: a dot in the low 16 bits, the first step it has not
    // tried above them. The stack never holds more than every dot.
    std::unique_ptr<uint32_t[]> stack(new uint32_t[count]);
    size_t visited = 0;
    size_t depth = 0;
    // Visits p and puts it on the stack with the steps before next tried.
    auto visit = [&](int p, unsigned next) {
        open[PaddedLine(Y(p), Z(p))] &= ~(1u << X(p));
        fill.order[static_cast<size_t>(p)] = static_cast<uint16_t>(visited);
        fill.dots[visited++] = static_cast<uint16_t>(p);
        stack[depth++] = static_cast<uint32_t>(p) | next << 16;
    };
    // A step along x is taken again from the dot it reaches as long as the
    // next dot that way is open: stepping +x, the dot behind is the one just
    // left (visited), and -x is the first step tried. So the whole run of
    // open dots that way is visited at once, each on the stack as having
    // tried that step (for the last one, the steps before are closed too).
    auto fillFrom = [&](int start) {
        visit(start, 0);
        // Once every dot is visited no entry has a step left: the stack is
        // dropped whole (a solid grid's fill goes 32 768 dots deep).
        while (depth > 0 && visited < count) {
            uint32_t& top = stack[depth - 1];
            const int from = static_cast<int>(top & 0xFFFF);
            const unsigned next = top >> 16;
            const unsigned left = Steps(open, from) >> next;
            if (left == 0) {
                --depth;
                continue;
            }
            const unsigned n = next + static_cast<unsigned>(std::countr_zero(left));
            top = static_cast<uint32_t>(from) | (n + 1) << 16;
            const int q = from + STEP[n];
            if (n >= 2) {
                visit(q, 0);
                continue;
            }
            const uint32_t line = open[PaddedLine(Y(q), Z(q))];
            const int run =
                n == 1 ? std::countr_one(line >> X(q)) : std::countl_one(line << (SIZE - 1 - X(q)));
            const int way = n == 1 ? 1 : -1;
            for (int k = 0; k < run; ++k)
                visit(q + k * way, n + 1);
        }
        depth = 0;
    };
    for (int z = 0; z < SIZE; ++z)
        for (int y = 0; y < SIZE; ++y)
            for (uint32_t& line = open[PaddedLine(y, z)]; line != 0;) {
                fill.blockStart.push_back(static_cast<int>(visited));
                fillFrom(Index(std::countr_zero(line), y, z));
            }
    fill.blockStart.push_back(static_cast<int>(fill.dots.size()));
    return fill;
}

// Bit d, for each dot x of a line, set when the neighbour across the face
// of direction d is non-empty: the lines of bits around the line, shifted
// where the neighbour lies along x.
std::array<uint32_t, 6> HiddenLines(const LINES& filled, int y, int z) {
    const int line = z * SIZE + y;
    const uint32_t here = filled[static_cast<size_t>(line)];
    auto at = [&](bool inside, int other) {
        return inside ? filled[static_cast<size_t>(other)] : 0u;
    };
    return {at(z > 0, line - SIZE),
            at(z < SIZE - 1, line + SIZE),
            here << 1,
            here >> 1,
            at(y < SIZE - 1, line + 1),
            at(y > 0, line - 1)};
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
//
// With sealedOut, a dot with a dot on all six sides whose six neighbours all
// have other colour keys gives no run: its box can join no other in any
// pass and is hidden on every side, so it would only be left out of the
// blocks at the end. (A box that would have met it in a later pass finds an
// older face in its place, which the range check turns down.) Inside a solid
// checkerboard that is nearly every dot.
std::vector<BOX> MergeAlongX(const uint8_t* dots, const FILL& fill, const uint8_t* keyOf,
                             bool sealedOut) {
    // At most one run a dot: reserved once, the list is never copied, and
    // the part of it left unused is never touched.
    std::vector<BOX> runs;
    runs.reserve(fill.dots.size());
    for (int z = 0; z < SIZE; ++z)
        for (int y = 0; y < SIZE; ++y) {
            if (fill.filled[static_cast<size_t>(z * SIZE + y)] == 0)
                continue;
            const std::array<uint32_t, 6> hidden = HiddenLines(fill.filled, y, z);
            const uint32_t sealed =
                sealedOut ? hidden[0] & hidden[1] & hidden[2] & hidden[3] & hidden[4] & hidden[5]
                          : 0;
            const uint8_t* line = dots + Index(0, y, z);
            // The keys of a sealed dot's neighbours off the line.
            auto keyAt = [&](int x, int dy, int dz) {
                return keyOf[dots[Index(x, y + dy, z + dz)] & INDEX_MASK];
            };
            const uint16_t* order = fill.order.get() + Index(0, y, z);
            for (int x = 0; x < SIZE; ++x) {
                const uint8_t key = keyOf[line[x] & INDEX_MASK];
                if (key == 0)
                    continue;
                // The run's slot is its lowest, and a direction is hidden
                // for the run when it is for each of its dots.
                const int x0 = x;
                uint16_t first = order[x];
                while (x + 1 < SIZE && keyOf[line[x + 1] & INDEX_MASK] == key)
                    first = std::min(first, order[++x]);
                // A run of one dot differs in key from the dots at x - 1 and
                // x + 1 (a like dot would have joined it).
                if (x == x0 && (sealed >> x & 1) && keyAt(x, -1, 0) != key &&
                    keyAt(x, 1, 0) != key && keyAt(x, 0, -1) != key && keyAt(x, 0, 1) != key)
                    continue;
                const uint32_t cells = ((2u << x) - 1) & ~((1u << x0) - 1);
                auto whole = [&](size_t d) { return (hidden[d] & cells) == cells ? 1u << d : 0u; };
                const unsigned flags =
                    whole(0) | whole(1) | whole(2) | whole(3) | whole(4) | whole(5);
                runs.push_back({uint8_t(x0), uint8_t(x), uint8_t(y), uint8_t(y), uint8_t(z),
                                uint8_t(z), key, static_cast<uint8_t>(flags), first});
            }
        }
    return runs;
}

// Pass along y (touching on y, same x range) or z (touching on z, same x and
// y ranges). The faces come in ascending order of the merge axis, so the one
// a face joins is always complete by the time it is looked up.
std::vector<BOX> MergeAlong(int axis, const std::vector<BOX>& faces) {
    std::vector<BOX> merged;
    merged.reserve(faces.size());
    // Set for each face before any later face reads it.
    std::unique_ptr<int[]> mergedOf(new int[faces.size()]);
    // The latest face whose low corner is at each place on the other axes
    // (x for a pass along y, x and y for one along z), -1 for none. The
    // faces of one layer (line or slice) have distinct low corners and come
    // after those of the layer below, so when a face looks up its place the
    // entry holds the face of the layer below there, if there is one, or an
    // older face, which the check of its range turns down.
    std::array<int, GridArea> latest;
    latest.fill(-1);
    for (size_t i = 0; i < faces.size(); ++i) {
        const BOX& f = faces[i];
        const size_t place = axis == 1 ? f.x0 : static_cast<size_t>(Index(f.x0, f.y0, 0));
        int before = latest[place];
        latest[place] = static_cast<int>(i);
        if (before >= 0) {
            const BOX& b = faces[static_cast<size_t>(before)];
            const bool joins = b.key == f.key && b.x1 == f.x1 &&
                               (axis == 1 ? b.y0 + 1 == f.y0 && b.z0 == f.z0 && b.z1 == f.z1
                                          : b.z0 + 1 == f.z0 && b.y0 == f.y0 && b.y1 == f.y1);
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

CBlockList BuildSurfaces(uint8_t* dots, const CBlock::COLOUR_TABLE& colours, bool visibleOnly,
                         FACE_TALLY* tally) {
    CBlockList blocks;
    if (dots == nullptr)
        return blocks;
    MarkBuilt(dots); // the fill visits every non-empty dot
    const FILL fill = FillBlocks(dots);
    if (fill.dots.empty())
        return blocks;

    const COLOUR_KEYS keyOf = ColourKeys(colours);
    const std::vector<BOX> boxes =
        MergeAlong(2, MergeAlong(1, MergeAlongX(dots, fill, keyOf.data(), visibleOnly)));

    // Each box keeps the slot of its earliest dot, and no two boxes share
    // one. The slots that have a box are also kept as bits, so a block's
    // boxes are found without a look at every slot.
    std::unique_ptr<int[]> boxAt(new int[fill.dots.size()]);
    std::vector<uint64_t> hasBox((fill.dots.size() + 63) / 64);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const uint16_t first = boxes[i].first;
        boxAt[first] = static_cast<int>(i);
        hasBox[first >> 6] |= 1ull << (first & 63);
    }

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
        for (int word = begin >> 6; word <= (end - 1) >> 6; ++word) {
            uint64_t slots = hasBox[static_cast<size_t>(word)];
            if (word == begin >> 6)
                slots &= ~0ull << (begin & 63);
            if (word == (end - 1) >> 6)
                slots &= ~0ull >> (63 - ((end - 1) & 63));
            for (; slots != 0; slots &= slots - 1) {
                const int i = boxAt[static_cast<size_t>(word * 64 + std::countr_zero(slots))];
                const int shown =
                    visibleOnly ? VISIBLE_COUNT[boxes[i].hidden & 0x3F] : CBlock::DIRECTION_COUNT;
                if (shown == 0)
                    continue;
                inBlock.push_back(i);
                count += static_cast<size_t>(shown);
            }
        }
        std::vector<CBlock::CSurface> surfaces;
        surfaces.reserve(count);
        for (int d = 0; d < CBlock::DIRECTION_COUNT; ++d)
            for (int i : inBlock) {
                const BOX& box = boxes[i];
                if (visibleOnly && (box.hidden >> d & 1))
                    continue;
                // Filled in where it lies: a face built aside and then
                // copied is read back before its stores have landed.
                CBlock::CSurface& s = surfaces.emplace_back();
                s.direction = d;
                s.x0 = box.x0, s.x1 = box.x1;
                s.y0 = box.y0, s.y1 = box.y1;
                s.z0 = box.z0, s.z1 = box.z1;
                s.colour = colours[dots[fill.dots[box.first]] & INDEX_MASK];
                s.hidden = (box.hidden >> d) & 1;
                s.slot = box.first - begin;
                if (tally && !s.hidden) {
                    ++tally->faces[box.key];
                    if (box.key == tally->rowKey)
                        tally->rows += static_cast<uint64_t>(CBlock::GetTextureSize(s)[1]);
                }
            }
        blocks.emplace_back(end - begin, std::move(surfaces));
    }
    return blocks;
}

void MarkBuilt(uint8_t* dots) {
    for (int p = 0; p < DOTS; p += 8) {
        uint64_t word;
        std::memcpy(&word, dots + p, sizeof word);
        word = (word & 0x7F7F7F7F7F7F7F7Full) | NonEmptyBitsOfEight(IndexBitsOfEight(dots, p));
        std::memcpy(dots + p, &word, sizeof word);
    }
}
