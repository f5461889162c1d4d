#include "views/CellPainter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "document/DotDocument.h"

namespace {

QBrush MakeEmptyCellBrush() {
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x + y) % 2 ? qRgb(192, 192, 192) : qRgb(128, 128, 128));
    return QBrush(QPixmap::fromImage(pattern));
}

} // namespace

const QBrush& CCellPainter::EmptyCellBrush() {
    static const QBrush brush = MakeEmptyCellBrush();
    return brush;
}

QColor CCellPainter::FromColorRef(uint32_t colorRef) {
    return QColor(RedOf(colorRef), GreenOf(colorRef), BlueOf(colorRef));
}

QColor CCellPainter::ColorOf(int index) const {
    if (index < 1 || index > PaletteSize)
        return Qt::black;
    return FromColorRef(document_.GetColor(index).color);
}

void CCellPainter::DrawDot(QPainter& painter, const QRectF& cell, int value, int behind) const {
    if (value != 0) {
        const QColor fill = ColorOf(value);
        DrawCell(painter, cell, &fill, nullptr);
    } else if (behind != 0) {
        const QColor back = ColorOf(behind);
        DrawCell(painter, cell, nullptr, &back);
    } else {
        DrawCell(painter, cell, nullptr, nullptr);
    }
}

void CCellPainter::DrawCell(QPainter& painter, const QRectF& cell, const QColor* fill,
                            const QColor* behind) {
    const double l = cell.left(), t = cell.top(), r = cell.right(), b = cell.bottom();
    if (fill) {
        painter.fillRect(cell, *fill);
    } else {
        painter.fillRect(cell, EmptyCellBrush());
        if (behind) {
            // The middle third of the cell inside its grid line.
            const double w = (r - 1 - l) / 3, h = (b - 1 - t) / 3;
            painter.fillRect(QRectF(QPointF(l + w, t + h), QPointF(r - 1 - w, b - 1 - h)), *behind);
        }
    }
    const QColor grid(Qt::black);
    painter.fillRect(QRectF(QPointF(l - 1, t - 1), QPointF(r, t)), grid);
    painter.fillRect(QRectF(QPointF(l - 1, b - 1), QPointF(r, b)), grid);
    painter.fillRect(QRectF(QPointF(l - 1, t - 1), QPointF(l, b)), grid);
    painter.fillRect(QRectF(QPointF(r - 1, t), QPointF(r, b)), grid);
}
