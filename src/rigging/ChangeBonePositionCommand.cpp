#include "rigging/ChangeBonePositionCommand.h"

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CJointPointCommand::CJointPointCommand(CDotPart& target, std::array<int, 3> CDotPart::*field,
                                       const std::array<int, 3>& position)
    : CCommand(LoadString(IDS_MOVE_BONE)), document(target.document), part(&target),
      oldPosition(target.*field), newPosition(position), field_(field) {}

void CJointPointCommand::Set(const std::array<int, 3>& position, CDocumentObserver* view) {
    part->*field_ = position;
    document->UpdateAllPlacements();
    NotifyChange(*document, view, Notice<HINT_BONE_POSITION>(part));
}

void CJointPointCommand::Do(CDocumentObserver* view) { Set(newPosition, view); }

void CJointPointCommand::Undo() { Set(oldPosition, nullptr); }

CChangeBonePositionCommand::CChangeBonePositionCommand(CDotPart& target,
                                                       const std::array<int, 3>& position)
    : CJointPointCommand(target, &CDotPart::bonePosition, position) {}

CChangeParentPositionCommand::CChangeParentPositionCommand(CDotPart& target,
                                                           const std::array<int, 3>& position)
    : CJointPointCommand(target, &CDotPart::parentPosition, position) {}
