#pragma once
// Moving a part with its subtree to another place in the tree.

#include <string>

#include "document/Command.h"

class CDotDocument;
class CPart;

class CMovePartCommand : public CCommand {
public:
    // Moves part from where it stands now to newIndex under newParent (null
    // for the top level). newIndex is the index the part is to have once it
    // stands there; an index outside the new parent's children appends.
    // Labelled "移動" unless another label is given.
    CMovePartCommand(CDotDocument& document, CPart& part, CPart* newParent, int newIndex,
                     std::u16string name = {});

    CDotDocument* document; // not owned
    CPart* part;            // not owned
    CPart* oldParent;
    int oldIndex;
    CPart* newParent;
    int newIndex;

    // Take the part out at one place, put it in at the other and record the
    // index where it landed; place all parts; HINT_PARTS with the part.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
