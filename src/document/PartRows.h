#pragma once
// The part tree flattened into the rows of the part list: one row per part in
// pre-order, each with its depth and what its icon shows (the bone kind, the
// marked-part highlight and the physics frame).

#include <cstdint>
#include <span>
#include <vector>

class CPart;
class CTreeDocument;

// Colours (0x00BBGGRR) of the frame around a part's icon.
inline constexpr uint32_t FrameNone = 0;
inline constexpr uint32_t FrameRigidBody = 0x00FF00; // green: a rigid body
inline constexpr uint32_t FrameJoint = 0x00FFFF;     // yellow: a rigid body with a working joint

// One row of the part list.
struct PartRow {
    CPart* part = nullptr;
    int depth = 0;                   // 0 for top-level parts
    int icon = 0;                    // the marker column: the bone kind, 0–3
    bool marked = false;             // the part is the document's marked part
    uint32_t frameColor = FrameNone; // FrameNone, FrameRigidBody or FrameJoint
};

// The physics frame of part: none without a rigid body; yellow when the part
// also has a joint that takes effect (a parent and a rotating or moving
// bone); green otherwise.
uint32_t PartFrameColor(const CPart& part);

// Every part of document in pre-order with its depth and looks. Linear in the
// number of parts, and no recursion however deep the tree is.
std::vector<PartRow> BuildPartRows(const CTreeDocument& document);

// Recomputes the icon, the mark and the frame of every row from its part
// (after a bone, mark or physics change, which moves no part).
void RefreshRowLooks(std::span<PartRow> rows, const CTreeDocument& document);
