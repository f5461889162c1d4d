#pragma once
// Adding parts to the tree: new parts, pasted parts, mirrored copies and the
// standard bones, as one undo step for any number of parts.

#include <memory>
#include <string>
#include <vector>

#include "document/CompositeCommand.h"
#include "document/PartReferences.h"

class CDotDocument;
class CPart;

class CAddPartCommand : public CCompositeCommand {
public:
    // One part that enters the tree (forwards) and leaves it (backwards).
    // While the part is outside the tree the element owns it and destroys it
    // with itself.
    class CElement : public CCompositeCommand::CElement {
    public:
        // parent null means the top level; index −1 (or any index outside the
        // children) appends. part is null when the part is in the tree at
        // that index already (a deletion runs the element backwards first).
        CElement(CDotDocument& document, CPart* parent, int index, std::unique_ptr<CPart> part);
        ~CElement() override;

        CDotDocument* document;      // not owned
        CPart* parent;               // not owned; null for the top level
        int index;                   // where the part stands while in the tree
        std::unique_ptr<CPart> part; // owned while outside the tree

        // The part, inside or outside the tree.
        CPart* GetPart() const { return target_; }

        // Resolves the part's own IK parent and linked part from their ids over
        // the tree, inserts it under the parent and records the index it got.
        // References that pointed into the returning subtree when it left
        // (from parts of the tree, or from the part into its own subtree,
        // which the lookup by id cannot see yet) point there again.
        void Do() override;
        // Takes the part out at the recorded index and keeps it.
        void Undo() override;

    private:
        CPartParent& Holder() const;

        CPart* target_;
        std::vector<CutReference> cut_; // references into the part while outside
    };

    CAddPartCommand(CDotDocument& document, std::u16string name);

    CDotDocument* document; // not owned

    // Appends an element (the command runs them in this order).
    CElement& AddElement(CPart* parent, int index, std::unique_ptr<CPart> part);

    // Runs the elements forwards, places all parts, makes the last element's
    // part current; HINT_PARTS with no part.
    void Do(CDocumentObserver* view) override;
    // Runs the elements backwards in reverse order and places all parts;
    // HINT_PARTS with no part. When the current part leaves the tree, the part
    // that was current before Do becomes current again.
    void Undo() override;

private:
    CPart* previousCurrent_ = nullptr;
};
