#include "views/BoneMarkerImage.h"

#include <QPainter>
#include <QPainterPath>

#include "document/Part.h"

namespace {

struct MARKER_COLORS {
    QColor fill;
    QColor line;
};

// Blue for the markers of a face, orange for the marked part.
constexpr QRgb NormalFill = 0xFF3C8CFF;
constexpr QRgb NormalLine = 0xFF0A2A6E;
constexpr QRgb MarkedFill = 0xFFFF7A1E;
constexpr QRgb MarkedLine = 0xFF6E1E00;

// One marker in the 16 × 16 square at origin. The shapes tell the kinds
// apart without colour: a ring turns, a cross moves, an open circle has no
// bone, a dashed square is left out of the model.
void PaintMarker(QPainter& painter, QPoint origin, int kind, const MARKER_COLORS& colors) {
    painter.save();
    painter.translate(origin);
    const QPen line(colors.line, 1.0);
    switch (kind) {
    case BONE_ROTATE:
        painter.setPen(line);
        painter.setBrush(colors.fill);
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        break;
    case BONE_MOVE:
        painter.setPen(line);
        painter.setBrush(colors.fill);
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.fillRect(QRect(7, 4, 2, 8), Qt::white);
        painter.fillRect(QRect(4, 7, 8, 2), Qt::white);
        break;
    case BONE_NONE:
        painter.setPen(QPen(colors.fill, 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(3, 3, 10, 10));
        painter.setPen(line);
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        break;
    default: // BONE_HIDDEN
        painter.setPen(QPen(colors.line, 1.0, Qt::DashLine));
        painter.setBrush(QColor(colors.fill.red(), colors.fill.green(), colors.fill.blue(), 96));
        painter.drawRect(QRectF(2.5, 2.5, 11, 11));
        break;
    }
    painter.restore();
}

QImage PaintImage() {
    QImage image(4 * BoneMarkerSize, 2 * BoneMarkerSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const MARKER_COLORS rows[2] = {{QColor::fromRgba(NormalFill), QColor::fromRgba(NormalLine)},
                                   {QColor::fromRgba(MarkedFill), QColor::fromRgba(MarkedLine)}};
    for (int row = 0; row < 2; ++row)
        for (int kind = 0; kind < 4; ++kind)
            PaintMarker(painter, QPoint(kind * BoneMarkerSize, row * BoneMarkerSize), kind, rows[row]);
    return image;
}

} // namespace

const QImage& BoneMarkerImage() {
    static const QImage image = PaintImage();
    return image;
}

QRect BoneMarkerSource(int boneKind, bool highlighted) {
    const int column = boneKind >= BONE_ROTATE && boneKind <= BONE_HIDDEN ? boneKind : BONE_MOVE;
    return QRect(column * BoneMarkerSize, highlighted ? BoneMarkerSize : 0, BoneMarkerSize,
                 BoneMarkerSize);
}

void DrawBoneMarker(QPainter& painter, const QRectF& target, int boneKind, bool highlighted) {
    painter.save();
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, BoneMarkerImage(), BoneMarkerSource(boneKind, highlighted));
    painter.restore();
}
