// The bone markers of the dot view: the places where the rigging editor
// draws the joint points of the shown part and its children, lets the user
// drag them, and names them in the tooltip. None are shown yet.

#include "views/DotViewTools.h"

void CDotView::DrawMarkers(QPainter&) {}

CDotView::CTracker* CDotView::MarkerTrackerAt(const QPointF&) { return nullptr; }

QString CDotView::MarkerNamesAt(const QPointF&) const { return {}; }
