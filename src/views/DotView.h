#pragma once
// The dot view: one 32 × 32 slice of the current part, seen from the part's
// face at its depth, as a grid of 19-DIP cells. The user draws into it with
// the tools, each stroke becoming one undoable command when it ends.
//
// The view keeps its rules in the core (the slice model, the drawing
// algorithms and the scroll arithmetic) and adds painting and input. It asks
// the frame for everything beyond itself by signal: status texts, commands
// and the context menu.

#include <QAbstractScrollArea>
#include <QPointF>
#include <array>
#include <span>
#include <memory>

#include "document/CommandTarget.h"
#include "document/DocumentObserver.h"
#include "document/DotScroll.h"
#include "document/DotSlice.h"
#include "views/PasteTarget.h"

class CBoneTracker;
class CDotDocument;
class CDotPart;
class QMimeData;
struct SelectionTransform;

class CDotView : public QAbstractScrollArea,
                 public CCommandTarget,
                 public CDocumentObserver,
                 public CPasteTarget {
    Q_OBJECT
public:
    // Mouse-drag handlers and the tools (DotViewTools.h).
    class CTracker;
    class CTool;
    class CPencilTool;
    class CLineTool;
    class CRangeTool;
    class CSelectionTool;
    class CRectangleTool;
    class CFilledRectangleTool;
    class CPaintTool;
    class CSpoitTool;
    class CSelectionTracker;

    // Button indices of the trackers.
    static constexpr int LeftButton = 0;
    static constexpr int RightButton = 1;

    explicit CDotView(CDotDocument& document, QWidget* parent = nullptr);
    ~CDotView() override;

    CDotDocument& Document() const { return document_; }
    // The part shown, null when the document has no current part.
    CDotPart* Part() const { return part_; }
    const CDotSlice& Slice() const { return slice_; }
    DotPoint ScrollOrigin() const;
    int PageColumns() const;
    int PageRows() const;
    // The command number of the current tool, 0 before the first update.
    unsigned CurrentToolId() const;

    // --- Operations for the trackers -------------------------------------
    CDotImage& Working() { return slice_.working; }
    // The cell under a point of the viewport (DIPs), not limited to the grid.
    DotPoint CellAt(const QPointF& point) const;
    static bool InRange(DotPoint cell);
    // Scrolls so that cell is shown; returns whether anything scrolled.
    bool EnsureCellVisible(DotPoint cell);
    // Schedules a repaint of the whole view or of one cell.
    void Invalidate();
    void InvalidateCell(DotPoint cell);
    // The drawing colour of a button: current colour 1 (left) or 2 (right).
    int DrawingColor(int button) const;
    // Makes the working slice's value at cell the current colour of button
    // when cell is in range.
    void PickColor(int button, DotPoint cell);
    // Writes what changed into the part as one command named by string
    // nameId; returns whether a command was executed.
    bool CommitSlice(unsigned nameId);
    // Stamps the floating block and drops the selection.
    void ClearSelection();
    // Makes rect the selection (shown with its border), without lifting.
    void SetSelection(const DotRect& rect);
    // Lifts the selection into the floating block.
    void LiftSelection();
    // Moves the selection and its floating block so its top-left is cell.
    bool MoveSelectionTo(DotPoint topLeft);
    // The selection in viewport DIPs (empty when none).
    QRectF SelectionRect() const;
    // Chooses tool: when it is not current, clears the selection, activates
    // it with the previous tool and makes it current.
    void SelectTool(CTool* tool);
    CTool* CurrentTool() const { return currentTool_; }

    // --- Selection and clipboard (DotViewEdit.cpp) --------------------------
    // Selects the whole slice with the selection tool and lifts it.
    void SelectAll();
    // Drops the floating block, fills the selection with colour 2 and commits.
    void DeleteSelection(unsigned nameId);
    // Puts the selected cells on the clipboard as a dot block, PNG and BMP.
    void Copy();
    void Cut();
    // Takes a dot block or a picture from the clipboard as a new selection.
    void Paste() override;
    // Pastes a dot block from mime; returns false, changing nothing, when
    // mime holds nothing usable.
    bool PasteFrom(const QMimeData& mime);
    // Turns or flips the floating block and commits.
    void Transform(const SelectionTransform& transform);
    // Moves the selected cells at every depth into a new child part.
    void Divide();
    // The three clipboard formats of a block.
    QMimeData* MakeMimeData(const CDotImage& block) const;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;
    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override;

signals:
    // Text for status-bar pane 1–3.
    void StatusTextChanged(int pane, const QString& text);
    // Asks the frame to run a command (Delete sends the delete command).
    void CommandRequested(unsigned id);
    // Asks the frame for the context menu at a global point.
    void ContextMenuRequested(const QPoint& globalPos);
    // A paint of the view has finished.
    void Painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void HandleHint(int hint);
    void TakeCurrentPart();
    void Reload();
    void SetupScrollBars();
    void SetOrigin(int column, int row);
    void ButtonDown(int button, const QPointF& point, Qt::KeyboardModifiers keys);
    void ButtonUp(int button, const QPointF& point);
    void CancelTracker();
    void UpdateCursor(const QPointF& point, Qt::KeyboardModifiers keys);
    void SendStatus(const QPointF& point);
    void UpdateTooltip(const QPointF& point, const QPoint& globalPos);
    CTool* ToolFor(unsigned id) const;
    void PasteBlock(const CDotImage& block);
    bool HasSelection() const { return part_ && !slice_.selection.IsEmpty(); }
    // The view's own commands: the tools and the selection commands.
    static std::span<const CCommandHandler<CDotView>> Handlers();
    int Key() const; // the transparent colour of selections: colour 2

    // Bone markers (DotViewMarkers.cpp): drawn last, they win left clicks
    // over the selection and name their parts in the tooltip.
    void DrawMarkers(QPainter& painter);
    CTracker* MarkerTrackerAt(const QPointF& point);
    QString MarkerNamesAt(const QPointF& point) const;

    CDotDocument& document_;
    CDotPart* part_ = nullptr;
    CDotSlice slice_;
    QString tooltip_;
    QString status_[3]; // the texts last sent for panes 1–3
    bool statusSent_ = false;
    const CTracker* cursorSource_ = nullptr; // whose cursor is shown
    CTracker* activeTracker_ = nullptr;
    int trackerButton_ = -1;
    CWheelSteps verticalWheel_;
    CWheelSteps horizontalWheel_;
    CTool* currentTool_ = nullptr;
    std::unique_ptr<CSelectionTracker> selectionTracker_;
    std::unique_ptr<CBoneTracker> boneTracker_;
    std::array<std::unique_ptr<CTool>, 7> tools_;
};
