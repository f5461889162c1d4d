#pragma once
// Changing a part's rate, the scale factor of its dots and of its subtree.

#include "document/Command.h"

class CPart;

class CPartRateCommand : public CCommand {
public:
    // Takes the old rate from the part now. Labelled "倍率". Throws
    // std::invalid_argument when newRate is not a valid scale.
    CPartRateCommand(CPart& part, float newRate);

    CPart* part; // not owned
    float oldRate;
    float newRate;

    // Sets the rate and places the part's subtree again (the document's model
    // offset keeps its value until the next full placement); then
    // HINT_PART_RATE with the part.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
