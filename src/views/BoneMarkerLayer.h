#pragma once
// What the dot view shows of the bone markers: the markers themselves, drawn
// last over the slice from the shared marker sheet, and the tooltip naming
// the parts under the pointer.

#include <QPointF>
#include <QString>

#include "rigging/BoneMarkers.h"

class QPainter;
class QRectF;

// Draws the sheet's piece for boneKind (highlighted for the marked part) into
// target at full opacity without smoothing, so its pixels stay crisp.
void DrawBoneMarker(QPainter& painter, const QRectF& target, int boneKind, bool highlighted);

// Draws the markers of view in order, the marked part's on top and
// highlighted. painter works in DIPs with the view's top-left at (0, 0).
void PaintBoneMarkers(QPainter& painter, const BoneMarkerView& view, const CPart* marked);

// The names of the parts whose markers are under point, the one a click
// would pick first, one per line; empty when there is none.
QString BoneMarkerTooltip(const BoneMarkerView& view, QPointF point, const CPart* marked);
