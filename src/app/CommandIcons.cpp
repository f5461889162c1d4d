#include "app/CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "resources/CommandIds.h"

namespace {

using Painter = std::function<void(QPainter&)>;

const QColor Ink(0x30, 0x30, 0x30);
const QColor Paper(0xff, 0xff, 0xff);

QPen InkPen(double width = 1.5) {
    QPen pen(Ink, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Page(QPainter& p, double x, double y) {
    p.setPen(InkPen(1.2));
    p.setBrush(Paper);
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + 9, y);
    path.lineTo(x + 13, y + 4);
    path.lineTo(x + 13, y + 17);
    path.lineTo(x, y + 17);
    path.closeSubpath();
    p.drawPath(path);
    p.drawPolyline(QPolygonF({{x + 9, y}, {x + 9, y + 4}, {x + 13, y + 4}}));
}

void Cube(QPainter& p, double x, double y, double s, QColor color) {
    const double w = s * 0.866, h = s / 2;
    p.setPen(InkPen(1.0));
    p.setBrush(color.lighter(140));
    p.drawPolygon(QPolygonF({{x, y}, {x + w, y + h}, {x, y + s}, {x - w, y + h}}));
    p.setBrush(color);
    p.drawPolygon(QPolygonF({{x - w, y + h}, {x, y + s}, {x, y + 2 * s}, {x - w, y + s + h}}));
    p.setBrush(color.darker(140));
    p.drawPolygon(QPolygonF({{x, y + s}, {x + w, y + h}, {x + w, y + s + h}, {x, y + 2 * s}}));
}

void CurvedArrow(QPainter& p, bool left) {
    p.save();
    if (!left) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.setPen(InkPen(2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(6, 10);
    path.cubicTo(12, 4, 21, 7, 20, 14);
    path.cubicTo(19.5, 18, 16, 20, 12, 20);
    p.drawPath(path);
    p.setBrush(Ink);
    p.setPen(InkPen(1.0));
    p.drawPolygon(QPolygonF({{3, 6}, {10, 7}, {5, 13}}));
    p.restore();
}

void Pencil(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    p.setPen(InkPen(1.0));
    p.setBrush(QColor(0xf2, 0xc1, 0x3a));
    p.drawRect(QRectF(-3, -10, 6, 14));
    p.setBrush(QColor(0xe8, 0xc9, 0x9a));
    p.drawPolygon(QPolygonF({{-3, 4}, {3, 4}, {0, 10}}));
    p.setBrush(QColor(0xe0, 0x70, 0x80));
    p.drawRect(QRectF(-3, -12, 6, 2));
    p.restore();
}

void Dropper(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.rotate(45);
    p.setPen(InkPen(1.0));
    p.setBrush(QColor(0xc8, 0xe0, 0xff));
    p.drawRect(QRectF(-1.5, -4, 3, 12));
    p.drawLine(QPointF(0, 8), QPointF(0, 11));
    p.setBrush(Ink);
    p.drawEllipse(QRectF(-3.5, -11, 7, 7));
    p.restore();
}

void Bucket(QPainter& p) {
    p.setPen(InkPen(1.2));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawPolygon(QPolygonF({{4, 10}, {12, 4}, {19, 12}, {11, 19}}));
    p.setBrush(QColor(0x3a, 0x7b, 0xe0));
    QPainterPath drop;
    drop.moveTo(20, 13);
    drop.cubicTo(23, 18, 22, 21, 20, 21);
    drop.cubicTo(18, 21, 17, 18, 20, 13);
    p.drawPath(drop);
}

void Scissors(QPainter& p) {
    p.setPen(InkPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(7, 3), QPointF(16, 15));
    p.drawLine(QPointF(17, 3), QPointF(8, 15));
    p.drawEllipse(QRectF(3, 15, 6, 6));
    p.drawEllipse(QRectF(15, 15, 6, 6));
}

void Clipboard(QPainter& p) {
    p.setPen(InkPen(1.2));
    p.setBrush(QColor(0xb0, 0x80, 0x50));
    p.drawRoundedRect(QRectF(3, 4, 13, 17), 1.5, 1.5);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    p.drawRect(QRectF(6.5, 2.5, 6, 3));
    Page(p, 10, 7);
}

void Bone(QPainter& p) {
    p.setPen(InkPen(1.0));
    p.setBrush(QColor(0xf4, 0xf0, 0xe0));
    p.save();
    p.translate(12, 12);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-7, -2, 14, 4), 1, 1);
    for (double x : {-8.0, 8.0})
        for (double y : {-2.5, 2.5})
            p.drawEllipse(QPointF(x, y), 2.6, 2.6);
    p.restore();
}

void Gear(QPainter& p) {
    p.setPen(InkPen(1.0));
    p.setBrush(QColor(0x90, 0x90, 0xa0));
    p.save();
    p.translate(12, 12);
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-1.8, -10, 3.6, 5));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 6.5, 6.5);
    p.setBrush(Paper);
    p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
    p.restore();
}

Painter PainterFor(unsigned id) {
    switch (id) {
    case ID_FILE_NEW: return [](QPainter& p) { Page(p, 5, 3); };
    case ID_FILE_OPEN:
        return [](QPainter& p) {
            p.setPen(InkPen(1.2));
            p.setBrush(QColor(0xe8, 0xb8, 0x40));
            p.drawPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {21, 8}, {21, 19}, {2, 19}}));
            p.setBrush(QColor(0xf8, 0xd8, 0x70));
            p.drawPolygon(QPolygonF({{2, 19}, {5, 11}, {23, 11}, {21, 19}}));
        };
    case ID_FILE_SAVE:
        return [](QPainter& p) {
            p.setPen(InkPen(1.2));
            p.setBrush(QColor(0x35, 0x5f, 0xb0));
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(Paper);
            p.drawRect(QRectF(7, 3, 10, 7));
            p.setBrush(QColor(0xd8, 0xd8, 0xd8));
            p.drawRect(QRectF(6, 13, 12, 8));
        };
    case ID_EDIT_CUT: return Scissors;
    case ID_EDIT_COPY:
        return [](QPainter& p) {
            Page(p, 3, 2);
            Page(p, 9, 6);
        };
    case ID_EDIT_PASTE: return Clipboard;
    case ID_EDIT_UNDO: return [](QPainter& p) { CurvedArrow(p, true); };
    case ID_EDIT_REDO: return [](QPainter& p) { CurvedArrow(p, false); };
    case ID_TOOL_SELECT:
        return [](QPainter& p) {
            QPen pen(Ink, 1.5, Qt::DashLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(4, 5, 16, 14));
        };
    case ID_TOOL_PENCIL: return Pencil;
    case ID_TOOL_LINE:
        return [](QPainter& p) {
            p.setPen(InkPen(2.5));
            p.drawLine(QPointF(4, 20), QPointF(20, 4));
        };
    case ID_TOOL_RECTANGLE:
        return [](QPainter& p) {
            p.setPen(InkPen(2.0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(4, 6, 16, 12));
        };
    case ID_TOOL_FILLED_RECTANGLE:
        return [](QPainter& p) {
            p.setPen(InkPen(2.0));
            p.setBrush(QColor(0x3a, 0x7b, 0xe0));
            p.drawRect(QRectF(4, 6, 16, 12));
        };
    case ID_TOOL_PAINT: return Bucket;
    case ID_TOOL_SPOIT: return Dropper;
    case ID_PREVIEW_PART: return [](QPainter& p) { Cube(p, 12, 3, 9, QColor(0xe0, 0x4a, 0x4a)); };
    case ID_PREVIEW_MODEL:
        return [](QPainter& p) {
            Cube(p, 7, 5, 6, QColor(0x4a, 0x7f, 0xe0));
            Cube(p, 17, 5, 6, QColor(0x4c, 0xb8, 0x4c));
            Cube(p, 12, 9, 6, QColor(0xe0, 0x4a, 0x4a));
        };
    case ID_PART_STANDARD_BONES: return Bone;
    case ID_PART_RIGID_BODY:
        return [](QPainter& p) {
            QRadialGradient shade(QPointF(9, 9), 10);
            shade.setColorAt(0, QColor(0xb0, 0xf0, 0xb0));
            shade.setColorAt(1, QColor(0x30, 0x90, 0x30));
            p.setPen(InkPen(1.0));
            p.setBrush(shade);
            p.drawEllipse(QRectF(3, 3, 18, 18));
        };
    case ID_PART_JOINT:
        return [](QPainter& p) {
            p.setPen(InkPen(1.0));
            p.setBrush(QColor(0x40, 0xa0, 0x40));
            p.drawEllipse(QRectF(2, 2, 9, 9));
            p.setBrush(QColor(0xe0, 0xc0, 0x30));
            p.drawEllipse(QRectF(13, 13, 9, 9));
            p.setPen(InkPen(2.0));
            p.drawLine(QPointF(10, 10), QPointF(14, 14));
        };
    case ID_PART_PHYSICS: return Gear;
    case ID_GENERATE_MODEL:
        return [](QPainter& p) {
            Cube(p, 10, 5, 7, QColor(0xe6, 0xcc, 0x3a));
            p.setPen(InkPen(1.0));
            p.setBrush(QColor(0xff, 0x80, 0x20));
            p.drawPolygon(
                QPolygonF({{18, 12}, {22, 16}, {18, 20}, {18, 18}, {13, 18}, {13, 14}, {18, 14}}));
        };
    case ID_APP_ABOUT:
        return [](QPainter& p) {
            p.setPen(InkPen(1.2));
            p.setBrush(QColor(0x35, 0x5f, 0xb0));
            p.drawEllipse(QRectF(3, 3, 18, 18));
            QFont font = p.font();
            font.setPixelSize(14);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Paper);
            p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        };
    default: return {};
    }
}

} // namespace

QIcon CommandIcon(unsigned id) {
    const Painter paint = PainterFor(id);
    if (!paint)
        return {};
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
