#pragma once
// Vertex sharing for the model generator: finds the first model vertex equal
// to a new corner in constant time instead of searching all vertices.

#include <array>
#include <cstddef>
#include <cstdint>
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

// Maps vertex keys to the index of the first vertex that had that key. It
// gives the same answer as searching all vertices in order for the first
// equal one, as long as every vertex is offered to FindOrAdd when it is
// created and vertices do not change while the table is in use.
class CVertexTable {
public:
    struct RESULT {
        uint32_t index;
        bool created;
    };

    // Expects about count vertices (a hint; the table grows as needed).
    void Reserve(size_t count);

    // The index of the first vertex equal to key; otherwise the key is
    // entered as vertex nextIndex (unless it holds a NaN, which matches
    // nothing) and nextIndex is returned with created set.
    RESULT FindOrAdd(const VERTEX_KEY& key, uint32_t nextIndex);

    // Number of keys entered.
    size_t Size() const { return entries_.size(); }

private:
    // Slots are small so the table stays in cache: 32 bits of the key's
    // hash, and 1 + the position of the entry in entries_ (0: free).
    struct SLOT {
        uint32_t tag;
        uint32_t entry;
    };
    struct ENTRY {
        VERTEX_KEY key;
        uint32_t index;
    };

    static uint64_t Hash(const VERTEX_KEY& key);
    // Makes room for at least count entries at half load.
    void Resize(size_t count);

    std::vector<SLOT> slots_;
    std::vector<ENTRY> entries_;
};
