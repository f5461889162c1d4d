#pragma once
// Changing the rigid bodies and joints of one or more parts as one undo step.

#include <string>

#include "document/CompositeCommand.h"
#include "document/PhysicsProperty.h"

class CDotDocument;

class CPhysicsPropertyCommand : public CCompositeCommand {
public:
    // The physics of one part before and after.
    class CElement : public CCompositeCommand::CElement {
    public:
        // Takes the old value from the part now.
        CElement(CDotPart& part, CPhysicsProperty newValue);

        CDotPart* part; // not owned
        CPhysicsProperty oldValue;
        CPhysicsProperty newValue;

        void Do() override;   // gives the part the new value
        void Undo() override; // gives it the old value
    };

    CPhysicsPropertyCommand(CDotDocument& document, std::u16string name);

    CDotDocument* document; // not owned

    void AddElement(CDotPart& part, CPhysicsProperty newValue);
    bool IsEmpty() const { return elements.empty(); }

    // Elements in order (Undo: in reverse order); then HINT_PHYSICS with the
    // document.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
