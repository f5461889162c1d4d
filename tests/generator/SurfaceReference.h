#pragma once
// A direct transcription of surface extraction for comparison with the fast
// builder: a recursive fill, unit faces in owning arrays, pairwise hidden-face
// marking and merge passes that sweep every face against all the others.
// Quadratic; only for grids whose blocks hold a few thousand dots at most.

#include "generator/Block.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

struct REFERENCE_BLOCK {
    // One array per direction; a slot is null once its face was merged away.
    std::array<std::vector<std::unique_ptr<CBlock::CSurface>>, CBlock::DIRECTION_COUNT> arrays;
};

// Builds the blocks of a grid the literal way (clears and sets bit 7 like the
// fast builder). Runs on a thread with a large stack so the recursive fill may
// go 32 768 dots deep.
std::vector<REFERENCE_BLOCK> BuildSurfacesLiterally(uint8_t* dots,
                                                    const CBlock::COLOUR_TABLE& colours);

// Empty when both results hold the same faces in the same slots with the same
// ranges, colours and hidden flags in the same order; else the first difference.
std::string CompareWithReference(const CBlockList& fast,
                                 const std::vector<REFERENCE_BLOCK>& reference);

// Distinct colour objects for palette indices 1..31, except that the indices
// listed as textured all share one object (as textured colours do).
CBlock::COLOUR_TABLE FakeColourTable(std::initializer_list<int> textured = {});
