#include "document/DotPart.h"

// The commands a part handles itself, without a dialog: the six faces, deeper
// and nearer, invert, and the rigid body and joint toggles. The commands that
// open a dialog (rate, bone settings, physics) are handled by the editor.

#include "document/EditorPrompt.h"
#include "document/FaceNavigation.h"
#include "document/PartMirror.h"
#include "resources/CommandIds.h"
#include "rigging/PhysicsEditing.h"

bool CDotPart::OnCommand(unsigned id) {
    if (const FaceOrientation* shown = FaceOrientation::FromCommand(id)) {
        SetPartFace(*this, *shown);
        return true;
    }
    switch (id) {
    case ID_VIEW_DEEPER:
        GoDeeper(*this);
        return true;
    case ID_VIEW_NEARER:
        GoNearer(*this);
        return true;
    case ID_PART_INVERT:
        InvertPart(*this, GetEditorPrompt());
        return true;
    case ID_PART_RIGID_BODY:
        ToggleRigidBody(*this);
        return true;
    case ID_PART_JOINT:
        if (IsJointEnabled(*this))
            ToggleJoint(*this);
        return true;
    default:
        return false;
    }
}

bool CDotPart::OnUpdateCommand(unsigned id, CCommandState& state) {
    if (const FaceOrientation* shown = FaceOrientation::FromCommand(id)) {
        state.enabled = true;
        state.radio = true;
        state.checked = face == shown;
        return true;
    }
    switch (id) {
    case ID_VIEW_DEEPER:
        state.enabled = CanGoDeeper(*this);
        return true;
    case ID_VIEW_NEARER:
        state.enabled = CanGoNearer(*this);
        return true;
    case ID_PART_INVERT:
        state.enabled = true;
        return true;
    case ID_PART_RIGID_BODY:
        state.enabled = true;
        state.checked = IsRigidBodyChecked(*this);
        return true;
    case ID_PART_JOINT:
        state.enabled = IsJointEnabled(*this);
        state.checked = IsJointChecked(*this);
        return true;
    default:
        return false;
    }
}
