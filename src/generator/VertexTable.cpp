#include "generator/VertexTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Bits of a float for hashing: −0.0 hashes like 0.0 because they compare
// equal.
uint32_t HashBits(float value) {
    return value == 0.0f ? 0u : std::bit_cast<uint32_t>(value);
}

// One step of a multiply-xorshift hash over 32-bit words.
uint64_t Mix(uint64_t h, uint32_t v) {
    h = (h ^ v) * 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
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
    uint64_t h = 0;
    for (float f : key.position)
        h = Mix(h, HashBits(f));
    for (float f : key.normal)
        h = Mix(h, HashBits(f));
    h = Mix(h, HashBits(key.uv[0]));
    h = Mix(h, HashBits(key.uv[1]));
    h = Mix(h, static_cast<uint32_t>(key.bone));
    return (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
}

void CVertexTable::Reserve(size_t count) {
    if (slots_.size() < count * 2)
        Resize(count);
    entries_.reserve(count);
}

void CVertexTable::Resize(size_t count) {
    size_t size = 1024;
    while (size < count * 2)
        size *= 2;
    slots_.assign(size, SLOT{0, 0});
    const size_t mask = size - 1;
    for (size_t e = 0; e < entries_.size(); ++e) {
        const uint64_t h = Hash(entries_[e].key);
        size_t i = static_cast<size_t>(h >> 24) & mask;
        while (slots_[i].entry)
            i = (i + 1) & mask;
        slots_[i] = {static_cast<uint32_t>(h), static_cast<uint32_t>(e + 1)};
    }
}

CVertexTable::RESULT CVertexTable::FindOrAdd(const VERTEX_KEY& key, uint32_t nextIndex) {
    if (HasNan(key))
        return {nextIndex, true};
    if ((entries_.size() + 1) * 2 > slots_.size())
        Resize(std::max<size_t>(entries_.size() * 2, 512));
    const size_t mask = slots_.size() - 1;
    const uint64_t h = Hash(key);
    const auto tag = static_cast<uint32_t>(h);
    size_t i = static_cast<size_t>(h >> 24) & mask;
    for (; slots_[i].entry; i = (i + 1) & mask)
        if (slots_[i].tag == tag) {
            const ENTRY& entry = entries_[slots_[i].entry - 1];
            if (SameVertex(entry.key, key))
                return {entry.index, false};
        }
    entries_.push_back({key, nextIndex});
    slots_[i] = {tag, static_cast<uint32_t>(entries_.size())};
    return {nextIndex, true};
}
