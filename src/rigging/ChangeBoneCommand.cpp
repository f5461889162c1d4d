#include "rigging/ChangeBoneCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CChangeBoneCommand::CChangeBoneCommand(CPart& target, CPart::BONE bone)
    : CCommand(LoadString(IDS_EDIT_BONE)), document(target.document), part(&target),
      oldBone(GetBone(target)), newBone(std::move(bone)), oldLinkedPartId_(target.linkedPartId),
      oldIkParentId_(target.ikParentId) {}

void CChangeBoneCommand::Do(CDocumentObserver* view) {
    ApplyBone(*part, newBone);
    document->UpdateAllPlacements();
    NotifyChange(*document, view, Notice<HINT_BONE>(part));
}

void CChangeBoneCommand::Undo() {
    ApplyBone(*part, oldBone);
    part->linkedPartId = oldLinkedPartId_;
    part->ikParentId = oldIkParentId_;
    document->UpdateAllPlacements();
    NotifyChange(*document, nullptr, Notice<HINT_BONE>(part));
}
