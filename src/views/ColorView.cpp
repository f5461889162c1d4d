#include "views/ColorView.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <exception>

#include "document/DocumentSettings.h"
#include "document/DotDocument.h"
#include "document/UpdateHints.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "views/CellPainter.h"
#include "views/MaterialMarker.h"

namespace {

// The button index of a mouse button: 0 left, 1 right, -1 the others.
int ButtonIndex(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return 0;
    case Qt::RightButton: return 1;
    default: return -1;
    }
}

QFont LabelFont(bool shared) {
    QFont font(QStringLiteral("sans-serif"));
    // Two labels share a cell side by side, each in half of it.
    font.setPixelSize(shared ? 12 : 18);
    font.setWeight(QFont::Bold);
    return font;
}

QFont CaptionFont() {
    QFont font(QStringLiteral("sans-serif"));
    font.setPixelSize(11); // 8 points at 96 DIPs an inch
    return font;
}

} // namespace

CColorView::CColorView(CDotDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    setObjectName(QStringLiteral("ColorView"));
    // The keyboard stays with the dot view while colours are picked.
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(1);
    // The wheel over the bar follows the strip's rule (Shift), not the bar's.
    horizontalScrollBar()->installEventFilter(this);
    document_.AddObserver(this);
    HandleHint(HINT_INITIAL);
}

CColorView::~CColorView() { document_.RemoveObserver(this); }

QSize CColorView::sizeHint() const {
    return {PaletteIndices * CellPitch,
            PaletteStripHeight + horizontalScrollBar()->sizeHint().height()};
}

int CColorView::ScrollOrigin() const { return horizontalScrollBar()->value(); }

int CColorView::PageColumns() const { return ScrollPage(viewport()->width()); }

// --- Document changes --------------------------------------------------------

void CColorView::OnUpdate(CDocumentObserver*, const CUpdateNotice& notice) {
    HandleHint(notice.hint);
}

void CColorView::HandleHint(int hint) {
    switch (hint) {
    case HINT_INITIAL:
        press_.Cancel();
        SetupScrollBar();
        SetOrigin(0);
        viewport()->update();
        break;
    case HINT_CURRENT_COLOR:
    case HINT_PALETTE: viewport()->update(); break;
    default: break;
    }
}

// --- Scrolling ---------------------------------------------------------------

void CColorView::SetupScrollBar() {
    const int page = PageColumns();
    horizontalScrollBar()->setPageStep(page);
    horizontalScrollBar()->setRange(0, PaletteIndices - page);
}

void CColorView::SetOrigin(int origin) {
    horizontalScrollBar()->setValue(ClampScroll(origin, PageColumns()));
}

void CColorView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    SetupScrollBar(); // the bar clamps its value into the new range
}

void CColorView::scrollContentsBy(int, int) { viewport()->update(); }

void CColorView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // Without Shift the vertical wheel is taken and does nothing, not even
    // count toward a later notch.
    const int vertical = shift && delta.y() != 0 ? verticalWheel_.Add(delta.y()) : 0;
    const int horizontal = delta.x() != 0 ? horizontalWheel_.Add(delta.x()) : 0;
    SetOrigin(PaletteWheelOrigin(ScrollOrigin(), PageColumns(), vertical, horizontal, shift));
    event->accept();
}

bool CColorView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

// --- Painting ----------------------------------------------------------------

void CColorView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    const int origin = ScrollOrigin();
    const CCellPainter cells(document_);
    // Each column in sight: the colour cell above, the material marker (or
    // the row's caption) below.
    for (int index = origin; index < PaletteIndices; ++index) {
        const double left = CellEdge(index, origin);
        if (left > viewport()->width())
            break;
        cells.DrawDot(painter, QRectF(left, 0, CellPitch, CellPitch), index, 0);
        if (index == 0) {
            painter.setFont(CaptionFont());
            painter.setPen(palette().color(QPalette::WindowText));
            painter.drawText(QRectF(QPointF(left, CellPitch), QPointF(1000, PaletteStripHeight)),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdU16String(LoadString(IDS_MATERIAL)));
        } else {
            PaintMaterialMarker(painter, QRectF(left, CellPitch, CellPitch, CellPitch),
                                document_.GetColor(index).material);
        }
    }
    DrawLabels(painter, origin);
}

void CColorView::DrawLabels(QPainter& painter, int origin) const {
    for (const PALETTE_LABEL& label : PaletteLabels(document_.currentColor)) {
        if (label.index < origin || label.index >= PaletteIndices)
            continue;
        const double left = CellEdge(label.index, origin);
        const QRectF cell(QPointF(left + label.from * CellPitch, 0),
                          QPointF(left + label.to * CellPitch, CellPitch));
        painter.setFont(LabelFont(label.shared));
        painter.setPen(CCellPainter::FromColorRef(PaletteLabelColor(document_, label.index)));
        painter.drawText(cell, Qt::AlignCenter, QString(QChar(label.text)));
    }
}

// --- Pointer -----------------------------------------------------------------

void CColorView::mousePressEvent(QMouseEvent* event) {
    const int button = ButtonIndex(event->button());
    if (button >= 0)
        press_.Press(ScrollOrigin(), button, event->position().x(), event->position().y());
    event->accept();
}

void CColorView::mouseReleaseEvent(QMouseEvent* event) {
    const int button = ButtonIndex(event->button());
    if (button >= 0 && press_.IsPressed()) {
        if (const auto click = press_.Release(button, event->position().x(), event->position().y()))
            Click(*click);
    }
    event->accept();
}

void CColorView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int button = ButtonIndex(event->button());
    const QPointF at = event->position();
    // Two quick clicks on a marker are two toggles, not a colour dialog.
    if (button < 0 || HitPalette(ScrollOrigin(), at.x(), at.y(), 0).area == PaletteArea::Material) {
        mousePressEvent(event);
        return;
    }
    // The first click picked the cell; the dialog edits it. It opens once
    // this event is over, not inside it.
    const unsigned id = button == 0 ? ID_SET_COLOR1 : ID_SET_COLOR2;
    QMetaObject::invokeMethod(
        this, [this, id] { emit CommandRequested(id); }, Qt::QueuedConnection);
    event->accept();
}

void CColorView::Click(const PALETTE_CLICK& click) {
    if (click.area == PaletteArea::Color) {
        // Tells every view, this one too: it repaints on the hint.
        SetCurrentColor(document_, click.button, click.index);
        return;
    }
    try {
        ToggleMaterial(document_, click.index, this);
    } catch (const std::exception& error) {
        // Called from an input event, where an exception may not pass.
        emit StatusTextChanged(0, QString::fromUtf8(error.what()));
    }
    viewport()->update();
}

void CColorView::contextMenuEvent(QContextMenuEvent* event) {
    // The strip has no menu; the window's own must not open over it.
    event->accept();
}

void CColorView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        press_.Cancel();
    QAbstractScrollArea::changeEvent(event);
}

void CColorView::hideEvent(QHideEvent* event) {
    press_.Cancel();
    QAbstractScrollArea::hideEvent(event);
}
