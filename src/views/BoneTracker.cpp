#include "views/BoneTracker.h"

#include <QPainter>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "views/BoneMarkerLayer.h"

CBoneTracker::CBoneTracker(CDotView& view) : CTracker(view) {}

CBoneTracker::~CBoneTracker() = default;

BoneMarkerView& CBoneTracker::Sync() {
    markers_.part = view_.Part();
    const DotPoint origin = view_.ScrollOrigin();
    markers_.scrollColumn = origin.x;
    markers_.scrollRow = origin.y;
    return markers_;
}

void CBoneTracker::Draw(QPainter& painter) {
    PaintBoneMarkers(painter, Sync(), view_.Document().markedPart);
}

bool CBoneTracker::IsOverMarker(const QPointF& point) {
    return !GetMarkersAt(Sync(), static_cast<float>(point.x()), static_cast<float>(point.y()))
                .empty();
}

QString CBoneTracker::NamesAt(const QPointF& point) {
    return BoneMarkerTooltip(Sync(), point, view_.Document().markedPart);
}

void CBoneTracker::OnBegin(int, const QPointF& point) {
    drag_.reset();
    CDotDocument& document = view_.Document();
    const float x = static_cast<float>(point.x());
    const float y = static_cast<float>(point.y());
    CDotPart* picked = PickMarker(GetMarkersAt(Sync(), x, y), document.markedPart);
    if (!picked)
        return;
    if (picked != document.markedPart) {
        view_.ClearSelection();
        MarkPart(document, picked, &view_);
    }
    drag_ = std::make_unique<CBoneMarkerDrag>(markers_, *picked, x, y);
    OnMove({}, point);
}

void CBoneTracker::OnMove(Qt::KeyboardModifiers, const QPointF& point) {
    if (!drag_)
        return;
    const bool moved = drag_->Move(static_cast<float>(point.x()), static_cast<float>(point.y()));
    const bool scrolled = view_.EnsureCellVisible(view_.CellAt(point));
    Sync();
    if (moved || scrolled)
        view_.Invalidate();
}

void CBoneTracker::OnEnd(int, const QPointF& point) {
    if (!drag_)
        return;
    OnMove({}, point);
    // The command tells the other views; this one repaints itself.
    drag_->End(static_cast<float>(point.x()), static_cast<float>(point.y()), &view_);
    drag_.reset();
    view_.Invalidate();
}

void CBoneTracker::OnCancel() {
    if (!drag_)
        return;
    drag_->Cancel();
    drag_.reset();
    view_.Invalidate();
}

QCursor CBoneTracker::GetCursor() const { return QCursor(Qt::SizeAllCursor); }

const CDotPart* CBoneTracker::Dragged() const { return drag_ ? &drag_->Part() : nullptr; }
