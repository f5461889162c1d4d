#include "document/PartLimits.h"

#include "document/Archive.h"
#include "document/TreeDocument.h"

#include <algorithm>
#include <string>

namespace {

void Mark(std::vector<bool>& used, int& free, int id) {
    if (id >= 1 && id <= MaxPartId && !used[static_cast<size_t>(id)]) {
        used[static_cast<size_t>(id)] = true;
        --free;
    }
}

} // namespace

CPartIdAllocator::CPartIdAllocator(const CTreeDocument& document) : used_(MaxPartId + 1, false) {
    for (const CPart* part : document.CollectParts()) {
        Mark(used_, free_, part->id);
        Mark(used_, free_, part->ikParentId);
        Mark(used_, free_, part->linkedPartId);
    }
}

int CPartIdAllocator::Take(int after) {
    if (free_ == 0)
        throw CPartLimitError("every part id from 1 to " + std::to_string(MaxPartId) +
                              " is in use; delete parts before adding more");
    int id = std::clamp(after, 0, MaxPartId);
    do
        id = id == MaxPartId ? 1 : id + 1;
    while (used_[static_cast<size_t>(id)]);
    Mark(used_, free_, id);
    return id;
}

void CGridBudget::Take() {
    if (++taken_ > MaxPartsWithDots)
        throw CArchiveException(
            "more than " + std::to_string(MaxPartsWithDots) +
            " parts hold dots; each takes 32 KiB in memory, and a document may have at most " +
            std::to_string(MaxPartsWithDots) + " such parts");
}

int DepthOf(const CPart* part) {
    int depth = 0;
    for (; part; part = part->parent)
        ++depth;
    return depth;
}

int SubtreeHeight(const CPart& part) {
    // Iterative, level by level: the subtree may be deep.
    std::vector<const CPart*> level{&part};
    int height = 0;
    while (!level.empty()) {
        ++height;
        std::vector<const CPart*> next;
        for (const CPart* p : level)
            for (const auto& child : p->children)
                next.push_back(child.get());
        level.swap(next);
    }
    return height;
}

int SubtreeSize(const CPart& part) {
    int size = 0;
    std::vector<const CPart*> stack{&part};
    while (!stack.empty()) {
        const CPart* p = stack.back();
        stack.pop_back();
        ++size;
        for (const auto& child : p->children)
            stack.push_back(child.get());
    }
    return size;
}

void RequireDepthBelow(const CPart* newParent, const CPart& part) {
    const int depth = DepthOf(newParent) + SubtreeHeight(part);
    if (depth > MaxPartDepth)
        throw CPartLimitError("parts would be nested " + std::to_string(depth) +
                              " deep, more than the " + std::to_string(MaxPartDepth) +
                              " a document can hold");
}
