#include "generator/VertexTable.h"

#include <bit>
#include <cmath>

namespace {

// Bits of a float for hashing: −0.0 hashes like 0.0 because they compare
// equal.
uint32_t HashBits(float value) {
    return value == 0.0f ? 0u : std::bit_cast<uint32_t>(value);
}

uint64_t Mix(uint64_t h, uint32_t v) {
    h ^= v;
    h *= 0x100000001B3ull;
    h ^= h >> 29;
    return h;
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

uint64_t CVertexTable::Hash(const VERTEX_KEY& key) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (float f : key.position)
        h = Mix(h, HashBits(f));
    for (float f : key.normal)
        h = Mix(h, HashBits(f));
    h = Mix(h, HashBits(key.uv[0]));
    h = Mix(h, HashBits(key.uv[1]));
    h = Mix(h, static_cast<uint32_t>(key.bone));
    return h * 0x9E3779B97F4A7C15ull;
}

void CVertexTable::Reserve(size_t count) {
    while (slots_.size() < count * 2)
        Grow();
}

void CVertexTable::Grow() {
    std::vector<SLOT> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, SLOT{});
    const size_t mask = slots_.size() - 1;
    for (const SLOT& slot : old) {
        if (!slot.filled)
            continue;
        size_t i = static_cast<size_t>(Hash(slot.key) >> 20) & mask;
        while (slots_[i].filled)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

CVertexTable::RESULT CVertexTable::FindOrAdd(const VERTEX_KEY& key, uint32_t nextIndex) {
    if (HasNan(key))
        return {nextIndex, true};
    if ((count_ + 1) * 2 > slots_.size())
        Grow();
    const size_t mask = slots_.size() - 1;
    size_t i = static_cast<size_t>(Hash(key) >> 20) & mask;
    while (slots_[i].filled) {
        if (SameVertex(slots_[i].key, key))
            return {slots_[i].index, false};
        i = (i + 1) & mask;
    }
    slots_[i] = SLOT{key, nextIndex, true};
    ++count_;
    return {nextIndex, true};
}
