#pragma once
// Parts whose grids give the same blocks: surface extraction runs once for
// each such group and its result is copied to the others (a figure's
// matching limbs, or parts that differ only in colours drawn from the
// texture).

#include "generator/SurfaceBuilder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// For each grid of 32 768 dots, the index of the first grid of the list
// whose dots have the same colour keys everywhere, so that BuildSurfaces
// gives both the same blocks; its own index when no grid before it does.
// A null grid or one without a non-empty dot is always its own.
std::vector<size_t> FirstWithSameSurfaces(std::span<const uint8_t* const> grids,
                                          const COLOUR_KEYS& keys);

// Leaves a grid as BuildSurfaces leaves it, without building: bit 7 set on
// every non-empty dot and cleared on the others.
void MarkBuilt(uint8_t* dots);
