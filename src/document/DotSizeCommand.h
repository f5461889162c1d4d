#pragma once
// Changing the document's dot size, the edge of one dot in model units.

#include "document/Command.h"

class CDotDocument;

// Whether value can be a dot size or a part rate: a finite number above 0.
// The dialogs enable OK only for such values and the commands refuse others.
bool IsValidScale(float value);

class CDotSizeCommand : public CCommand {
public:
    // Takes the old size from the document now. Labelled "ドットサイズ変更".
    // Throws std::invalid_argument when newSize is not a valid scale.
    CDotSizeCommand(CDotDocument& document, float newSize);

    CDotDocument* document; // not owned
    float newSize;
    float oldSize;

    // Sets the size, places every part again, then HINT_DOT_SIZE.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
