#pragma once
// Switching the edge flag of the generated materials on or off.

#include "document/Command.h"

class CDotDocument;

class CEdgeCommand : public CCommand {
public:
    // Labelled "エッジ".
    explicit CEdgeCommand(CDotDocument& document);

    CDotDocument* document; // not owned

    // Both invert the flag, then HINT_EDGE.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
