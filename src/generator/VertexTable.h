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
bool SameVertex(const VERTEX_KEY& a, const VERTEX_KEY& b);
// The same comparison against a model vertex's position, normal, uv and
// first bone.
bool SameVertex(const CModelVertex& a, const VERTEX_KEY& b);

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
        if (!slots_.empty())
            __builtin_prefetch(&slots_[tag & (slots_.size() - 1)]);
    }

    // Number of keys entered.
    size_t Size() const { return size_; }

private:
    // Slots are small so the table stays in cache: the high 32 bits of the
    // key's hash, which also place the slot, and 1 + the vertex index
    // (0: free).
    struct SLOT {
        uint32_t tag;
        uint32_t entry;
    };

    // Makes room for at least count entries at three-quarters load.
    void Resize(size_t count);

    std::vector<SLOT> slots_;
    size_t size_ = 0;
};
