#include "document/DotPart.h"

// The commands a part handles itself, without a dialog: the six faces, deeper
// and nearer, invert, and the rigid body and joint toggles. The commands that
// open a dialog (rate, bone settings, physics) are handled by the editor.

#include "document/EditorPrompt.h"
#include "document/FaceNavigation.h"
#include "document/PartMirror.h"
#include "resources/CommandIds.h"
#include "document/PhysicsEditing.h"

namespace {

using Handler = CCommandHandler<CDotPart>;

// One of the six faces: shows the part from it; a radio mark on the shown one.
constexpr Handler FaceHandler(unsigned id) {
    return {
        .id = id,
        .run = [](CDotPart& part,
                  unsigned command) { SetPartFace(part, *FaceOrientation::FromCommand(command)); },
        .update =
            [](const CDotPart& part, unsigned command, CCommandState& state) {
                state.radio = true;
                state.checked = part.face == FaceOrientation::FromCommand(command);
            }};
}

constexpr Handler PartHandlers[] = {
    FaceHandler(ID_VIEW_FRONT),
    FaceHandler(ID_VIEW_BACK),
    FaceHandler(ID_VIEW_LEFT),
    FaceHandler(ID_VIEW_RIGHT),
    FaceHandler(ID_VIEW_TOP),
    FaceHandler(ID_VIEW_BOTTOM),
    {.id = ID_VIEW_DEEPER,
     .run = [](CDotPart& part, unsigned) { GoDeeper(part); },
     .update = [](const CDotPart& part, unsigned,
                  CCommandState& state) { state.enabled = CanGoDeeper(part); }},
    {.id = ID_VIEW_NEARER,
     .run = [](CDotPart& part, unsigned) { GoNearer(part); },
     .update = [](const CDotPart& part, unsigned,
                  CCommandState& state) { state.enabled = CanGoNearer(part); }},
    {.id = ID_PART_INVERT,
     .run = [](CDotPart& part, unsigned) { InvertPart(part, GetEditorPrompt()); }},
    {.id = ID_PART_RIGID_BODY,
     .run = [](CDotPart& part, unsigned) { ToggleRigidBody(part); },
     .update = [](const CDotPart& part, unsigned,
                  CCommandState& state) { state.checked = IsRigidBodyChecked(part); }},
    {.id = ID_PART_JOINT,
     .run =
         [](CDotPart& part, unsigned) {
             if (IsJointEnabled(part))
                 ToggleJoint(part);
         },
     .update =
         [](const CDotPart& part, unsigned, CCommandState& state) {
             state.enabled = IsJointEnabled(part);
             state.checked = IsJointChecked(part);
         }},
};

} // namespace

bool CDotPart::OnCommand(unsigned id) { return RunCommand<CDotPart>(PartHandlers, *this, id); }

bool CDotPart::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand<CDotPart>(PartHandlers, *this, id, state);
}
