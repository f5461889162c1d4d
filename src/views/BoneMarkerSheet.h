#pragma once
// The bone-marker sheet (image 332), painted in code: 4 columns, one per
// bone kind (rotate, move, none, hidden), and 2 rows, plain markers above and
// the marked part's highlighted marker below. The dot view and the model
// preview both cut their markers from it.

#include <QImage>
#include <QRect>

inline constexpr int BoneMarkerColumns = 4;
inline constexpr int BoneMarkerRows = 2;

// The sheet with square cells of cell × cell pixels, transparent around the
// markers (premultiplied ARGB).
QImage BoneMarkerSheet(int cell = 32);
// The cell of a bone kind (0–3) and row (0 plain, 1 marked) in such a sheet.
QRect BoneMarkerCell(int boneKind, int row, int cell = 32);
