#pragma once
// The dot view's mouse-drag handlers. A tracker gets the press that starts a
// drag, the moves while the button is held and the release; the tools are the
// trackers the user chooses, and each ends its stroke with the view's
// commit-slice, so one stroke is one undo step (or none when nothing changed).

#include <QCursor>
#include <QPointF>

#include "document/DotHolder.h"
#include "views/DotView.h"

class CDotView::CTracker {
public:
    explicit CTracker(CDotView& view) : view_(view) {}
    virtual ~CTracker() = default;
    CTracker(const CTracker&) = delete;
    CTracker& operator=(const CTracker&) = delete;

    // Points are in viewport DIPs; button is LeftButton or RightButton.
    virtual void OnBegin(int button, const QPointF& point) = 0;
    virtual void OnEnd(int button, const QPointF& point) = 0;
    virtual void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) = 0;
    // The drag was cancelled (focus lost); the view drops the tracker itself.
    virtual void OnCancel() {}
    virtual QCursor GetCursor() const = 0;

protected:
    CDotView& view_;
};

class CDotView::CTool : public CTracker {
public:
    CTool(CDotView& view, unsigned id) : CTracker(view), id_(id) {}
    // The tool's command number.
    unsigned Id() const { return id_; }
    // The tool becomes current; previous was current before.
    virtual void Activate(CTool* previous) { (void)previous; }
    QCursor GetCursor() const override;

private:
    unsigned id_;
};

// Sets the cell under each reported position; positions in between are not
// filled in.
class CDotView::CPencilTool : public CTool {
public:
    explicit CPencilTool(CDotView& view);
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;
    void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) override;

private:
    int color_ = 0;
};

class CDotView::CLineTool : public CTool {
public:
    explicit CLineTool(CDotView& view);
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;
    void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) override;

private:
    void Draw();

    int color_ = 0;
    CDotImage snapshot_;
    DotPoint start_;
    DotPoint end_;
};

// A drag that spans a rectangle of cells from an anchor, clipped to the grid.
class CDotView::CRangeTool : public CTool {
public:
    using CTool::CTool;
    void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) override;

protected:
    // Sets the anchor under point and takes the first range.
    void BeginRange(const QPointF& point);
    // Takes the range to the cell under point; repaints when it changed.
    void MoveRange(const QPointF& point);
    virtual void SetRange(const DotRect& rect) = 0;

private:
    DotPoint anchor_;
    DotRect range_;
    bool hasRange_ = false;
};

class CDotView::CSelectionTool : public CRangeTool {
public:
    explicit CSelectionTool(CDotView& view);
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;

protected:
    void SetRange(const DotRect& rect) override;
};

class CDotView::CRectangleTool : public CRangeTool {
public:
    explicit CRectangleTool(CDotView& view, unsigned id = 0);
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;

protected:
    void SetRange(const DotRect& rect) override;
    virtual void DrawRange(const DotRect& rect, int color);
    virtual unsigned GetUndoName() const;

private:
    int color_ = 0;
    CDotImage snapshot_;
};

class CDotView::CFilledRectangleTool : public CRectangleTool {
public:
    explicit CFilledRectangleTool(CDotView& view);

protected:
    void DrawRange(const DotRect& rect, int color) override;
    unsigned GetUndoName() const override;
};

// 4-connected flood fill of the shown slice; commits on the press.
class CDotView::CPaintTool : public CTool {
public:
    explicit CPaintTool(CDotView& view);
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int, const QPointF&) override {}
    void OnMove(Qt::KeyboardModifiers, const QPointF&) override {}
};

// Picks the colour under the pointer, then returns to the tool used before.
class CDotView::CSpoitTool : public CTool {
public:
    explicit CSpoitTool(CDotView& view);
    void Activate(CTool* previous) override { previous_ = previous; }
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;
    void OnMove(Qt::KeyboardModifiers, const QPointF&) override {}
    CTool* Previous() const { return previous_; }

private:
    CTool* previous_ = nullptr;
};

// Drags the selection with its floating block; the block may leave the grid
// and keeps its cells while it is held.
class CDotView::CSelectionTracker : public CTracker {
public:
    using CTracker::CTracker;
    void OnBegin(int button, const QPointF& point) override;
    void OnEnd(int button, const QPointF& point) override;
    void OnMove(Qt::KeyboardModifiers keys, const QPointF& point) override;
    QCursor GetCursor() const override { return QCursor(Qt::SizeAllCursor); }

private:
    bool MoveStep(const QPointF& point);

    QPointF offset_; // the selection's top-left less the press point
};
