#pragma once
// The bone markers of the dot view and the drag of one of them. The view asks
// it to draw the markers, whether one is under the pointer (for the cursor and
// the left press) and what the tooltip says; while a marker is dragged it is
// the view's active tracker. The rules come from the core (BoneMarkers,
// CBoneMarkerDrag); this adds the view's scroll, repainting and the cursor.

#include <QPointF>
#include <QString>
#include <memory>

#include "rigging/BoneMarkerDrag.h"
#include "views/DotViewTools.h"

class QPainter;

class CBoneTracker : public CDotView::CTracker {
public:
    explicit CBoneTracker(CDotView& view);
    ~CBoneTracker() override;

    // The markers of the view's part, the marked part's on top.
    void Draw(QPainter& painter);
    // Whether a marker is under point (viewport DIPs).
    bool IsOverMarker(const QPointF& point);
    // The names under point, the one a click picks first, one per line.
    QString NamesAt(const QPointF& point);

    // A left press on a marker: picks the part (stepping through overlapping
    // markers on repeated clicks), marks it, and starts dragging its marker.
    void OnBegin(int button, const QPointF& point) override;
    // The release: the joint point takes the marker's place as one undo step
    // when it moved.
    void OnEnd(int button, const QPointF& point) override;
    // The marker follows the pointer within the grid; the view scrolls to keep
    // the pointer's cell in sight.
    void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) override;
    // Nothing is committed; the marker goes back to its stored point.
    void OnCancel() override;
    // The four-headed move cursor.
    QCursor GetCursor() const override;

    // The part being dragged, null between drags.
    const CDotPart* Dragged() const;

private:
    // Takes the view's part and scroll origin.
    BoneMarkerView& Sync();

    BoneMarkerView markers_;
    std::unique_ptr<CBoneMarkerDrag> drag_;
};
