#pragma once
// Deleting a part with its subtree: the add element of the part run backwards.

#include <string>

#include "document/AddPartCommand.h"
#include "document/Command.h"

class CDeletePartCommand : public CCommand {
public:
    // part must be in document's tree. Throws std::invalid_argument otherwise.
    CDeletePartCommand(CDotDocument& document, CPart& part, std::u16string name);

    CDotDocument* document; // not owned
    CAddPartCommand::CElement element;

    CPart* GetPart() const { return element.GetPart(); }

    // Takes the part out (the command owns it), places all parts;
    // HINT_PARTS with the part.
    void Do(CDocumentObserver* view) override;
    // Puts it back at its index with its own references resolved again.
    void Undo() override;
};
