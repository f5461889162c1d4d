#include "document/TreeDocument.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "document/DotDocument.h"
#include "document/PartLimits.h"

namespace {

// The first part below holder, in pre-order, that match accepts; null when none.
CPart* FindInTree(const CPartParent& holder, const std::function<bool(const CPart&)>& match) {
    for (const auto& child : holder.children) {
        if (match(*child))
            return child.get();
        if (CPart* found = FindInTree(*child, match))
            return found;
    }
    return nullptr;
}

void Collect(const CPartParent& holder, std::vector<CPart*>& list) {
    for (const auto& child : holder.children) {
        list.push_back(child.get());
        Collect(*child, list);
    }
}

// base itself when tryBase and it is free, otherwise base followed by the
// first of 1, 2, 3, … that gives a free name.
std::u16string FirstFreeName(std::u16string_view base, bool tryBase,
                             const std::function<bool(std::u16string_view)>& taken) {
    if (tryBase && !taken(base))
        return std::u16string(base);
    for (unsigned n = 1;; ++n) {
        std::u16string name(base);
        for (char c : std::to_string(n))
            name.push_back(static_cast<char16_t>(c));
        if (!taken(name))
            return name;
    }
}

// Renumber's walk. given holds the names already handed out in this subtree:
// its parts are not in the tree yet, so the tree alone cannot tell that a
// name is taken by one of them.
int RenumberSubtree(CTreeDocument& tree, CDotDocument* owner, CPart& part, int lastId,
                    std::set<std::u16string, std::less<>>& given, CPartIdAllocator& ids) {
    part.name = FirstFreeName(part.name, true, [&](std::u16string_view name) {
        return tree.FindPartByName(name) != nullptr || given.contains(name);
    });
    given.insert(part.name);
    part.id = ids.Take(lastId);
    lastId = part.id;
    part.document = owner;
    for (const auto& child : part.children) {
        child->document = owner;
        child->parentId = part.id;
        lastId = RenumberSubtree(tree, owner, *child, lastId, given, ids);
    }
    return lastId;
}

} // namespace

CTreeDocument::CTreeDocument() = default;

// The parts go before the undo list: commands may own parts that refer to
// parts of the tree by pointer, but never the other way round.
CTreeDocument::~CTreeDocument() {
    currentPart = nullptr;
    markedPart = nullptr;
    children.clear();
}

CPart* CTreeDocument::FindPartByName(std::u16string_view name) const {
    return FindInTree(*this, [name](const CPart& part) { return part.name == name; });
}

CPart* CTreeDocument::FindPartById(int id) const {
    return FindInTree(*this, [id](const CPart& part) { return part.id == id; });
}

int CTreeDocument::GetMaxId(int start) const {
    int maxId = start;
    for (const CPart* part : CollectParts())
        maxId = std::max(maxId, static_cast<int>(part->id));
    return maxId;
}

int CTreeDocument::GetFreeId() const { return CPartIdAllocator(*this).Take(); }

std::u16string CTreeDocument::MakeUniqueName(std::u16string_view base) const {
    return FirstFreeName(
        base, false, [this](std::u16string_view name) { return FindPartByName(name) != nullptr; });
}

std::u16string CTreeDocument::GetUniqueName(std::u16string_view base) const {
    return FirstFreeName(
        base, true, [this](std::u16string_view name) { return FindPartByName(name) != nullptr; });
}

void CTreeDocument::CollectParts(std::vector<CPart*>& list) const { Collect(*this, list); }

std::vector<CPart*> CTreeDocument::CollectParts() const {
    std::vector<CPart*> list;
    Collect(*this, list);
    return list;
}

int CTreeDocument::Renumber(CPart& part, int lastId) {
    CPartIdAllocator ids(*this);
    const int needed = SubtreeSize(part);
    if (needed > ids.FreeCount())
        throw CPartLimitError(std::to_string(needed) + " parts need new ids, but only " +
                              std::to_string(ids.FreeCount()) + " of the ids 1 to " +
                              std::to_string(MaxPartId) + " are free");
    std::set<std::u16string, std::less<>> given;
    // Only CDotDocument is ever instantiated.
    return RenumberSubtree(*this, static_cast<CDotDocument*>(this), part, lastId, given, ids);
}

void CTreeDocument::ResolveReferences(CPart& part) const {
    part.ikParent = part.ikParentId != 0 ? FindPartById(part.ikParentId) : nullptr;
    part.linkedPart = part.linkedPartId != 0 ? FindPartById(part.linkedPartId) : nullptr;
}

void CTreeDocument::ResolveSubtreeReferences(CPart& part) const {
    ResolveReferences(part);
    for (const auto& child : part.children)
        ResolveSubtreeReferences(*child);
}

void CTreeDocument::ResolveAllReferences() {
    for (const auto& child : children)
        ResolveSubtreeReferences(*child);
}

int CTreeDocument::CompareAncestry(const CPart* a, const CPart* b) {
    if (a == b)
        return 0;
    if (!a)
        return 1;
    if (!b)
        return -1;
    if (a->IsAncestorOf(b))
        return -1;
    if (b->IsAncestorOf(a))
        return 1;
    return 0;
}

bool CTreeDocument::OnCommand(unsigned id) {
    if (currentPart && currentPart->OnCommand(id))
        return true;
    return CUndoableDocument::OnCommand(id);
}

bool CTreeDocument::OnUpdateCommand(unsigned id, CCommandState& state) {
    if (currentPart && currentPart->OnUpdateCommand(id, state))
        return true;
    return CUndoableDocument::OnUpdateCommand(id, state);
}

void CTreeDocument::DeleteContents() {
    Clear();
    currentPart = nullptr;
    markedPart = nullptr;
    children.clear();
}
