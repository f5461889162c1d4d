#include "views/DotView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <exception>

#include "document/DocumentSettings.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/UpdateHints.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "views/CellPainter.h"
#include "views/BoneTracker.h"
#include "views/DotViewTools.h"

namespace {

// The button index of a mouse button, -1 for the others.
int ButtonIndex(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return CDotView::LeftButton;
    case Qt::RightButton: return CDotView::RightButton;
    default: return -1;
    }
}

} // namespace

CDotView::CDotView(CDotDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document),
      selectionTracker_(std::make_unique<CSelectionTracker>(*this)),
      boneTracker_(std::make_unique<CBoneTracker>(*this)),
      tools_{std::make_unique<CSelectionTool>(*this),
             std::make_unique<CPencilTool>(*this),
             std::make_unique<CLineTool>(*this),
             std::make_unique<CRectangleTool>(*this),
             std::make_unique<CFilledRectangleTool>(*this),
             std::make_unique<CPaintTool>(*this),
             std::make_unique<CSpoitTool>(*this)} {
    setObjectName(QStringLiteral("DotView"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setMinimumSize(0, 0);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        bar->setSingleStep(1);
    document_.AddObserver(this);
    HandleHint(HINT_INITIAL);
}

CDotView::~CDotView() {
    document_.RemoveObserver(this);
    activeTracker_ = nullptr;
}

// --- State -------------------------------------------------------------------

DotPoint CDotView::ScrollOrigin() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

int CDotView::PageColumns() const { return ScrollPage(viewport()->width()); }
int CDotView::PageRows() const { return ScrollPage(viewport()->height()); }

unsigned CDotView::CurrentToolId() const { return currentTool_ ? currentTool_->Id() : 0; }

int CDotView::Key() const { return document_.currentColor[1]; }

CDotView::CTool* CDotView::ToolFor(unsigned id) const {
    for (const auto& tool : tools_)
        if (tool->Id() == id)
            return tool.get();
    return nullptr;
}

// --- Operations for the trackers ---------------------------------------------

DotPoint CDotView::CellAt(const QPointF& point) const {
    const DotPoint origin = ScrollOrigin();
    return {::CellAt(origin.x, point.x()), ::CellAt(origin.y, point.y())};
}

bool CDotView::InRange(DotPoint cell) {
    return cell.x >= 0 && cell.x < SliceSide && cell.y >= 0 && cell.y < SliceSide;
}

bool CDotView::EnsureCellVisible(DotPoint cell) {
    const DotPoint origin = ScrollOrigin();
    const int column = EnsureVisibleOrigin(cell.x, origin.x, PageColumns());
    const int row = EnsureVisibleOrigin(cell.y, origin.y, PageRows());
    if (column == origin.x && row == origin.y)
        return false;
    SetOrigin(column, row);
    return true;
}

void CDotView::Invalidate() { viewport()->update(); }

void CDotView::InvalidateCell(DotPoint cell) {
    const DotPoint origin = ScrollOrigin();
    // The cell with its grid lines, which reach one DIP up and left.
    viewport()->update(QRect(int(CellEdge(cell.x, origin.x)) - 1,
                             int(CellEdge(cell.y, origin.y)) - 1, CellPitch + 1, CellPitch + 1));
}

int CDotView::DrawingColor(int button) const {
    return document_.currentColor[button == RightButton ? 1 : 0];
}

void CDotView::PickColor(int button, DotPoint cell) {
    if (InRange(cell))
        SetCurrentColor(document_, button == RightButton ? 1 : 0,
                        slice_.working.GetDot(cell.x, cell.y));
}

bool CDotView::CommitSlice(unsigned nameId) {
    // Only the document's current part is ever written: a part that left the
    // tree is not.
    if (!part_ || static_cast<CPart*>(part_) != document_.currentPart)
        return false;
    try {
        if (!slice_.Commit(*part_, LoadString(nameId), Key(), document_, this))
            return false;
    } catch (const std::exception& error) {
        // Called from input events, where an exception may not pass.
        emit StatusTextChanged(0, QString::fromUtf8(error.what()));
        return false;
    }
    Invalidate();
    return true;
}

void CDotView::ClearSelection() {
    slice_.ClearSelection(Key());
    Invalidate();
}

void CDotView::SetSelection(const DotRect& rect) { slice_.selection = rect; }

void CDotView::LiftSelection() {
    slice_.Lift(slice_.selection, Key());
    Invalidate();
}

bool CDotView::MoveSelectionTo(DotPoint topLeft) {
    DotRect& selection = slice_.selection;
    if (selection.IsEmpty() || (topLeft.x == selection.left && topLeft.y == selection.top))
        return false;
    selection = {topLeft.x, topLeft.y, topLeft.x + selection.Width(),
                 topLeft.y + selection.Height()};
    slice_.floatingOrigin = topLeft;
    return true;
}

QRectF CDotView::SelectionRect() const {
    const DotRect& selection = slice_.selection;
    if (selection.IsEmpty())
        return {};
    const DotPoint origin = ScrollOrigin();
    return QRectF(
        QPointF(CellEdge(selection.left, origin.x), CellEdge(selection.top, origin.y)),
        QPointF(CellEdge(selection.right, origin.x), CellEdge(selection.bottom, origin.y)));
}

void CDotView::SelectTool(CTool* tool) {
    if (!tool || tool == currentTool_)
        return;
    ClearSelection();
    tool->Activate(currentTool_);
    currentTool_ = tool;
}

// --- Commands ----------------------------------------------------------------

bool CDotView::OnCommand(unsigned id) {
    // The current part has its own commands (faces and depth) and goes first.
    if (document_.currentPart && document_.currentPart->OnCommand(id))
        return true;
    return RunCommand(Handlers(), *this, id);
}

bool CDotView::OnUpdateCommand(unsigned id, CCommandState& state) {
    if (document_.currentPart && document_.currentPart->OnUpdateCommand(id, state))
        return true;
    return UpdateCommand(Handlers(), *this, id, state);
}

// --- Document changes --------------------------------------------------------

void CDotView::OnUpdate(CDocumentObserver*, const CUpdateNotice& notice) {
    HandleHint(notice.hint);
}

void CDotView::HandleHint(int hint) {
    switch (hint) {
    case HINT_INITIAL:
        SelectTool(ToolFor(ID_TOOL_PENCIL));
        SetOrigin(0, 0);
        [[fallthrough]];
    case HINT_PARTS:
    case HINT_SELECT_PART: TakeCurrentPart(); break;
    case HINT_DOTS:
    case HINT_FACE: Reload(); break;
    case HINT_BONE:
    case HINT_PALETTE:
    case HINT_INVERT:
    case HINT_BONE_POSITION: Invalidate(); break;
    default: break;
    }
}

void CDotView::TakeCurrentPart() {
    part_ = dynamic_cast<CDotPart*>(document_.currentPart);
    Reload();
    setEnabled(part_ != nullptr);
}

void CDotView::Reload() {
    // A drag in progress drew into the slice being replaced.
    CancelTracker();
    slice_.ClearSelection(Key());
    slice_.Reload(part_);
    Invalidate();
}

// --- Scrolling ---------------------------------------------------------------

void CDotView::SetupScrollBars() {
    const int columns = PageColumns(), rows = PageRows();
    horizontalScrollBar()->setPageStep(columns);
    horizontalScrollBar()->setRange(0, ScrollCells - columns);
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setRange(0, ScrollCells - rows);
}

void CDotView::SetOrigin(int column, int row) {
    horizontalScrollBar()->setValue(ClampScroll(column, PageColumns()));
    verticalScrollBar()->setValue(ClampScroll(row, PageRows()));
}

void CDotView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SetupScrollBars(); // the bars clamp their values into the new range
}

void CDotView::scrollContentsBy(int, int) { Invalidate(); }

void CDotView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const DotPoint origin = ScrollOrigin();
    int column = origin.x, row = origin.y;
    // Qt gives both axes the same sense: a positive delta scrolls back.
    if (delta.y() != 0) {
        const int steps = verticalWheel_.Add(delta.y());
        if (event->modifiers() & Qt::ShiftModifier)
            column -= steps;
        else
            row -= steps;
    }
    if (delta.x() != 0)
        column -= horizontalWheel_.Add(delta.x());
    SetOrigin(column, row);
    event->accept();
}

// --- Painting ----------------------------------------------------------------

void CDotView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    painter.fillRect(dirty, palette().color(QPalette::Button));
    if (part_) {
        const CDotImage composed = slice_.Compose(Key());
        const CCellPainter cells(document_);
        const DotPoint origin = ScrollOrigin();
        for (int row = origin.y; row < SliceSide; ++row) {
            const double top = CellEdge(row, origin.y);
            if (top - 1 > dirty.bottom() + 1)
                break;
            if (top + CellPitch < dirty.top())
                continue;
            for (int column = origin.x; column < SliceSide; ++column) {
                const double left = CellEdge(column, origin.x);
                if (left - 1 > dirty.right() + 1)
                    break;
                if (left + CellPitch < dirty.left())
                    continue;
                cells.DrawDot(painter, QRectF(left, top, CellPitch, CellPitch),
                              composed.GetDot(column, row), slice_.behind.GetDot(column, row));
            }
        }
        const QRectF selection = SelectionRect();
        if (!selection.isEmpty()) {
            QColor border = palette().color(QPalette::Highlight);
            border.setAlpha(127);
            const double l = selection.left(), t = selection.top(), r = selection.right(),
                         b = selection.bottom();
            painter.fillRect(QRectF(QPointF(l, t), QPointF(r, t + 4)), border);
            painter.fillRect(QRectF(QPointF(l, b - 4), QPointF(r, b)), border);
            painter.fillRect(QRectF(QPointF(l, t + 4), QPointF(l + 4, b - 4)), border);
            painter.fillRect(QRectF(QPointF(r - 4, t + 4), QPointF(r, b - 4)), border);
        }
        DrawMarkers(painter);
    }
    painter.end();
    emit Painted();
}

// --- Pointer -----------------------------------------------------------------

void CDotView::ButtonDown(int button, const QPointF& point, Qt::KeyboardModifiers keys) {
    if (activeTracker_ || !part_)
        return;
    const QRectF selection = SelectionRect();
    if (button == RightButton && !selection.isEmpty()) {
        emit ContextMenuRequested(viewport()->mapToGlobal(point.toPoint()));
        return;
    }
    CTracker* tracker = nullptr;
    if (button == LeftButton) {
        tracker = MarkerTrackerAt(point);
        // The bottom edge counts as inside.
        if (!tracker && !selection.isEmpty() && point.x() >= selection.left() &&
            point.x() < selection.right() && point.y() >= selection.top() &&
            point.y() <= selection.bottom())
            tracker = selectionTracker_.get();
    }
    if (!tracker && (keys & Qt::ControlModifier)) {
        PickColor(button, CellAt(point));
        return;
    }
    if (!tracker)
        tracker = currentTool_;
    if (!tracker)
        return;
    activeTracker_ = tracker;
    trackerButton_ = button;
    tracker->OnBegin(button, point);
}

void CDotView::ButtonUp(int button, const QPointF& point) {
    if (!activeTracker_ || button != trackerButton_)
        return;
    CTracker* tracker = activeTracker_;
    // Cleared first: OnEnd may choose another tool.
    activeTracker_ = nullptr;
    trackerButton_ = -1;
    tracker->OnEnd(button, point);
}

void CDotView::CancelTracker() {
    if (!activeTracker_)
        return;
    CTracker* tracker = activeTracker_;
    activeTracker_ = nullptr;
    trackerButton_ = -1;
    tracker->OnCancel();
}

void CDotView::mousePressEvent(QMouseEvent* event) {
    const int button = ButtonIndex(event->button());
    if (button >= 0)
        ButtonDown(button, event->position(), event->modifiers());
    UpdateCursor(event->position(), event->modifiers());
    event->accept();
}

void CDotView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CDotView::mouseReleaseEvent(QMouseEvent* event) {
    const int button = ButtonIndex(event->button());
    if (button >= 0)
        ButtonUp(button, event->position());
    UpdateCursor(event->position(), event->modifiers());
    event->accept();
}

void CDotView::mouseMoveEvent(QMouseEvent* event) {
    if (activeTracker_)
        activeTracker_->OnMove(event->modifiers(), event->position());
    UpdateTooltip(event->position(), event->globalPosition().toPoint());
    SendStatus(event->position());
    UpdateCursor(event->position(), event->modifiers());
    event->accept();
}

void CDotView::UpdateCursor(const QPointF& point, Qt::KeyboardModifiers keys) {
    const CTracker* source = activeTracker_;
    if (!source && SelectionRect().contains(point))
        source = selectionTracker_.get();
    if (!source)
        source = MarkerTrackerAt(point);
    if (!source && (keys & Qt::ControlModifier))
        source = ToolFor(ID_TOOL_SPOIT);
    if (!source)
        source = currentTool_;
    // Setting a cursor talks to the display server: only on a change.
    if (source == cursorSource_)
        return;
    cursorSource_ = source;
    if (source)
        viewport()->setCursor(source->GetCursor());
    else
        viewport()->unsetCursor();
}

void CDotView::SendStatus(const QPointF& point) {
    const DotPoint cell = CellAt(point);
    const DotRect& selection = slice_.selection;
    const bool any = !selection.IsEmpty();
    const QString texts[3] = {
        InRange(cell) ? QStringLiteral("%1, %2").arg(cell.x).arg(cell.y) : QString(),
        any ? QStringLiteral("%1, %2").arg(selection.left).arg(selection.top) : QString(),
        any ? QStringLiteral("%1 x %2").arg(selection.Width()).arg(selection.Height()) : QString()};
    // Every move asks for the texts; the panes hear only of changes.
    for (int pane = 1; pane <= 3; ++pane) {
        if (texts[pane - 1] != status_[pane - 1] || !statusSent_) {
            status_[pane - 1] = texts[pane - 1];
            emit StatusTextChanged(pane, texts[pane - 1]);
        }
    }
    statusSent_ = true;
}

void CDotView::UpdateTooltip(const QPointF& point, const QPoint& globalPos) {
    const QString text = MarkerNamesAt(point);
    if (text == tooltip_)
        return;
    tooltip_ = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, text, viewport());
}

bool CDotView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The tooltip shows only marker names, set while the pointer moves.
        if (!tooltip_.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tooltip_, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// --- Keys, menu and focus ----------------------------------------------------

void CDotView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape: ClearSelection(); break;
    case Qt::Key_Delete: emit CommandRequested(ID_EDIT_CLEAR); break;
    case Qt::Key_Control:
        UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers());
        QAbstractScrollArea::keyPressEvent(event);
        return;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void CDotView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()), event->modifiers());
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CDotView::contextMenuEvent(QContextMenuEvent* event) {
    // A right press opens the menu itself (only over a selection; otherwise
    // it draws), so only the keyboard's menu key is taken here.
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit ContextMenuRequested(event->globalPos());
    event->accept();
}

void CDotView::focusOutEvent(QFocusEvent* event) {
    CancelTracker();
    QAbstractScrollArea::focusOutEvent(event);
}

void CDotView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelTracker();
    QAbstractScrollArea::changeEvent(event);
}
