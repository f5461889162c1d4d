#pragma once
// Cutting a block out of a part into a new child part ("分割").

#include <memory>
#include <string>

#include "document/AddPartCommand.h"
#include "document/ChangePartCommand.h"

class CDividePartCommand : public CChangePartCommand {
public:
    // Takes the source's before state; the new part (outside the tree) will be
    // appended under the source. Labelled "分割".
    CDividePartCommand(CDotPart& source, std::unique_ptr<CPart> newPart);

    CAddPartCommand::CElement element;

    CPart* GetNewPart() const { return element.GetPart(); }

    // The source's change, the new part enters the tree, all placements, the
    // new part becomes current; HINT_DOTS with the source, then HINT_PARTS
    // with the new part.
    void Do(CDocumentObserver* view) override;
    // The source's before state, the new part leaves the tree, all
    // placements, the source becomes current; HINT_DOTS with the source, then
    // HINT_PARTS with no part.
    void Undo() override;
};
