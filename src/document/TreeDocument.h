#pragma once
// The document as a tree of parts: lookups by name and id, unique names and
// ids, renumbering and reference resolution of parts that enter the tree, the
// current and the marked part. Every walk is depth-first pre-order: a part,
// then its children in order, then its next sibling.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/Part.h"
#include "document/PartParent.h"
#include "document/UndoableDocument.h"

class CDotPart;

class CTreeDocument : public CUndoableDocument, public CPartParent {
public:
    CTreeDocument();
    ~CTreeDocument() override;

    CPart* currentPart = nullptr; // the part editing applies to (not owned)
    CPart* markedPart = nullptr;  // the part whose bone marker is shown (not owned)

    // The first part named name exactly, null when none.
    CPart* FindPartByName(std::u16string_view name) const;
    // The first part with that id, null when none.
    CPart* FindPartById(int id) const;
    // The largest of start and every id in the tree.
    int GetMaxId(int start) const;
    // The smallest id 1–MaxPartId that no part in the tree has and no part in
    // the tree names as IK parent or linked part (PartLimits.h). Throws
    // CPartLimitError when there is none.
    int GetFreeId() const;
    // base followed by the first of 1, 2, 3, … that gives an unused name.
    std::u16string MakeUniqueName(std::u16string_view base) const;
    // base when no part has that name, otherwise MakeUniqueName(base).
    std::u16string GetUniqueName(std::u16string_view base) const;
    // Appends every part of the tree in pre-order.
    void CollectParts(std::vector<CPart*>& list) const;
    std::vector<CPart*> CollectParts() const;

    // For a part not (yet) in the tree: gives it a unique name and the id
    // lastId + 1, then numbers its children in order after it (setting their
    // document and parentId); returns the last id used. Ids taken in the tree
    // (as by GetFreeId) are skipped, and after MaxPartId the numbering goes
    // on from 1. Throws CPartLimitError, changing nothing, when too few ids
    // are free. Each name is unique among the tree and the names already
    // given in the subtree.
    int Renumber(CPart& part, int lastId);
    // Sets part's ikParent and linkedPart from their ids over the tree (an id
    // that matches no part in the tree gives null).
    void ResolveReferences(CPart& part) const;
    // ResolveReferences for part and every part below it.
    void ResolveSubtreeReferences(CPart& part) const;
    // ResolveReferences for every part of the tree.
    void ResolveAllReferences();

    // Ancestry order: negative when a is an ancestor of b or b is null (and a
    // is not), positive in the reverse cases, 0 for unrelated parts.
    static int CompareAncestry(const CPart* a, const CPart* b);
    // "Comes before" form of CompareAncestry. Unrelated parts compare equal,
    // so this is not a strict weak ordering over arbitrary parts: sort with an
    // algorithm that only compares neighbours (an insertion sort), not
    // std::sort.
    static bool AncestryLess(const CPart* a, const CPart* b) { return CompareAncestry(a, b) < 0; }

    // Offers a command to the current part first, then to the undo list.
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

    // A new part with every default, not inserted anywhere.
    virtual std::unique_ptr<CDotPart> CreatePart(int id, std::u16string name) = 0;
    // Recomputes the placement of every part and the model offset.
    virtual void UpdateAllPlacements() = 0;
    // The standard bone table (its last row has name id 0).
    virtual std::span<const CPart::TEMPLATE> GetTemplates() const = 0;

    // Clears the undo list and destroys the tree; the current and marked
    // parts become null.
    virtual void DeleteContents();
};
