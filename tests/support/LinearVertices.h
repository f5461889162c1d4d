#pragma once
// Vertex sharing the literal way, for comparison with CVertexTable: search
// all vertices in order for the first equal one.

#include "generator/VertexTable.h"

#include <cstdint>
#include <vector>

// The index of the first vertex equal to key; appends key when there is none.
inline uint32_t FindOrAddLinearly(std::vector<VERTEX_KEY>& vertices, const VERTEX_KEY& key) {
    for (size_t i = 0; i < vertices.size(); ++i)
        if (SameVertex(vertices[i], key))
            return static_cast<uint32_t>(i);
    vertices.push_back(key);
    return static_cast<uint32_t>(vertices.size() - 1);
}
