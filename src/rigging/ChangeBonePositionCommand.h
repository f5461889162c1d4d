#pragma once
// Moving one of a part's joint points: where it hangs in its parent's grid
// (bonePosition) or the same point in its own grid (parentPosition).

#include <array>

#include "document/Command.h"

class CDotDocument;
class CDotPart;

// The common part of the two joint point commands.
class CJointPointCommand : public CCommand {
public:
    CDotDocument* document; // not owned
    CDotPart* part;         // not owned
    std::array<int, 3> oldPosition;
    std::array<int, 3> newPosition;

    // Sets the new (old) point and places all parts; HINT_BONE_POSITION with
    // the part.
    void Do(CDocumentObserver* view) override;
    void Undo() override;

protected:
    // Takes the old point from the part's field now. Labelled "ボーン移動".
    CJointPointCommand(CDotPart& part, std::array<int, 3> CDotPart::*field,
                       const std::array<int, 3>& newPosition);

private:
    void Set(const std::array<int, 3>& position, CDocumentObserver* view);

    std::array<int, 3> CDotPart::*field_;
};

class CChangeBonePositionCommand : public CJointPointCommand {
public:
    CChangeBonePositionCommand(CDotPart& part, const std::array<int, 3>& newPosition);
};

class CChangeParentPositionCommand : public CJointPointCommand {
public:
    CChangeParentPositionCommand(CDotPart& part, const std::array<int, 3>& newPosition);
};
