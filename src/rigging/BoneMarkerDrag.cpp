#include "rigging/BoneMarkerDrag.h"

#include "document/DotPart.h"

CBoneMarkerDrag::CBoneMarkerDrag(BoneMarkerView& view, CDotPart& part, float x, float y)
    : view_(view), part_(&part) {
    const MarkerCoords start = GetMarkerCoords(view, part);
    const auto [centreX, centreY] = MarkerCentre(view, start.u, start.w);
    offsetX_ = centreX - x;
    offsetY_ = centreY - y;
    view_.dragged = part_;
    view_.dragU = start.u;
    view_.dragW = start.w;
    Move(x, y);
}

CBoneMarkerDrag::~CBoneMarkerDrag() { Cancel(); }

bool CBoneMarkerDrag::Move(float x, float y) {
    if (!IsActive())
        return false;
    const auto [u, w] = DragCoords(view_, x + offsetX_, y + offsetY_);
    if (u == view_.dragU && w == view_.dragW)
        return false;
    view_.dragU = u;
    view_.dragW = w;
    return true;
}

bool CBoneMarkerDrag::End(float x, float y, CDocumentObserver* sender) {
    if (!IsActive())
        return false;
    Move(x, y);
    const int u = view_.dragU;
    const int w = view_.dragW;
    // Forget the drag first: the command's hint repaints the views, which
    // then draw the stored point.
    view_.dragged = nullptr;
    if (!view_.part)
        return false;
    return CommitMarkerDrag(*view_.part, *part_, u, w, sender);
}

bool CBoneMarkerDrag::IsActive() const { return view_.dragged == part_; }

void CBoneMarkerDrag::Cancel() {
    if (IsActive())
        view_.dragged = nullptr;
}
