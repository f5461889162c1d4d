#include "views/BoneMarkerSheet.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// The marker of one bone kind inside a cell-sized square: a ring for a
// rotating bone, a ring with a cross of arrows for a moving one, a small
// diamond for a part without a bone of its own and a crossed-out ring for a
// hidden part. Marked markers are red on a light fill, plain ones blue.
void PaintMarker(QPainter& painter, const QRectF& cell, int kind, bool marked) {
    const qreal s = cell.width();
    const QRectF ring = cell.adjusted(s * 0.18, s * 0.18, -s * 0.18, -s * 0.18);
    const QColor line = marked ? QColor(200, 20, 20) : QColor(20, 60, 190);
    const QColor fill = marked ? QColor(255, 230, 120, 230) : QColor(255, 255, 255, 200);
    QPen pen(line, std::max<qreal>(1.0, s * 0.09));
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(fill);
    const QPointF c = cell.center();
    switch (kind) {
    case 0: // rotate
        painter.drawEllipse(ring);
        painter.setBrush(line);
        painter.drawEllipse(c, s * 0.07, s * 0.07);
        break;
    case 1: { // move: a ring with four arrow heads outside it
        painter.drawEllipse(ring.adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08));
        painter.setBrush(line);
        const qreal a = s * 0.48, b = s * 0.30, w = s * 0.12;
        for (int k = 0; k < 4; ++k) {
            QPainterPath head;
            head.moveTo(0, -a);
            head.lineTo(w, -b);
            head.lineTo(-w, -b);
            head.closeSubpath();
            QTransform turn;
            turn.translate(c.x(), c.y());
            turn.rotate(90.0 * k);
            painter.drawPath(turn.map(head));
        }
        break;
    }
    case 2: { // none
        QPainterPath diamond;
        const qreal r = s * 0.22;
        diamond.moveTo(c.x(), c.y() - r);
        diamond.lineTo(c.x() + r, c.y());
        diamond.lineTo(c.x(), c.y() + r);
        diamond.lineTo(c.x() - r, c.y());
        diamond.closeSubpath();
        painter.drawPath(diamond);
        break;
    }
    default: // hidden
        painter.drawEllipse(ring);
        painter.drawLine(ring.topLeft() + QPointF(s * 0.08, s * 0.08),
                         ring.bottomRight() - QPointF(s * 0.08, s * 0.08));
        break;
    }
}

} // namespace

QRect BoneMarkerCell(int boneKind, int row, int cell) {
    return {std::clamp(boneKind, 0, BoneMarkerColumns - 1) * cell,
            std::clamp(row, 0, BoneMarkerRows - 1) * cell, cell, cell};
}

QImage BoneMarkerSheet(int cell) {
    cell = std::max(cell, 4);
    QImage sheet(BoneMarkerColumns * cell, BoneMarkerRows * cell,
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int row = 0; row < BoneMarkerRows; ++row)
        for (int kind = 0; kind < BoneMarkerColumns; ++kind)
            PaintMarker(painter, QRectF(BoneMarkerCell(kind, row, cell)), kind, row == 1);
    return sheet;
}
