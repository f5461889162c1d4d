#include "app/AppIcon.h"

#include <QPainter>
#include <QPolygonF>

namespace {

// One cube in the 64 × 64 design grid: its top corner and the colours of
// its top, left and right faces.
struct CUBE {
    int x, y;
    QRgb top, left, right;
};

// Drawn back to front.
constexpr CUBE Cubes[] = {
    {20, 18, 0x8fb8ff, 0x4a7fe0, 0x2c56a8},
    {44, 18, 0x9be39b, 0x4cb84c, 0x2e8a2e},
    {32, 25, 0xff9f9f, 0xe04a4a, 0xa82c2c},
    {32, 11, 0xfff2a0, 0xe6cc3a, 0xb09a1e},
};

void PaintCube(QPainter& painter, const CUBE& cube) {
    const double x = cube.x, y = cube.y;
    const QPolygonF top({{x, y}, {x + 12, y + 7}, {x, y + 14}, {x - 12, y + 7}});
    const QPolygonF left({{x - 12, y + 7}, {x, y + 14}, {x, y + 28}, {x - 12, y + 21}});
    const QPolygonF right({{x, y + 14}, {x + 12, y + 7}, {x + 12, y + 21}, {x, y + 28}});
    painter.setBrush(QColor(cube.top));
    painter.drawPolygon(top);
    painter.setBrush(QColor(cube.left));
    painter.drawPolygon(left);
    painter.setBrush(QColor(cube.right));
    painter.drawPolygon(right);
}

} // namespace

QPixmap PaintAppIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    QPen pen(QColor(0x20, 0x20, 0x20), 1.0);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    for (const CUBE& cube : Cubes)
        PaintCube(painter, cube);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(PaintAppIcon(size));
    return icon;
}
