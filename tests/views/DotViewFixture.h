#pragma once
// The main window shown and active, with helpers that drive its dot view as
// a person does: presses, drags and releases at cell centres.

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "app/FrameFixture.h"
#include "document/UndoableDocument.h"
#include "document/UpdateHints.h"
#include "views/DotView.h"

void ShowActive(QWidget& window); // tests/app/RoutingTest.cpp

class DotViewTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        frame->resize(1400, 900);
        ShowActive(*frame);
        view = frame->DotView();
        ASSERT_NE(view, nullptr);
        view->setFocus();
        Settle();
    }

    CDotPart& Part() { return *view->Part(); }
    QWidget* Viewport() { return view->viewport(); }
    // The centre of a view cell in viewport DIPs.
    QPointF Centre(int column, int row) const {
        const DotPoint origin = view->ScrollOrigin();
        return {(column - origin.x) * 19.0 + 9.5, (row - origin.y) * 19.0 + 9.5};
    }
    void Send(QEvent::Type type, const QPointF& at, Qt::MouseButton button,
              Qt::KeyboardModifiers keys = {}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, Viewport()->mapToGlobal(at), button, held, keys);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Press(const QPointF& at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers keys = {}) {
        Send(QEvent::MouseButtonPress, at, button, keys);
    }
    void Move(const QPointF& at, Qt::MouseButton held = Qt::NoButton) {
        Send(QEvent::MouseMove, at, held);
    }
    void Release(const QPointF& at, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonRelease, at, button);
    }
    // A drag through the cells given, pressing on the first and releasing on
    // the last.
    void Drag(std::initializer_list<DotPoint> cells, Qt::MouseButton button = Qt::LeftButton) {
        const DotPoint* cell = cells.begin();
        Press(Centre(cell->x, cell->y), button);
        for (++cell; cell + 1 < cells.end(); ++cell)
            Move(Centre(cell->x, cell->y), button);
        const DotPoint last = *(cells.end() - 1);
        Release(Centre(last.x, last.y), button);
        Settle();
    }
    void Click(DotPoint cell, Qt::MouseButton button = Qt::LeftButton) {
        Drag({cell, cell}, button);
    }
    // The palette index the part holds at view cell (a, b) of its slice.
    int DotAt(int a, int b) {
        const GridCell cell = Part().face->ToGrid(a, b, Part().GetDepth());
        return Part().GetDot(cell[0], cell[1], cell[2]);
    }
    size_t Commands() { return Document().commands.size(); }
    QString LastLabel() { return QString::fromStdU16String(Document().commands.back()->name); }

    CDotView* view = nullptr;
};
