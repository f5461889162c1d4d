#pragma once
// The built-in humanoid skeleton: nineteen standard bones with their names,
// parents, kinds, rest angles and IK settings. A new document starts with the
// whole skeleton as its part tree; the standard bone dialog offers the rows a
// document lacks.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "document/Part.h"

class CDotDocument;
class CDotPart;

// One row of the standard bone table. Names are string-table ids.
struct CPart::TEMPLATE {
    int32_t name;     // the bone (and part) name; 0 ends the table
    int32_t parent;   // the parent's name; 0 = top level
    int32_t movable;  // non-zero gives BONE_MOVE, zero BONE_ROTATE
    float angleZ;     // rest angle about z in degrees (x and y are 0)
    int32_t ikRange;  // ikRange of the part
    int32_t ikName;   // the IK bone name; 0 = no IK
    int32_t ikParent; // the name of the part to use as ikParent; 0 = none
};

// The table in order, every parent before its children, followed by the
// closing row whose name is 0 (twenty rows in all).
std::span<const CPart::TEMPLATE> StandardBoneTable();

// A standard part made for one row, not yet in the tree.
struct STANDARD_PART {
    const CPart::TEMPLATE* row = nullptr;
    std::unique_ptr<CDotPart> part;
    // Where the part goes: the part found for the row's parent name, or null
    // for the top level.
    CPart* parent = nullptr;
};

// Makes the standard parts of rows in order, as one operation: each part gets
// the smallest id ≥ 1 used neither in the document's tree (as GetFreeId sees
// it) nor by a part made before it here, the row's name, kind, rest angle (degrees × 0.017453292 in
// single precision) and IK settings, and defaults otherwise. Each row's parent
// and IK parent are looked up by name in the document first and then among the
// new parts (first match); ikParent and ikParentId are set on the new part.
// Nothing is inserted into the document. Throws CPartLimitError when the ids
// run out or a part would be nested deeper than MaxPartDepth.
std::vector<STANDARD_PART> MakeStandardParts(CDotDocument& document,
                                             std::span<const CPart::TEMPLATE* const> rows);

// The part named by the text of nameId: the document's FindPartByName first,
// then the first of made with exactly that name; null for id 0 or no match.
CPart* FindStandardPart(const CDotDocument& document, int32_t nameId,
                        std::span<const STANDARD_PART> made);
