#pragma once
// The palette strip above the dot view: the 32 palette indices as cells
// (the empty dot first), the labels "1" and "2" on the two current drawing
// colours, and below each colour its material marker.
//
// A click on a cell makes it current colour 1 (left button) or 2 (right
// button); a left click on a marker toggles the entry's material flag as one
// undo step; a double-click asks the frame for the colour dialog of the
// current colour. The strip scrolls sideways with its bar, with the wheel
// while Shift is held, and with a horizontal wheel. Its rules live in the
// core (document/PaletteStrip.h); the view paints and passes input on.

#include <QAbstractScrollArea>

#include "document/DocumentObserver.h"
#include "document/DotScroll.h"
#include "document/PaletteStrip.h"

class CDotDocument;

class CColorView : public QAbstractScrollArea, public CDocumentObserver {
    Q_OBJECT
public:
    explicit CColorView(CDotDocument& document, QWidget* parent = nullptr);
    ~CColorView() override;

    // The palette index shown in the leftmost column.
    int ScrollOrigin() const;
    // The columns that fit in the view.
    int PageColumns() const;
    // Whether a press waits for its release.
    bool IsPressed() const { return press_.IsPressed(); }

    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

signals:
    // Asks the frame to run a command (the colour dialogs).
    void CommandRequested(unsigned id);
    // Text for status-bar pane 0: why a change could not be made.
    void StatusTextChanged(int pane, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HandleHint(int hint);
    void SetupScrollBar();
    void SetOrigin(int origin);
    void Click(const PALETTE_CLICK& click);
    void DrawLabels(QPainter& painter, int origin) const;

    CDotDocument& document_;
    CPalettePress press_;
    CWheelSteps verticalWheel_;
    CWheelSteps horizontalWheel_;
};
