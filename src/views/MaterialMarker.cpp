#include "views/MaterialMarker.h"

#include <QPainter>
#include <QRadialGradient>

void PaintMaterialMarker(QPainter& painter, const QRectF& cell, bool material) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(cell.topLeft());
    painter.scale(cell.width() / 16.0, cell.height() / 16.0);
    const QRectF ball(3.0, 3.0, 10.0, 10.0);
    if (material) {
        // Lit from the upper left, as a shiny surface is.
        QRadialGradient light(QPointF(6.5, 6.0), 7.5, QPointF(6.0, 5.5));
        light.setColorAt(0.0, QColor(255, 255, 255));
        light.setColorAt(0.45, QColor(150, 160, 190));
        light.setColorAt(1.0, QColor(40, 44, 64));
        painter.setPen(QPen(QColor(32, 32, 32), 0.8));
        painter.setBrush(light);
        painter.drawEllipse(ball);
    } else {
        painter.setPen(QPen(QColor(128, 128, 128), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(ball.adjusted(0.6, 0.6, -0.6, -0.6));
    }
    painter.restore();
}
