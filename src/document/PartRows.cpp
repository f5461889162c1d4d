#include "document/PartRows.h"

#include <algorithm>
#include <utility>

#include "document/TreeDocument.h"

namespace {

void SetLooks(PartRow& row, const CTreeDocument& document) {
    const CPart& part = *row.part;
    row.icon = std::clamp<int>(part.boneKind, BONE_ROTATE, BONE_HIDDEN);
    row.marked = &part == document.markedPart;
    row.frameColor = PartFrameColor(part);
}

} // namespace

uint32_t PartFrameColor(const CPart& part) {
    if (!part.HasRigidBody())
        return FrameNone;
    return part.HasJoint() && part.CanHaveJoint() ? FrameJoint : FrameRigidBody;
}

std::vector<PartRow> BuildPartRows(const CTreeDocument& document) {
    std::vector<PartRow> rows;
    // A stack of (parent list, next child index) instead of recursion: the
    // depth of a tree is bounded only by what a file may hold.
    std::vector<std::pair<const CPartParent*, int>> stack{{&document, 0}};
    while (!stack.empty()) {
        auto& [holder, next] = stack.back();
        if (next >= holder->GetChildCount()) {
            stack.pop_back();
            continue;
        }
        CPart* part = holder->GetChild(next++);
        PartRow& row = rows.emplace_back();
        row.part = part;
        row.depth = static_cast<int>(stack.size()) - 1;
        SetLooks(row, document);
        if (part->GetChildCount() > 0)
            stack.emplace_back(part, 0);
    }
    return rows;
}

void RefreshRowLooks(std::span<PartRow> rows, const CTreeDocument& document) {
    for (PartRow& row : rows)
        SetLooks(row, document);
}
