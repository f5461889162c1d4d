#include "document/TreeDocument.h"

#include <algorithm>
#include <functional>
#include <string>

#include "document/DotDocument.h"

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

int CTreeDocument::GetFreeId() const {
    std::vector<int> ids;
    for (const CPart* part : CollectParts())
        if (part->id >= 1)
            ids.push_back(part->id);
    std::sort(ids.begin(), ids.end());
    int candidate = 1;
    for (int id : ids) {
        if (id > candidate)
            break;
        if (id == candidate)
            ++candidate;
    }
    return candidate;
}

std::u16string CTreeDocument::MakeUniqueName(std::u16string_view base) const {
    for (unsigned n = 1;; ++n) {
        std::u16string name(base);
        for (char c : std::to_string(n))
            name.push_back(static_cast<char16_t>(c));
        if (!FindPartByName(name))
            return name;
    }
}

std::u16string CTreeDocument::GetUniqueName(std::u16string_view base) const {
    if (!FindPartByName(base))
        return std::u16string(base);
    return MakeUniqueName(base);
}

void CTreeDocument::CollectParts(std::vector<CPart*>& list) const { Collect(*this, list); }

std::vector<CPart*> CTreeDocument::CollectParts() const {
    std::vector<CPart*> list;
    Collect(*this, list);
    return list;
}

int CTreeDocument::Renumber(CPart& part, int lastId) {
    part.name = GetUniqueName(part.name);
    part.id = lastId + 1;
    lastId = part.id;
    // Only CDotDocument is ever instantiated.
    auto* self = static_cast<CDotDocument*>(this);
    part.document = self;
    for (const auto& child : part.children) {
        child->document = self;
        child->parentId = part.id;
        lastId = Renumber(*child, lastId);
    }
    return lastId;
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
