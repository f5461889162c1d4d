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

bool SameVertex(const VERTEX_KEY& a, const VERTEX_KEY& b) {
    return a.position[0] == b.position[0] && a.position[1] == b.position[1] &&
           a.position[2] == b.position[2] && a.normal[0] == b.normal[0] &&
           a.normal[1] == b.normal[1] && a.normal[2] == b.normal[2] && a.uv[0] == b.uv[0] &&
           a.uv[1] == b.uv[1] && a.bone == b.bone;
}

bool SameVertex(const CModelVertex& a, const VERTEX_KEY& b) {
    return a.position.x == b.position[0] && a.position.y == b.position[1] &&
           a.position.z == b.position[2] && a.normal.x == b.normal[0] &&
           a.normal.y == b.normal[1] && a.normal.z == b.normal[2] && a.uv.x == b.uv[0] &&
           a.uv.y == b.uv[1] && a.bone0 == b.bone;
}

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

void CVertexTable::Reserve(size_t count) {
    if (slots_.size() * 3 < count * 4)
        Resize(count);
}

void CVertexTable::Resize(size_t count) {
    size_t size = 1024;
    while (size * 3 < count * 4)
        size *= 2;
    std::vector<SLOT> old = std::move(slots_);
    slots_.assign(size, SLOT{0, 0});
    const size_t mask = size - 1;
    for (const SLOT& slot : old) {
        if (!slot.entry)
            continue;
        size_t i = slot.tag & mask;
        while (slots_[i].entry)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

CVertexTable::RESULT CVertexTable::FindOrAdd(const VERTEX_KEY& key, uint32_t tag,
                                             std::span<const CModelVertex> vertices) {
    const auto next = static_cast<uint32_t>(vertices.size());
    if (HasNan(key))
        return {next, true};
    if ((size_ + 1) * 4 > slots_.size() * 3)
        Resize(std::max<size_t>(size_ * 2, 512));
    const size_t mask = slots_.size() - 1;
    size_t i = tag & mask;
    for (; slots_[i].entry; i = (i + 1) & mask)
        if (slots_[i].tag == tag && SameVertex(vertices[slots_[i].entry - 1], key))
            return {slots_[i].entry - 1, false};
    slots_[i] = {tag, next + 1};
    ++size_;
    return {next, true};
}
