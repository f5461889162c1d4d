#pragma once
// Renaming a part.

#include <string>

#include "document/Command.h"

class CDotDocument;
class CPart;

class CPartNameCommand : public CCommand {
public:
    // Takes the old name from the part now. Labelled "名前の変更" unless
    // another label is given. Callers make sure the new name is free.
    CPartNameCommand(CDotDocument& document, CPart& part, std::u16string newName,
                     std::u16string name = {});

    CDotDocument* document; // not owned
    CPart* part;            // not owned
    std::u16string oldName;
    std::u16string newName;

    // Sets the new (old) name; HINT_PART_NAME with the part.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
