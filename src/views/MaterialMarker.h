#pragma once
// The material marker under each palette colour, painted in code at any
// scale: a hollow ring while the colour goes through the shared texture, a
// shaded ball once it is a material of its own.

class QPainter;
class QRectF;

// Paints the marker for a material flag into cell (a square drawn as 16 ×
// 16 units, scaled to the cell).
void PaintMaterialMarker(QPainter& painter, const QRectF& cell, bool material);
