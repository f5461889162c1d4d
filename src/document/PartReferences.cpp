#include "document/PartReferences.h"

#include "document/TreeDocument.h"

namespace {

bool InSubtree(const CPart& root, const CPart* part) {
    return part && (part == &root || root.IsAncestorOf(part));
}

} // namespace

bool IsInTree(const CTreeDocument& document, const CPart& part) {
    const CPart* top = &part;
    while (top->parent)
        top = top->parent;
    return document.IndexOfChild(top) >= 0;
}

std::vector<CutReference> DetachSubtree(CTreeDocument& document, const CPart& root,
                                        CPart* formerParent) {
    std::vector<CutReference> cut;
    for (CPart* part : document.CollectParts()) {
        if (InSubtree(root, part->ikParent)) {
            cut.push_back({part, false, part->ikParent});
            part->ikParent = nullptr;
        }
        if (InSubtree(root, part->linkedPart)) {
            cut.push_back({part, true, part->linkedPart});
            part->linkedPart = nullptr;
        }
    }
    if (InSubtree(root, document.currentPart))
        document.currentPart = formerParent ? formerParent : document.GetChild(0);
    if (InSubtree(root, document.markedPart))
        document.markedPart = nullptr;
    return cut;
}

std::vector<CutReference> InnerReferences(CPart& root) {
    std::vector<CutReference> inner;
    if (InSubtree(root, root.ikParent))
        inner.push_back({&root, false, root.ikParent});
    if (InSubtree(root, root.linkedPart))
        inner.push_back({&root, true, root.linkedPart});
    return inner;
}

void RestoreReferences(const std::vector<CutReference>& references) {
    for (const CutReference& reference : references) {
        CPart*& pointer =
            reference.linked ? reference.holder->linkedPart : reference.holder->ikParent;
        const int id =
            reference.linked ? reference.holder->linkedPartId : reference.holder->ikParentId;
        if (!pointer && id == reference.target->id)
            pointer = reference.target;
    }
}
