#pragma once
// One drag of a bone marker in the dot view, from the button press to the
// release or cancel. It keeps the offset between the pointer and the marker
// centre, writes the live position into the view's BoneMarkerView (so the
// marker is drawn there), and commits one joint point change at the release
// when the point moved. The dot view's bone tracker forwards its mouse events
// here and does the scrolling and painting.

#include "rigging/BoneMarkers.h"

class CDocumentObserver;
class CDotPart;

class CBoneMarkerDrag {
public:
    // Starts dragging part's marker (part is view.part or one of its children)
    // with the pointer at (x, y) DIPs: the marker's centre stays at the same
    // distance from the pointer while it moves.
    CBoneMarkerDrag(BoneMarkerView& view, CDotPart& part, float x, float y);
    // Forgets a drag still running, committing nothing.
    ~CBoneMarkerDrag();
    CBoneMarkerDrag(const CBoneMarkerDrag&) = delete;
    CBoneMarkerDrag& operator=(const CBoneMarkerDrag&) = delete;

    // The pointer is at (x, y) under the view's current scroll: the live
    // position follows it, clamped to 0–64 half cells. Returns whether the
    // live position changed.
    bool Move(float x, float y);
    // The button is released at (x, y): as Move, then the joint point takes
    // the live position within the face's plane, as one undo step with sender
    // as initiating view when it changed. Returns whether a step was made.
    bool End(float x, float y, CDocumentObserver* sender);
    // The drag is abandoned: nothing is committed.
    void Cancel();

    bool IsActive() const;
    CDotPart& Part() const { return *part_; }

private:
    BoneMarkerView& view_;
    CDotPart* part_;
    float offsetX_;
    float offsetY_;
};
