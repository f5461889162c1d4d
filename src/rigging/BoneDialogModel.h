#pragma once
// Everything the bone dialog ("ボーン編集") decides: which parts its lists
// offer, which controls are enabled, and the bone settings its OK applies. The
// dialog binds its controls to a model and executes the model's command.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/Bone.h"

class CChangeBoneCommand;
class CTreeDocument;

// The kind radio buttons run 移動可能, 回転可能, ボーンなし, 非表示, so radio 0
// is BONE_MOVE and radio 1 BONE_ROTATE. −1 stands for no button (a kind
// outside 0–3, or none selected).
int BoneKindToRadio(int kind);
int RadioToBoneKind(int radio);

// The parts the link list offers after its empty entry, in tree order: every
// part but part itself, hidden parts, its ancestors and its descendants.
std::vector<CPart*> GetLinkCandidates(const CTreeDocument& document, const CPart& part);
// part's ancestors, the parent first: the IK range list, and the IK parent
// list after its empty entry.
std::vector<CPart*> GetAncestors(const CPart& part);
// Whether the dialog may confirm name for part: not empty, and no other part
// has it (the part's own name is fine).
bool IsBoneNameAcceptable(const CTreeDocument& document, const CPart& part,
                          std::u16string_view name);

class CBoneDialogModel {
public:
    // The dialog's values on opening: the part's settings, angles in degrees,
    // and the list selections of its references (no selection, or the empty
    // entry, where a reference is not offered).
    explicit CBoneDialogModel(CPart& part);

    CPart* part; // not owned
    std::u16string name;
    int kindRadio; // 0–3, −1 none
    bool morph;
    std::vector<CPart*> linkCandidates; // the link list after its empty entry
    int linkSelection;                  // 0 the empty entry, k linkCandidates[k − 1], −1 none
    std::array<float, 3> angleDegrees;
    std::u16string ikName;
    std::vector<CPart*> ancestors; // the IK range list; the IK parent list after its empty entry
    int ikRangeSelection;          // index into ancestors, −1 none
    int ikParentSelection;         // 0 the empty entry, k ancestors[k − 1], −1 none

    // The values the selections stand for.
    CPart* GetLinkedPart() const;
    int GetIkRange() const;
    CPart* GetIkParent() const;

    bool IsOkEnabled() const;
    bool IsLinkListEnabled() const { return morph; }
    bool AreIkListsEnabled() const { return !ikName.empty(); }
    // A top-level part's kind cannot be chosen.
    bool AreKindRadiosEnabled() const;

    // OK: the settings the dialog stands for (the part's kind when no radio
    // button is selected; the link is kept even with the morph check off). An
    // angle still showing the degrees it opened with keeps the part's radians,
    // so confirming without a change does not move it by a rounding step.
    CPart::BONE MakeBone() const;
    std::unique_ptr<CChangeBoneCommand> MakeCommand() const;
    // Executes MakeCommand with no initiating view, also when nothing changed;
    // refuses (returns false) while OK is disabled.
    bool Apply() const;

private:
    std::array<float, 3> openedDegrees_;
};
