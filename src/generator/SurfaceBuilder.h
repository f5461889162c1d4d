#pragma once
// Surface extraction: turns one part's dot grid into its blocks and their
// merged faces (see Block.h for what a block holds).

#include "document/Grid.h"
#include "generator/Block.h"

#include <array>
#include <cstdint>

// Builds the blocks of one part's grid of 32 768 dot values (index
// z * 1024 + y * 32 + x, palette index in bits 0..4, 0 = empty).
//
// Blocks are 6-connected groups of dots, in the order their first dot is met
// scanning z (outermost), y, x; each is filled depth first trying the
// neighbours at x - 1, x + 1, y - 1, y + 1, z - 1, z + 1 in turn, which fixes
// the slot of every dot. Each dot gives a face per direction coloured
// colours[palette index]; faces where two dots touch are hidden; faces of the
// same colour object are then merged along x, then y, then z. The result is
// the same as comparing every pair of faces in a block and sweeping every
// face against all the others until nothing merges, in far less time.
//
// Writes to the grid only bit 7, as MarkBuilt does: set on every non-empty
// dot (each is visited) and cleared on the others. Bits 5 and 6 are kept
// and ignored. A null grid, or one without a non-empty dot, gives
// no blocks (the owner may then release the grid). Touches nothing but the
// grid and the result, so parts may be built on separate threads at once.
//
// With visibleOnly the blocks keep only the faces that are not hidden (the
// same faces in the same order, slots and dot counts unchanged): all a model
// needs, in far less memory when most faces lie between dots.
//
// With a tally, also counts the faces that are not hidden by colour key
// (below), and sums the texture rows (CBlock::GetTextureSize heights) of
// those of the tally's rowKey: what the model's materials and texture need
// to know of the faces, taken while the faces are made.
struct FACE_TALLY {
    uint8_t rowKey = 0;               // the key whose rows are summed (0: none)
    std::array<uint32_t, 32> faces{}; // faces not hidden, by key
    uint64_t rows = 0;                // texture rows of rowKey's faces
};
CBlockList BuildSurfaces(uint8_t* dots, const CBlock::COLOUR_TABLE& colours,
                         bool visibleOnly = false, FACE_TALLY* tally = nullptr);

// Faces merge only when their colour objects are the same, so palette
// indices that share one object share one key: its lowest index (0 for 0).
// BuildSurfaces depends on a grid only through the keys of its dots: two
// grids whose dots have the same keys everywhere give the same blocks.
using COLOUR_KEYS = std::array<uint8_t, 32>;
COLOUR_KEYS ColourKeys(const CBlock::COLOUR_TABLE& colours);

// Leaves a grid as BuildSurfaces leaves it, without building: bit 7 set on
// every non-empty dot and cleared on the others.
void MarkBuilt(uint8_t* dots);
