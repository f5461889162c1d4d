#include "generator/VertexTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Bits of a float for hashing. Adding +0.0 turns −0.0 into +0.0 and leaves
// every other value as it is, so values that compare equal hash alike.
uint64_t HashBits(float value) { return std::bit_cast<uint32_t>(value + 0.0f); }

// Two floats as one 64-bit word.
uint64_t Pair(float high, float low) { return HashBits(high) << 32 | HashBits(low); }

// One step of a multiply-xorshift hash over 64-bit words.
uint64_t Mix(uint64_t h, uint64_t v) {
    h = (h ^ v) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

bool HasNan(const VERTEX_KEY& key) {
    for (float f : key.position)
        if (std::isnan(f))
            return true;
    for (float f : key.normal)
        if (std::isnan(f))
            return true;
    return std::isnan(key.uv[0]) || std::isnan(key.uv[1]);
}

} // namespace

uint32_t CVertexTable::Tag(const VERTEX_KEY& key) {
    // The key's nine 32-bit words hashed as five 64-bit words: five rounds
    // of the chain instead of nine. Each round folds down by 29 bits, not
    // 32: with 32, corners on a lattice gave equal tags a hundred times as
    // often as random keys would.
    uint64_t h = 0;
    h = Mix(h, Pair(key.position[0], key.position[1]));
    h = Mix(h, Pair(key.position[2], key.normal[0]));
    h = Mix(h, Pair(key.normal[1], key.normal[2]));
    h = Mix(h, Pair(key.uv[0], key.uv[1]));
    h = Mix(h, static_cast<uint32_t>(key.bone));
    return static_cast<uint32_t>(((h ^ (h >> 32)) * 0xBF58476D1CE4E5B9ull) >> 32);
}

template <>
struct CVertexTable::LAYOUT<uint32_t> {
    static constexpr int ENTRY_BITS = 19;
};
template <>
struct CVertexTable::LAYOUT<uint64_t> {
    static constexpr int ENTRY_BITS = 32;
};

namespace {

template <class WORD>
constexpr WORD EntryMask(int bits) {
    return (WORD(1) << bits) - 1;
}

// The key a model vertex was entered with.
VERTEX_KEY KeyOf(const CModelVertex& v) {
    return {{v.position.x, v.position.y, v.position.z},
            {v.normal.x, v.normal.y, v.normal.z},
            {v.uv.x, v.uv.y},
            v.bone0};
}

} // namespace

size_t CVertexTable::SlotCount(size_t count) {
    size_t size = 1024;
    while (size * 3 < count * 4)
        size *= 2;
    return size;
}

void CVertexTable::Reserve(size_t count) {
    if (size_ != 0)
        return;
    const size_t size = SlotCount(count);
    if (!wide_.empty()) {
        if (wide_.size() < size)
            wide_.assign(size, 0);
    } else if (narrow_.size() < size) {
        narrow_.assign(size, 0);
    }
}

template <class WORD, class FROM>
void CVertexTable::Rehash(std::vector<WORD>& slots, size_t size, const std::vector<FROM>& from,
                          std::span<const CModelVertex> vertices) {
    constexpr int bits = LAYOUT<WORD>::ENTRY_BITS;
    constexpr WORD entryMask = EntryMask<WORD>(bits);
    constexpr FROM fromMask = EntryMask<FROM>(LAYOUT<FROM>::ENTRY_BITS);
    std::vector<WORD> table(size, 0);
    const size_t mask = size - 1;
    for (const FROM word : from) {
        const auto entry = static_cast<WORD>(word & fromMask);
        if (!entry)
            continue;
        const uint32_t tag = Tag(KeyOf(vertices[static_cast<size_t>(entry) - 1]));
        size_t i = tag & mask;
        while (table[i])
            i = (i + 1) & mask;
        table[i] = static_cast<WORD>(WORD(tag >> (32 - (sizeof(WORD) * 8 - bits))) << bits) |
                   (entry & entryMask);
    }
    slots = std::move(table);
}

template <class WORD>
CVertexTable::RESULT CVertexTable::FindOrAddIn(std::vector<WORD>& slots, const VERTEX_KEY& key,
                                               uint32_t tag,
                                               std::span<const CModelVertex> vertices) {
    constexpr int bits = LAYOUT<WORD>::ENTRY_BITS;
    constexpr WORD entryMask = EntryMask<WORD>(bits);
    const auto next = static_cast<uint32_t>(vertices.size());
    const size_t mask = slots.size() - 1;
    // The tag's high bits, where the slot keeps them.
    const WORD high = static_cast<WORD>(WORD(tag >> (32 - (sizeof(WORD) * 8 - bits))) << bits);
    size_t i = tag & mask;
    for (WORD word; (word = slots[i]) != 0; i = (i + 1) & mask)
        if ((word & ~entryMask) == high &&
            SameVertex(vertices[static_cast<size_t>(word & entryMask) - 1], key))
            return {static_cast<uint32_t>((word & entryMask) - 1), false};
    slots[i] = high | static_cast<WORD>(next + 1);
    ++size_;
    return {next, true};
}

CVertexTable::RESULT CVertexTable::FindOrAdd(const VERTEX_KEY& key, uint32_t tag,
                                             std::span<const CModelVertex> vertices) {
    if (HasNan(key))
        return {static_cast<uint32_t>(vertices.size()), true};
    constexpr size_t narrowEntries = EntryMask<size_t>(LAYOUT<uint32_t>::ENTRY_BITS);
    if (wide_.empty() && vertices.size() + 1 > narrowEntries) {
        // An index that does not fit a 32-bit slot: move to wide ones.
        Rehash(wide_, SlotCount(std::max<size_t>(size_ + 1, narrow_.size() * 3 / 4)), narrow_,
               vertices);
        narrow_ = {};
    }
    const size_t slotCount = wide_.empty() ? narrow_.size() : wide_.size();
    if ((size_ + 1) * 4 > slotCount * 3) {
        const size_t size = SlotCount(std::max<size_t>(size_ * 2, 512));
        if (wide_.empty())
            Rehash(narrow_, size, narrow_, vertices);
        else
            Rehash(wide_, size, wide_, vertices);
    }
    return wide_.empty() ? FindOrAddIn(narrow_, key, tag, vertices)
                         : FindOrAddIn(wide_, key, tag, vertices);
}
