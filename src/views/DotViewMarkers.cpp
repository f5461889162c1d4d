// The bone markers of the dot view: the joint points of the shown part and
// its children, drawn over the slice, dragged with the bone tracker and named
// in the tooltip.

#include "views/BoneTracker.h"

void CDotView::DrawMarkers(QPainter& painter) { boneTracker_->Draw(painter); }

CDotView::CTracker* CDotView::MarkerTrackerAt(const QPointF& point) {
    return boneTracker_->IsOverMarker(point) ? boneTracker_.get() : nullptr;
}

QString CDotView::MarkerNamesAt(const QPointF& point) const { return boneTracker_->NamesAt(point); }
