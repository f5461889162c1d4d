#pragma once
// Painting of dot cells, shared by the dot view and the palette: a filled
// cell, or the grey checkerboard of an empty cell with the colour of the dot
// one slice deeper as a centred square, and the one-pixel black grid.

#include <QBrush>
#include <QColor>
#include <cstdint>

class CDotDocument;
class QPainter;
class QRectF;

class CCellPainter {
public:
    explicit CCellPainter(const CDotDocument& document) : document_(document) {}

    // A cell of palette index value (0 = empty) with index behind seen
    // through it when it is empty (0 = nothing behind).
    void DrawDot(QPainter& painter, const QRectF& cell, int value, int behind) const;
    // The colour of palette index 1–31 (black for any other index).
    QColor ColorOf(int index) const;

    // A cell in explicit colours; fill or behind may be null.
    static void DrawCell(QPainter& painter, const QRectF& cell, const QColor* fill,
                         const QColor* behind);
    // The empty-cell pattern: an 8 × 8 checkerboard of single grey (128) and
    // light grey (192) pixels, tiled.
    static const QBrush& EmptyCellBrush();
    // A COLORREF (0x00BBGGRR) as an opaque QColor.
    static QColor FromColorRef(uint32_t colorRef);

private:
    const CDotDocument& document_;
};
