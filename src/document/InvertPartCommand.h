#pragma once
// Writing the mirror image of a part onto an existing part ("部品反転" when
// the mirrored name is taken): the target's grid, its mirrored settings and
// the joint points of its children, as one undo step.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/ChangePartCommand.h"
#include "document/PhysicsParams.h"

class CInvertPartCommand : public CChangePartCommand {
public:
    // Everything of the target besides its grid that writing a mirror sets.
    struct SETTINGS {
        int32_t boneKind = 0;
        float rate = 1.0f;
        int32_t morph = 0;
        std::array<float, 3> angle{};
        std::array<int, 3> bonePosition{};
        std::array<int, 3> parentPosition{};
        std::unique_ptr<RIGID_BODY_PARAMS> rigidBody;
        std::unique_ptr<JOINT_PARAMS> joint;

        static SETTINGS Of(const CDotPart& part);
        void ApplyTo(CDotPart& part) const;
    };

    // The joint point of one child of the target.
    class CElement : public CCompositeCommand::CElement {
    public:
        explicit CElement(CDotPart& child);

        CDotPart* child; // not owned
        std::array<int, 3> before;
        std::array<int, 3> after{};
        bool afterTaken = false;

        // Records the child's bonePosition on the first run, puts it back on
        // later runs.
        void Do() override;
        // Puts the before value back.
        void Undo() override;
    };

    // Takes the target's before state (grid, settings, one element per child).
    // Labelled "部品反転".
    explicit CInvertPartCommand(CDotPart& target);

    SETTINGS beforeSettings;
    SETTINGS afterSettings;
    bool settingsTaken = false;

    // The change, all placements, then HINT_DOTS with the target, HINT_INVERT,
    // the target becomes current and HINT_SELECT_PART with it.
    void Do(CDocumentObserver* view) override;
    // The before state, all placements, then HINT_DOTS and HINT_INVERT.
    void Undo() override;
};
