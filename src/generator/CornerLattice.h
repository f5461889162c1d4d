#pragma once
// Vertex sharing within one part by where the corners lie on the part's grid
// instead of by hashing their numbers.
//
// Every corner of a part's faces is a point of the 33 x 33 x 33 lattice of
// dot corners, and its position is worked out from that point alone. When
// the part's bone moves no other part, two of its vertices can only be equal
// if their positions are, and (CornersStayApart) two lattice points never
// round to the same position; their normals then tell the face directions
// apart. So a vertex equal to a new corner can only have been made at the
// same lattice point, for a face of the same direction, in the same part:
// a list per lattice point holds those, and the search looks at them alone.
// The answer is the same as the linear search's, since the model never
// holds two equal vertices.

#include "generator/ModelGeometry.h"
#include "generator/PMDModel.h"
#include "generator/VertexTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Whether distinct lattice points of a part (corner dots 0..32 on each axis)
// always land on distinct positions: the dots are large enough against the
// size of the numbers involved that rounding can never bring two corners
// together, the rotation keeps distances, and a face's normal cannot
// underflow. joint is the part's joint point in half-cells, offset its
// position in model space.
bool CornersStayApart(float dotEdge, const std::array<int, 3>& joint,
                      const ROTATION_MATRIX& rotation, const VEC3& offset);

class CCornerLattice {
public:
    // The number of lattice points along an axis.
    static constexpr int SIDE = 33;
    // Below this many faces in all, the parts share vertices through the
    // vertex table: clearing the lattice's 144 KB would cost more than the
    // hashing it saves.
    static constexpr size_t MIN_FACES = 1024;

    // The lattice point of a corner given in dot units (each 0..32).
    static uint32_t Point(const std::array<int, 3>& dots) {
        return static_cast<uint32_t>((dots[2] * SIDE + dots[1]) * SIDE + dots[0]);
    }

    // The most vertices a lattice can be reserved for: a list head keeps the
    // directions of its point in the top six of 32 bits.
    static constexpr size_t MAX_CAPACITY = (size_t(1) << 26) - 1;

    // Prepares for a model of at most capacity (up to MAX_CAPACITY)
    // vertices.
    void Reserve(size_t capacity);
    // Starts a part whose vertices begin at index first: the vertices before
    // it are never looked at.
    void StartPart(size_t first) { first_ = static_cast<uint32_t>(first); }

    // The index of the vertex of this part equal to key, which lies at
    // lattice point point on a face of the given direction; otherwise
    // vertices.size(), with created set, and the caller appends a vertex
    // equal to key there. vertices must be the model's vertices, grown only
    // by those appends, and fewer than the capacity. Inline: every corner of
    // a large part comes through here.
    CVertexTable::RESULT FindOrAdd(uint32_t point, int direction, const VERTEX_KEY& key,
                                   std::span<const CModelVertex> vertices) {
        uint32_t& head = heads_[point];
        const auto tag = static_cast<uint32_t>(direction) << DIRECTION_SHIFT;
        const uint32_t seen = 1u << (SEEN_SHIFT + direction);
        // The list and the directions it holds, when it is this part's.
        const uint32_t latest = head & LATEST_MASK;
        const uint32_t part = latest > first_ ? head : 0;
        // Most corners are new: a point without a vertex of this direction
        // is not searched at all.
        if (part & seen) {
            // Entries only get older along a list; one before the part ends
            // it.
            for (uint32_t entry = latest; entry > first_;) {
                const uint32_t link = links_[entry - 1];
                if ((link & ~ENTRY_MASK) == tag && SameVertex(vertices[entry - 1], key))
                    return {entry - 1, false};
                entry = link & ENTRY_MASK;
            }
        }
        const auto index = static_cast<uint32_t>(vertices.size());
        if (index >= capacity_)
            Overflow();
        links_[index] = tag | (part & LATEST_MASK);
        head = (part & ~LATEST_MASK) | seen | (index + 1);
        return {index, true};
    }

    // Asks for the list head of a lattice point to be brought into the cache.
    void Prefetch(uint32_t point) const { __builtin_prefetch(&heads_[point]); }

private:
    [[noreturn]] static void Overflow();

    static constexpr int DIRECTION_SHIFT = 29;
    static constexpr uint32_t ENTRY_MASK = (1u << DIRECTION_SHIFT) - 1;
    static constexpr int SEEN_SHIFT = 26;
    static constexpr uint32_t LATEST_MASK = (1u << SEEN_SHIFT) - 1;

    // heads_[point]: below bit 26, 1 + the latest vertex made at the point
    // (0: none; one of an earlier part counts as none, with all the rest of
    // the word); above it, bit 26 + d set when the list holds a vertex of a
    // face of direction d. links_[v]: v's face direction in the top three
    // bits, below them 1 + the vertex made before v at v's point; set only
    // for vertices made through the lattice. One word each, so that a step
    // along a list reads one place.
    std::vector<uint32_t> heads_;
    std::unique_ptr<uint32_t[]> links_;
    size_t capacity_ = 0;
    uint32_t first_ = 0;
};
