#include "views/BoneMarkerLayer.h"

#include <QPainter>

#include "document/DotPart.h"
#include "views/BoneMarkerSheet.h"

namespace {

// The sheet at the markers' size in DIPs.
constexpr int MarkerPixels = 16;

const QImage& MarkerSheet() {
    static const QImage sheet = BoneMarkerSheet(MarkerPixels);
    return sheet;
}

} // namespace

void DrawBoneMarker(QPainter& painter, const QRectF& target, int boneKind, bool highlighted) {
    painter.save();
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, MarkerSheet(),
                      BoneMarkerCell(boneKind, highlighted ? 1 : 0, MarkerPixels));
    painter.restore();
}

void PaintBoneMarkers(QPainter& painter, const BoneMarkerView& view, const CPart* marked) {
    for (const MarkerDraw& marker : GetMarkerDrawList(view, marked)) {
        const MarkerRect rect = GetMarkerRect(view, *marker.part);
        DrawBoneMarker(painter,
                       QRectF(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
                       marker.part->boneKind, marker.highlighted);
    }
}

QString BoneMarkerTooltip(const BoneMarkerView& view, QPointF point, const CPart* marked) {
    const std::vector<CDotPart*> hits =
        GetMarkersAt(view, static_cast<float>(point.x()), static_cast<float>(point.y()));
    QString text = QString::fromStdU16String(GetMarkerTooltip(hits, marked));
    // The core joins the names with "\r\n"; a Qt tooltip breaks lines at "\n".
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
