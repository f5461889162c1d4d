#include "generator/VertexTable.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Bits of a float for hashing: −0.0 hashes like 0.0 because they compare
// equal.
uint32_t HashBits(float value) { return value == 0.0f ? 0u : std::bit_cast<uint32_t>(value); }

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

bool SameVertex(const CModelVertex& a, const VERTEX_KEY& b) {
    return a.position.x == b.position[0] && a.position.y == b.position[1] &&
           a.position.z == b.position[2] && a.normal.x == b.normal[0] &&
           a.normal.y == b.normal[1] && a.normal.z == b.normal[2] && a.uv.x == b.uv[0] &&
           a.uv.y == b.uv[1] && a.bone0 == b.bone;
}

uint32_t CVertexTable::Tag(const VERTEX_KEY& key) {
    uint64_t h = 0;
    for (float f : key.position)
        h = Mix(h, HashBits(f));
    for (float f : key.normal)
        h = Mix(h, HashBits(f));
    h = Mix(h, HashBits(key.uv[0]));
    h = Mix(h, HashBits(key.uv[1]));
    h = Mix(h, static_cast<uint32_t>(key.bone));
    return static_cast<uint32_t>(((h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull) >> 32);
}

void CVertexTable::Reserve(size_t count) {
    if (slots_.size() < count * 2)
        Resize(count);
}

void CVertexTable::Resize(size_t count) {
    size_t size = 1024;
    while (size < count * 2)
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

CVertexTable::RESULT CVertexTable::FindOrAdd(const VERTEX_KEY& key,
                                             std::span<const CModelVertex> vertices) {
    const auto next = static_cast<uint32_t>(vertices.size());
    if (HasNan(key))
        return {next, true};
    if ((size_ + 1) * 2 > slots_.size())
        Resize(std::max<size_t>(size_ * 2, 512));
    const size_t mask = slots_.size() - 1;
    const uint32_t tag = Tag(key);
    size_t i = tag & mask;
    for (; slots_[i].entry; i = (i + 1) & mask)
        if (slots_[i].tag == tag && SameVertex(vertices[slots_[i].entry - 1], key))
            return {slots_[i].entry - 1, false};
    slots_[i] = {tag, next + 1};
    ++size_;
    return {next, true};
}
