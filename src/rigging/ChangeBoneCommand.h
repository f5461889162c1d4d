#pragma once
// Changing a part's bone settings (name, kind, morph and link, angles, IK).

#include <cstdint>

#include "document/Command.h"
#include "document/Bone.h"

class CDotDocument;

class CChangeBoneCommand : public CCommand {
public:
    // Takes the old settings from the part now. Labelled "ボーン編集".
    CChangeBoneCommand(CPart& part, CPart::BONE newBone);

    CDotDocument* document; // not owned
    CPart* part;            // not owned
    CPart::BONE oldBone;
    CPart::BONE newBone;

    // Applies the new (old) settings and places all parts; HINT_BONE with
    // the part.
    void Do(CDocumentObserver* view) override;
    // Also gives back the reference ids the part had, including those whose
    // target was not in the tree, so undo leaves the part exactly as it was.
    void Undo() override;

private:
    int32_t oldLinkedPartId_;
    int32_t oldIkParentId_;
};
