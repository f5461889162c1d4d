#include "views/DotViewTools.h"

#include "document/DotDrawing.h"
#include "resources/CommandIds.h"
#include "views/ToolCursors.h"

namespace {
constexpr unsigned StringPencil = 130;          // 鉛筆ツール
constexpr unsigned StringLine = 132;            // 直線ツール
constexpr unsigned StringMove = 133;            // 移動
constexpr unsigned StringRectangle = 135;       // 矩形
constexpr unsigned StringFilledRectangle = 136; // 塗りつぶし矩形
constexpr unsigned StringFill = 137;            // 塗りつぶし

constexpr DotSize Grid{SliceSide, SliceSide};
} // namespace

QCursor CDotView::CTool::GetCursor() const { return ToolCursor(id_); }

// --- Pencil ------------------------------------------------------------------

CDotView::CPencilTool::CPencilTool(CDotView& view) : CTool(view, ID_TOOL_PENCIL) {}

void CDotView::CPencilTool::OnBegin(int button, const QPointF& point) {
    color_ = view_.DrawingColor(button);
    OnMove({}, point);
}

void CDotView::CPencilTool::OnMove(Qt::KeyboardModifiers, const QPointF& point) {
    const DotPoint cell = view_.CellAt(point);
    if (view_.EnsureCellVisible(cell))
        view_.Invalidate();
    if (SetCell(view_.Working(), cell.x, cell.y, color_))
        view_.InvalidateCell(cell);
}

void CDotView::CPencilTool::OnEnd(int, const QPointF& point) {
    OnMove({}, point);
    view_.CommitSlice(StringPencil);
}

// --- Line --------------------------------------------------------------------

CDotView::CLineTool::CLineTool(CDotView& view) : CTool(view, ID_TOOL_LINE) {}

void CDotView::CLineTool::OnBegin(int button, const QPointF& point) {
    view_.ClearSelection();
    color_ = view_.DrawingColor(button);
    snapshot_.Copy(view_.Working());
    start_ = end_ = view_.CellAt(point);
    Draw();
}

void CDotView::CLineTool::OnMove(Qt::KeyboardModifiers, const QPointF& point) {
    const DotPoint cell = view_.CellAt(point);
    const bool scrolled = view_.EnsureCellVisible(cell);
    if (!(cell == end_)) {
        end_ = cell;
        Draw();
    } else if (scrolled) {
        view_.Invalidate();
    }
}

void CDotView::CLineTool::OnEnd(int, const QPointF& point) {
    OnMove({}, point);
    view_.CommitSlice(StringLine);
}

void CDotView::CLineTool::Draw() {
    view_.Working().Copy(snapshot_);
    DrawLine(view_.Working(), start_, end_, color_);
    view_.Invalidate();
}

// --- Rectangles and the selection -------------------------------------------

void CDotView::CRangeTool::BeginRange(const QPointF& point) {
    view_.ClearSelection();
    anchor_ = view_.CellAt(point);
    hasRange_ = false;
    MoveRange(point);
}

void CDotView::CRangeTool::OnMove(Qt::KeyboardModifiers, const QPointF& point) { MoveRange(point); }

void CDotView::CRangeTool::MoveRange(const QPointF& point) {
    const DotPoint cell = view_.CellAt(point);
    const bool scrolled = view_.EnsureCellVisible(cell);
    const DotRect rect = RangeRect(anchor_, cell, Grid);
    const bool changed = !hasRange_ || !(rect == range_);
    if (changed) {
        range_ = rect;
        hasRange_ = true;
        SetRange(rect);
    }
    if (changed || scrolled)
        view_.Invalidate();
}

CDotView::CSelectionTool::CSelectionTool(CDotView& view) : CRangeTool(view, ID_TOOL_SELECT) {}

void CDotView::CSelectionTool::OnBegin(int, const QPointF& point) { BeginRange(point); }

void CDotView::CSelectionTool::OnEnd(int, const QPointF& point) {
    MoveRange(point);
    view_.LiftSelection();
}

void CDotView::CSelectionTool::SetRange(const DotRect& rect) { view_.SetSelection(rect); }

CDotView::CRectangleTool::CRectangleTool(CDotView& view, unsigned id)
    : CRangeTool(view, id ? id : ID_TOOL_RECTANGLE) {}

void CDotView::CRectangleTool::OnBegin(int button, const QPointF& point) {
    color_ = view_.DrawingColor(button);
    snapshot_.Copy(view_.Working());
    BeginRange(point);
}

void CDotView::CRectangleTool::OnEnd(int, const QPointF& point) {
    MoveRange(point);
    view_.CommitSlice(GetUndoName());
}

void CDotView::CRectangleTool::SetRange(const DotRect& rect) {
    view_.Working().Copy(snapshot_);
    DrawRange(rect, color_);
}

void CDotView::CRectangleTool::DrawRange(const DotRect& rect, int color) {
    DrawOutline(view_.Working(), rect, color);
}

unsigned CDotView::CRectangleTool::GetUndoName() const { return StringRectangle; }

CDotView::CFilledRectangleTool::CFilledRectangleTool(CDotView& view)
    : CRectangleTool(view, ID_TOOL_FILLED_RECTANGLE) {}

void CDotView::CFilledRectangleTool::DrawRange(const DotRect& rect, int color) {
    DrawFilledRect(view_.Working(), rect, color);
}

unsigned CDotView::CFilledRectangleTool::GetUndoName() const { return StringFilledRectangle; }

// --- Fill and picker ---------------------------------------------------------

CDotView::CPaintTool::CPaintTool(CDotView& view) : CTool(view, ID_TOOL_PAINT) {}

void CDotView::CPaintTool::OnBegin(int button, const QPointF& point) {
    const DotPoint cell = view_.CellAt(point);
    if (!InRange(cell))
        return;
    if (FloodFill(view_.Working(), cell, view_.DrawingColor(button))) {
        view_.Invalidate();
        view_.CommitSlice(StringFill);
    }
}

CDotView::CSpoitTool::CSpoitTool(CDotView& view) : CTool(view, ID_TOOL_SPOIT) {}

void CDotView::CSpoitTool::OnBegin(int button, const QPointF& point) {
    view_.PickColor(button, view_.CellAt(point));
}

void CDotView::CSpoitTool::OnEnd(int, const QPointF&) {
    if (previous_ && previous_ != view_.CurrentTool())
        view_.SelectTool(previous_);
}

// --- Moving the selection ----------------------------------------------------

void CDotView::CSelectionTracker::OnBegin(int, const QPointF& point) {
    offset_ = view_.SelectionRect().topLeft() - point;
    if (MoveStep(point))
        view_.Invalidate();
}

void CDotView::CSelectionTracker::OnMove(Qt::KeyboardModifiers, const QPointF& point) {
    if (MoveStep(point))
        view_.Invalidate();
}

void CDotView::CSelectionTracker::OnEnd(int, const QPointF& point) {
    if (MoveStep(point))
        view_.Invalidate();
    view_.CommitSlice(StringMove);
}

bool CDotView::CSelectionTracker::MoveStep(const QPointF& point) {
    const bool moved = view_.MoveSelectionTo(view_.CellAt(point + offset_));
    const bool scrolled = view_.EnsureCellVisible(view_.CellAt(point));
    return moved || scrolled;
}
