#pragma once
// The bone-marker picture: four 16 × 16 markers side by side, one column per
// bone kind (rotate, move, none, hidden), normal in the top row and
// highlighted in the bottom row. It is painted in code once and shared by
// every view that shows bone markers (the dot view, the part list, the
// preview's sprites).

#include <QImage>
#include <QRect>

class QPainter;
class QRectF;

inline constexpr int BoneMarkerSize = 16;

// The whole picture, 64 × 32 pixels with alpha.
const QImage& BoneMarkerImage();
// The piece for a part of kind boneKind; a kind outside 0–3 (a damaged
// document) shows as a moving bone rather than an empty piece.
QRect BoneMarkerSource(int boneKind, bool highlighted);
// Draws that piece into target at full opacity without smoothing, so the
// pixels stay crisp when target is larger than the piece.
void DrawBoneMarker(QPainter& painter, const QRectF& target, int boneKind, bool highlighted);
