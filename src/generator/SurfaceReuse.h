#pragma once
// Parts whose grids give the same blocks: surface extraction runs once for
// each such group and its result is copied to the others (a figure's
// matching limbs, parts that differ only in colours drawn from the texture,
// or a part drawn again in other colours, whose copy takes its own).

#include "generator/SurfaceBuilder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Where the blocks of one grid come from.
struct SURFACE_SOURCE {
    // The grid whose blocks to copy; the grid's own index when it is built.
    size_t first;
    // For each colour key of the first grid, the key found at the same dots
    // in this one (the identity for a grid that is built).
    COLOUR_KEYS keyMap;
};

// For each grid of 32 768 dots, the first grid of the list whose dots have
// the same colour keys everywhere up to a renaming of the keys (one key for
// another, the same throughout, and no two for one): BuildSurfaces then
// gives both the same blocks but for the faces' colours. A null grid or one
// without a non-empty dot is always its own.
std::vector<SURFACE_SOURCE> SurfaceSources(std::span<const uint8_t* const> grids,
                                           const COLOUR_KEYS& keys);

// The blocks of source.first's grid as the grid they were found for would
// give them: each face of colour colours[k] takes colours[source.keyMap[k]].
// keys must be ColourKeys(colours).
CBlockList CopySurfaces(const CBlockList& blocks, const SURFACE_SOURCE& source,
                        const CBlock::COLOUR_TABLE& colours, const COLOUR_KEYS& keys);
