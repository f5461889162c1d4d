#include "document/InvertPartCommand.h"

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/OptionalRecord.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CInvertPartCommand::SETTINGS CInvertPartCommand::SETTINGS::Of(const CDotPart& part) {
    SETTINGS settings;
    settings.boneKind = part.boneKind;
    settings.rate = part.rate;
    settings.morph = part.morph;
    settings.angle = part.angle;
    settings.bonePosition = part.bonePosition;
    settings.parentPosition = part.parentPosition;
    settings.rigidBody = CopyRecord(part.rigidBody.get());
    settings.joint = CopyRecord(part.joint.get());
    return settings;
}

void CInvertPartCommand::SETTINGS::ApplyTo(CDotPart& part) const {
    part.boneKind = boneKind;
    part.rate = rate;
    part.morph = morph;
    part.angle = angle;
    part.bonePosition = bonePosition;
    part.parentPosition = parentPosition;
    AssignRecord(part.rigidBody, rigidBody.get());
    AssignRecord(part.joint, joint.get());
}

CInvertPartCommand::CElement::CElement(CDotPart& part) : child(&part), before(part.bonePosition) {}

void CInvertPartCommand::CElement::Do() {
    if (afterTaken) {
        child->bonePosition = after;
    } else {
        after = child->bonePosition;
        afterTaken = true;
    }
}

void CInvertPartCommand::CElement::Undo() { child->bonePosition = before; }

CInvertPartCommand::CInvertPartCommand(CDotPart& target)
    : CChangePartCommand(target, LoadString(IDS_INVERT_PART)),
      beforeSettings(SETTINGS::Of(target)) {
    for (const auto& child : target.children)
        elements.push_back(std::make_unique<CElement>(dynamic_cast<CDotPart&>(*child)));
}

void CInvertPartCommand::Do(CDocumentObserver* view) {
    if (settingsTaken) {
        afterSettings.ApplyTo(*part);
    } else {
        afterSettings = SETTINGS::Of(*part);
        settingsTaken = true;
    }
    ApplyAfter();
    document->UpdateAllPlacements();
    document->UpdateAllViews(view, Notice<HINT_DOTS>(part));
    document->UpdateAllViews(view, Notice<HINT_INVERT>());
    document->currentPart = part;
    document->UpdateAllViews(view, Notice<HINT_SELECT_PART>(part));
}

void CInvertPartCommand::Undo() {
    beforeSettings.ApplyTo(*part);
    ApplyBefore();
    document->UpdateAllPlacements();
    document->UpdateAllViews(nullptr, Notice<HINT_DOTS>(part));
    document->UpdateAllViews(nullptr, Notice<HINT_INVERT>());
}
