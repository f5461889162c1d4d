#include "rigging/BoneDialogModel.h"

#include <algorithm>

#include "document/DotDocument.h"
#include "document/AngleUnits.h"
#include "rigging/ChangeBoneCommand.h"

namespace {

// Radio index by kind: 移動可能 first.
constexpr std::array<int, 4> RadioOfKind{1, 0, 2, 3};

// The list entry (after an empty entry at 0) that holds part: 0 when part is
// null or not offered.
int EntryOf(const std::vector<CPart*>& entries, const CPart* part) {
    const auto found = std::find(entries.begin(), entries.end(), part);
    return part && found != entries.end() ? static_cast<int>(found - entries.begin()) + 1 : 0;
}

// The part of an entry after an empty entry at 0; null for the empty entry or
// none.
CPart* PartOfEntry(const std::vector<CPart*>& entries, int entry) {
    if (entry < 1 || entry > static_cast<int>(entries.size()))
        return nullptr;
    return entries[static_cast<size_t>(entry - 1)];
}

} // namespace

int BoneKindToRadio(int kind) {
    if (kind < 0 || kind >= static_cast<int>(RadioOfKind.size()))
        return -1;
    return RadioOfKind[static_cast<size_t>(kind)];
}

int RadioToBoneKind(int radio) {
    // The mapping swaps 0 and 1, so it is its own inverse.
    return BoneKindToRadio(radio);
}

std::vector<CPart*> GetLinkCandidates(const CTreeDocument& document, const CPart& part) {
    std::vector<CPart*> candidates;
    for (CPart* other : document.CollectParts()) {
        if (other == &part || other->boneKind == BONE_HIDDEN || part.IsAncestorOf(other) ||
            other->IsAncestorOf(&part))
            continue;
        candidates.push_back(other);
    }
    return candidates;
}

std::vector<CPart*> GetAncestors(const CPart& part) {
    std::vector<CPart*> ancestors;
    for (CPart* p = part.parent; p; p = p->parent)
        ancestors.push_back(p);
    return ancestors;
}

bool IsBoneNameAcceptable(const CTreeDocument& document, const CPart& part,
                          std::u16string_view name) {
    if (name.empty())
        return false;
    const CPart* owner = document.FindPartByName(name);
    return !owner || owner == &part;
}

CBoneDialogModel::CBoneDialogModel(CPart& edited)
    : part(&edited), name(edited.name), kindRadio(BoneKindToRadio(edited.boneKind)),
      morph(edited.morph != 0), linkCandidates(GetLinkCandidates(*edited.document, edited)),
      linkSelection(EntryOf(linkCandidates, edited.linkedPart)),
      angleDegrees{ToDegrees(edited.angle[0]), ToDegrees(edited.angle[1]),
                   ToDegrees(edited.angle[2])},
      ikName(edited.ikName), ancestors(GetAncestors(edited)),
      ikRangeSelection(edited.ikRange >= 1 && edited.ikRange <= static_cast<int>(ancestors.size())
                           ? edited.ikRange - 1
                           : -1),
      ikParentSelection(EntryOf(ancestors, edited.ikParent)), openedDegrees_(angleDegrees) {}

CPart* CBoneDialogModel::GetLinkedPart() const {
    return PartOfEntry(linkCandidates, linkSelection);
}

int CBoneDialogModel::GetIkRange() const {
    if (ikRangeSelection < 0 || ikRangeSelection >= static_cast<int>(ancestors.size()))
        return 0;
    return ikRangeSelection + 1;
}

CPart* CBoneDialogModel::GetIkParent() const { return PartOfEntry(ancestors, ikParentSelection); }

bool CBoneDialogModel::IsOkEnabled() const {
    return IsBoneNameAcceptable(*part->document, *part, name);
}

bool CBoneDialogModel::AreKindRadiosEnabled() const { return part->parent != nullptr; }

CPart::BONE CBoneDialogModel::MakeBone() const {
    CPart::BONE bone;
    bone.name = name;
    const int kind = RadioToBoneKind(kindRadio);
    bone.boneKind = kind >= 0 ? kind : part->boneKind;
    bone.morph = morph ? 1 : 0;
    bone.linkedPart = GetLinkedPart();
    for (size_t axis = 0; axis < 3; ++axis)
        bone.angle[axis] = angleDegrees[axis] == openedDegrees_[axis]
                               ? part->angle[axis]
                               : ToRadians(angleDegrees[axis]);
    bone.ikRange = GetIkRange();
    bone.ikName = ikName;
    bone.ikParent = GetIkParent();
    return bone;
}

std::unique_ptr<CChangeBoneCommand> CBoneDialogModel::MakeCommand() const {
    return std::make_unique<CChangeBoneCommand>(*part, MakeBone());
}

bool CBoneDialogModel::Apply() const {
    if (!IsOkEnabled())
        return false;
    part->document->Execute(MakeCommand());
    return true;
}
