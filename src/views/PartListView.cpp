#include "views/PartListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "document/DotDocument.h"
#include "resources/CommandIds.h"
#include "views/BoneMarkerSheet.h"
#include "views/CellPainter.h"
#include "views/PartListEdit.h"

namespace {

QRectF ToQt(const PartRect& rect) {
    return QRectF(QPointF(rect.left, rect.top), QPointF(rect.right, rect.bottom));
}

QString NameOf(const CPart& part) { return QString::fromStdU16String(part.name); }

} // namespace

CPartListView::CPartListView(CDotDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), model_(document, this) {
    setObjectName(QStringLiteral("PartListView"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setMinimumSize(0, 0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    QFont rowFont = font();
    rowFont.setPixelSize(12);
    rowFont.setWeight(QFont::Normal);
    setFont(rowFont);

    edit_ = new CPartListEdit(this, viewport());
    // Stands in for the end-of-edit message: the rename runs once the focus
    // has settled.
    connect(edit_, &CPartListEdit::EditEnded, this, &CPartListView::EndRename,
            Qt::QueuedConnection);
    renameTimer_.setSingleShot(true);
    connect(&renameTimer_, &QTimer::timeout, this, [this] { BeginRename(renameRow_); });

    document_.AddObserver(this);
    OnUpdate(nullptr, Notice<HINT_INITIAL>());
}

CPartListView::~CPartListView() { document_.RemoveObserver(this); }

bool CPartListView::IsEditing() const { return editPart_ && edit_->isVisible(); }

// --- Document changes --------------------------------------------------------

void CPartListView::OnUpdate(CDocumentObserver*, const CUpdateNotice& notice) {
    switch (notice.hint) {
    case HINT_INITIAL:
        CloseEditor();
        renameTimer_.stop();
        model_.Reset();
        break;
    case HINT_PARTS:
    case HINT_PHYSICS: model_.Rebuild(); break;
    case HINT_SELECT_PART:
        if (!model_.FollowCurrentPart())
            return;
        break;
    case HINT_BONE:
    case HINT_MARKED_PART:
    case HINT_INVERT:
        // A bone kind decides the icon and whether a joint works; inverting
        // onto a part copies its physics.
        model_.RefreshLooks();
        break;
    case HINT_PART_NAME: break;
    default: return;
    }
    Changed();
}

void CPartListView::Changed() {
    // A part being renamed that left the tree is renamed no more.
    if (editPart_ && model_.RowOf(editPart_) < 0)
        CloseEditor();
    SyncScrollBar();
    PlaceEditor();
    viewport()->update();
}

// --- Scrolling ---------------------------------------------------------------

void CPartListView::SyncScrollBar() {
    syncing_ = true;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, model_.MaxOrigin());
    bar->setPageStep(model_.Page());
    bar->setValue(model_.Origin());
    syncing_ = false;
}

void CPartListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    model_.SetViewHeight(viewport()->height());
    Changed();
}

void CPartListView::scrollContentsBy(int, int) {
    if (syncing_)
        return;
    model_.SetOrigin(verticalScrollBar()->value());
    PlaceEditor();
    viewport()->update();
}

void CPartListView::wheelEvent(QWheelEvent* event) {
    if (model_.Wheel(event->angleDelta().y())) {
        // Rows under a dragged icon change: the drop follows the pointer.
        if (model_.DragMode() != CPartListModel::Drag::None)
            model_.DragTo(event->position().x(), event->position().y());
        Changed();
    }
    event->accept();
}

// --- Painting ----------------------------------------------------------------

const QImage& CPartListView::Markers() {
    const int cell = std::max(PartIndent, int(std::lround(PartIndent * devicePixelRatioF())));
    if (markers_.isNull() || markers_.width() != cell * BoneMarkerColumns)
        markers_ = BoneMarkerSheet(cell);
    return markers_;
}

void CPartListView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect all = viewport()->rect();
    painter.fillRect(all, palette().color(QPalette::Base));
    if (model_.DragMode() == CPartListModel::Drag::Moving) {
        QColor marker = palette().color(QPalette::Dark);
        marker.setAlpha(127);
        if (model_.DropRow() >= 0)
            painter.fillRect(QRectF(0, model_.RowTop(model_.DropRow()), all.width(), 4), marker);
        if (model_.DropDepth() >= 0)
            painter.fillRect(QRectF(double(PartIndent) * model_.DropDepth(), 0, 4, all.height()),
                             marker);
    }
    DrawRows(painter);
}

void CPartListView::DrawRows(QPainter& painter) {
    const std::vector<PartRow>& rows = model_.Rows();
    const QImage& markers = Markers();
    const int cell = markers.height() / BoneMarkerRows;
    const double width = viewport()->width(), height = viewport()->height();
    QRectF focusRect;
    // Only the rows in sight are drawn, however long the list is.
    for (int row = model_.Origin(); row < model_.RowCount() && model_.RowTop(row) < height; ++row) {
        const PartRow& item = rows[size_t(row)];
        const QRectF icon = ToQt(model_.IconRect(row));
        if (item.frameColor != FrameNone) {
            painter.setPen(QPen(CCellPainter::FromColorRef(item.frameColor), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(icon.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        painter.drawImage(icon, markers, BoneMarkerCell(item.icon, item.marked ? 1 : 0, cell));
        const QRectF name = ToQt(model_.NameRect(row, width));
        const bool selected = row == model_.Selected();
        if (selected)
            painter.fillRect(name, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(name.adjusted(2, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, NameOf(*item.part));
        if (selected && hasFocus())
            focusRect = name;
    }
    if (!focusRect.isEmpty()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = focusRect.toAlignedRect();
        option.backgroundColor = palette().color(QPalette::Highlight);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

// --- Pointer -----------------------------------------------------------------

void CPartListView::SetPointer(Pointer pointer) {
    // Setting a cursor talks to the display server: only on a change.
    if (pointer == pointer_)
        return;
    pointer_ = pointer;
    switch (pointer) {
    case Pointer::Arrow: viewport()->unsetCursor(); break;
    case Pointer::Move: viewport()->setCursor(Qt::SizeAllCursor); break;
    case Pointer::Refused: viewport()->setCursor(Qt::ForbiddenCursor); break;
    }
}

void CPartListView::mousePressEvent(QMouseEvent* event) {
    renameTimer_.stop();
    const QPointF at = event->position();
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (model_.Press(at.x(), at.y()) && model_.DragMode() == CPartListModel::Drag::Moving)
            SetPointer(Pointer::Move);
        Changed();
    } else if (event->button() == Qt::RightButton) {
        CancelDrag();
        model_.RightPress(at.y());
        Changed();
    }
    // The right button goes on to raise the context menu.
    event->accept();
}

void CPartListView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    switch (model_.DragMode()) {
    case CPartListModel::Drag::None:
        SetPointer(model_.ShowsMoveCursor(at.x(), at.y()) ? Pointer::Move : Pointer::Arrow);
        break;
    case CPartListModel::Drag::Selecting:
        if (model_.DragTo(at.x(), at.y()))
            Changed();
        break;
    case CPartListModel::Drag::Moving:
        if (model_.DragTo(at.x(), at.y()))
            viewport()->update();
        SetPointer(model_.Drop().allowed ? Pointer::Move : Pointer::Refused);
        break;
    }
    event->accept();
}

void CPartListView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    int rename = -1;
    try {
        rename = model_.Release();
    } catch (const std::exception& error) {
        // A move the tree cannot take (too deep): said, and nothing changed.
        emit StatusTextChanged(0, QString::fromUtf8(error.what()));
    }
    SetPointer(model_.ShowsMoveCursor(event->position().x(), event->position().y())
                   ? Pointer::Move
                   : Pointer::Arrow);
    Changed();
    if (rename >= 0) {
        // The click may be the first of a double-click, which opens the bone
        // dialog instead.
        renameRow_ = rename;
        renameTimer_.start(QApplication::doubleClickInterval());
    }
}

void CPartListView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    renameTimer_.stop();
    if (event->button() == Qt::LeftButton && document_.currentPart)
        emit CommandRequested(ID_PART_BONE);
}

void CPartListView::CancelDrag() {
    if (model_.DragMode() == CPartListModel::Drag::None)
        return;
    model_.Cancel();
    SetPointer(Pointer::Arrow);
    viewport()->update();
}

// --- Keys, menu and focus ----------------------------------------------------

void CPartListView::keyPressEvent(QKeyEvent* event) {
    using Step = CPartListModel::Step;
    std::optional<Step> step;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (document_.currentPart)
            emit CommandRequested(ID_PART_BONE);
        break;
    case Qt::Key_Delete: emit CommandRequested(ID_EDIT_CLEAR); break;
    case Qt::Key_Up: step = Step::Up; break;
    case Qt::Key_Down: step = Step::Down; break;
    case Qt::Key_PageUp: step = Step::PageUp; break;
    case Qt::Key_PageDown: step = Step::PageDown; break;
    case Qt::Key_Home: step = Step::Home; break;
    case Qt::Key_End: step = Step::End; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (step && model_.SelectRow(model_.StepTarget(*step)))
        Changed();
    event->accept();
}

void CPartListView::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard the menu opens at the list's top-left corner.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(QPoint(0, 0))
                          : event->globalPos();
    emit ContextMenuRequested(at);
    event->accept();
}

void CPartListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CPartListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        CancelDrag();
    viewport()->update();
}

void CPartListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelDrag();
    QAbstractScrollArea::changeEvent(event);
}
