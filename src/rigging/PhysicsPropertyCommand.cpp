#include "rigging/PhysicsPropertyCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"

CPhysicsPropertyCommand::CElement::CElement(CDotPart& target, CPhysicsProperty value)
    : part(&target), oldValue(CPhysicsProperty::Of(target)), newValue(std::move(value)) {}

void CPhysicsPropertyCommand::CElement::Do() { newValue.ApplyTo(*part); }

void CPhysicsPropertyCommand::CElement::Undo() { oldValue.ApplyTo(*part); }

CPhysicsPropertyCommand::CPhysicsPropertyCommand(CDotDocument& owner, std::u16string label)
    : CCompositeCommand(std::move(label)), document(&owner) {}

void CPhysicsPropertyCommand::AddElement(CDotPart& part, CPhysicsProperty newValue) {
    elements.push_back(std::make_unique<CElement>(part, std::move(newValue)));
}

void CPhysicsPropertyCommand::Do(CDocumentObserver* view) {
    DoElements();
    NotifyChange(*document, view, Notice<HINT_PHYSICS>(document));
}

void CPhysicsPropertyCommand::Undo() {
    UndoElements();
    NotifyChange(*document, nullptr, Notice<HINT_PHYSICS>(document));
}
