#pragma once
// Vertex sharing for the model generator: finds the first model vertex equal
// to a new corner in constant time instead of searching all vertices.

#include "generator/PMDModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Everything that decides whether two corners are the same model vertex.
struct VERTEX_KEY {
    std::array<float, 3> position;
    std::array<float, 3> normal;
    std::array<float, 2> uv;
    int32_t bone;
};

// Exact equality of every float (so −0.0 equals 0.0 and NaN equals nothing,
// not even itself) and of the bone.
inline bool SameVertex(const VERTEX_KEY& a, const VERTEX_KEY& b) {
    return a.position[0] == b.position[0] && a.position[1] == b.position[1] &&
           a.position[2] == b.position[2] && a.normal[0] == b.normal[0] &&
           a.normal[1] == b.normal[1] && a.normal[2] == b.normal[2] && a.uv[0] == b.uv[0] &&
           a.uv[1] == b.uv[1] && a.bone == b.bone;
}
// The same comparison against a model vertex's position, normal, uv and
// first bone. Inline: the generator makes it for every corner of every face.
inline bool SameVertex(const CModelVertex& a, const VERTEX_KEY& b) {
    return a.position.x == b.position[0] && a.position.y == b.position[1] &&
           a.position.z == b.position[2] && a.normal.x == b.normal[0] &&
           a.normal.y == b.normal[1] && a.normal.z == b.normal[2] && a.uv.x == b.uv[0] &&
           a.uv.y == b.uv[1] && a.bone0 == b.bone;
}

// Maps vertex keys to the index of the first model vertex that had that key.
// It gives the same answer as searching all vertices in order for the first
// equal one, as long as every vertex is offered to FindOrAdd when it is
// created and vertices do not change while the table is in use. The table
// keeps no copy of the vertices: it holds their indices and compares against
// the vertices themselves, which the caller passes in on every call.
class CVertexTable {
public:
    struct RESULT {
        uint32_t index;
        bool created;
    };

    // Expects about count vertices (a hint; the table grows as needed).
    // Only before the first FindOrAdd.
    void Reserve(size_t count);

    // The index of the first vertex of vertices equal to key; otherwise
    // vertices.size(), with created set, and the caller appends a vertex
    // equal to key there (a key that holds a NaN matches nothing and is not
    // entered). vertices must be the same list on every call, grown only by
    // those appends.
    RESULT FindOrAdd(const VERTEX_KEY& key, std::span<const CModelVertex> vertices) {
        return FindOrAdd(key, Tag(key), vertices);
    }
    // The same with the key's tag computed beforehand (tag must be Tag(key)).
    RESULT FindOrAdd(const VERTEX_KEY& key, uint32_t tag, std::span<const CModelVertex> vertices);

    // The key's hash: equal keys (signed zeros alike) have equal tags.
    static uint32_t Tag(const VERTEX_KEY& key);

    // Asks for the slot where the search for a key of this tag starts to be
    // brought into the cache, so that the searches for several keys overlap
    // their waits for memory. Changes nothing.
    void Prefetch(uint32_t tag) const {
        if (!narrow_.empty())
            __builtin_prefetch(&narrow_[tag & (narrow_.size() - 1)]);
        else if (!wide_.empty())
            __builtin_prefetch(&wide_[tag & (wide_.size() - 1)]);
    }

    // Number of keys entered.
    size_t Size() const { return size_; }

    // Bytes the slots take: four a slot while every index is below 2^19 - 1,
    // eight after that.
    size_t SlotBytes() const {
        return narrow_.size() * sizeof(uint32_t) + wide_.size() * sizeof(uint64_t);
    }

private:
    // A slot is one word: 1 + the vertex index in its low bits (0: free),
    // and above them as many high bits of the key's tag as fit, so that most
    // slots of other keys are passed over without a look at their vertices.
    // Slots are 32 bits (19 for the entry) while every index fits: a
    // 65,536-vertex model's table is then 512 KB and stays in the core's
    // second-level cache next to the vertices being written, where 8-byte
    // slots were pushed out and cost a memory wait on most searches. Past
    // that the table moves to 64-bit slots (32 bits each).
    template <class WORD>
    struct LAYOUT;

    template <class WORD>
    RESULT FindOrAddIn(std::vector<WORD>& slots, const VERTEX_KEY& key, uint32_t tag,
                       std::span<const CModelVertex> vertices);
    // Makes slots a table of size slots holding the entries of from (either
    // width); the tags are computed again from the vertices.
    template <class WORD, class FROM>
    static void Rehash(std::vector<WORD>& slots, size_t size, const std::vector<FROM>& from,
                       std::span<const CModelVertex> vertices);
    // The number of slots for count entries at three-quarters load at most.
    static size_t SlotCount(size_t count);

    std::vector<uint32_t> narrow_;
    std::vector<uint64_t> wide_; // in use once not empty; narrow_ is then empty
    size_t size_ = 0;
};
