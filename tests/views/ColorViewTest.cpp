// The palette strip in the window, driven as a person does: clicks pick the
// current colours, a marker click toggles a material as one undo step,
// double-clicks open the colour dialog, Shift+wheel scrolls, and what it
// paints follows the document.

#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QWheelEvent>

#include "app/DotPane.h"
#include "app/FrameFixture.h"
#include "document/DocumentSettings.h"
#include "resources/CommandIds.h"
#include "views/CellPainter.h"
#include "views/ColorView.h"

void ShowActive(QWidget& window); // tests/app/RoutingTest.cpp

namespace {

class ColorViewTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        frame->resize(1400, 900);
        ShowActive(*frame);
        view = qobject_cast<CColorView*>(frame->DotPane()->PaletteView());
        ASSERT_NE(view, nullptr);
        Settle();
    }

    QWidget* Viewport() { return view->viewport(); }
    // The centres of the colour cell and the marker of a palette index.
    QPointF ColorCell(int index) const {
        return {(index - view->ScrollOrigin()) * 19.0 + 9.5, 9.5};
    }
    QPointF Marker(int index) const { return {(index - view->ScrollOrigin()) * 19.0 + 9.5, 28.5}; }

    void Send(QEvent::Type type, const QPointF& at, Qt::MouseButton button) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, Viewport()->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(Viewport(), &event);
    }
    void Click(const QPointF& at, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, at, button);
        Send(QEvent::MouseButtonRelease, at, button);
        Settle();
    }
    // What the toolkit delivers for a double-click: press, release, the
    // double-click in place of the second press, release.
    void DoubleClick(const QPointF& at, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, at, button);
        Send(QEvent::MouseButtonRelease, at, button);
        Send(QEvent::MouseButtonDblClick, at, button);
        Send(QEvent::MouseButtonRelease, at, button);
        Settle();
    }
    void Wheel(QWidget* target, QPoint delta, Qt::KeyboardModifiers keys = {}) {
        const QPointF at(20, 10);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), delta, Qt::NoButton, keys,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    QImage Grab() {
        Viewport()->repaint();
        return Viewport()->grab().toImage();
    }
    size_t Commands() { return Document().commands.size(); }

    CColorView* view = nullptr;
};

} // namespace

TEST_F(ColorViewTest, ClicksPickTheCurrentColoursWithoutAnUndoStep) {
    const size_t before = Commands();
    Click(ColorCell(5));
    Click(ColorCell(7), Qt::RightButton);
    EXPECT_EQ(Document().currentColor[0], 5);
    EXPECT_EQ(Document().currentColor[1], 7);
    EXPECT_EQ(Commands(), before);

    // The empty dot as colour 1: the pencil erases, and there is no colour
    // to edit.
    Click(ColorCell(0));
    EXPECT_EQ(Document().currentColor[0], 0);
    Router().Refresh();
    EXPECT_FALSE(Router().Action(ID_SET_COLOR1)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_SET_COLOR2)->isEnabled());
}

TEST_F(ColorViewTest, AMaterialToggleIsOneUndoStep) {
    const bool was = Document().GetColor(3).material;
    const QImage clear = Grab();
    const size_t before = Commands();

    // A right click on a marker does nothing.
    Click(Marker(3), Qt::RightButton);
    EXPECT_EQ(Document().GetColor(3).material, was);
    EXPECT_EQ(Commands(), before);

    Click(Marker(3));
    EXPECT_EQ(Document().GetColor(3).material, !was);
    ASSERT_EQ(Commands(), before + 1);
    // The marker shows the new flag; the colour cell above is unchanged.
    const QImage toggled = Grab();
    EXPECT_NE(toggled.copy(3 * 19, 19, 19, 19), clear.copy(3 * 19, 19, 19, 19));
    EXPECT_EQ(toggled.copy(3 * 19, 0, 19, 19), clear.copy(3 * 19, 0, 19, 19));

    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(Document().GetColor(3).material, was);
    EXPECT_EQ(Grab().copy(3 * 19, 19, 19, 19), clear.copy(3 * 19, 19, 19, 19));
    Router().Execute(ID_EDIT_REDO);
    EXPECT_EQ(Document().GetColor(3).material, !was);
    // Under the empty dot is the caption, not a marker.
    Click(Marker(0));
    EXPECT_EQ(Commands(), before + 1);
}

TEST_F(ColorViewTest, DoubleClicksEditTheCellJustPickedButToggleMarkersTwice) {
    const CDotColor old = Document().GetColor(6);
    prompts.paletteColor = PALETTE_COLOR{MakeColorRef(10, 20, 30), 1.0f, false};
    DoubleClick(ColorCell(6));
    EXPECT_EQ(Document().currentColor[0], 6);
    ASSERT_TRUE(prompts.paletteInitial);
    EXPECT_EQ(prompts.paletteInitial->color, old.color);
    EXPECT_EQ(Document().GetColor(6).color, MakeColorRef(10, 20, 30));

    // The right button edits colour 2.
    prompts.paletteColor = PALETTE_COLOR{MakeColorRef(1, 2, 3), 1.0f, false};
    DoubleClick(ColorCell(9), Qt::RightButton);
    EXPECT_EQ(Document().currentColor[1], 9);
    EXPECT_EQ(Document().GetColor(9).color, MakeColorRef(1, 2, 3));

    // Two quick clicks on a marker: two steps, back where it was, no dialog.
    prompts.paletteColor.reset();
    prompts.paletteInitial.reset();
    const bool was = Document().GetColor(12).material;
    const size_t before = Commands();
    DoubleClick(Marker(12));
    EXPECT_EQ(Document().GetColor(12).material, was);
    EXPECT_EQ(Commands(), before + 2);
    EXPECT_FALSE(prompts.paletteInitial);
}

TEST_F(ColorViewTest, ShiftWheelScrollsThePalette) {
    frame->Splitter()->setSizes({100, 300, 1000});
    Settle();
    QTest::qWait(20);
    const int page = view->PageColumns();
    ASSERT_EQ(page, 1 + (view->viewport()->width() - 18) / 19);
    ASSERT_LT(page, 32);
    ASSERT_EQ(view->ScrollOrigin(), 0);

    // Without Shift the wheel is taken and does nothing.
    Wheel(Viewport(), {0, -120});
    EXPECT_EQ(view->ScrollOrigin(), 0);
    Wheel(Viewport(), {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(view->ScrollOrigin(), 1);
    // The leftmost column now picks index 1.
    Click(ColorCell(1));
    EXPECT_EQ(Document().currentColor[0], 1);
    // Over the bar the same rule holds.
    Wheel(view->horizontalScrollBar(), {0, -120});
    EXPECT_EQ(view->ScrollOrigin(), 1);
    Wheel(view->horizontalScrollBar(), {0, -240}, Qt::ShiftModifier);
    EXPECT_EQ(view->ScrollOrigin(), 3);
    // A horizontal wheel needs no Shift; both stop at the ends.
    Wheel(Viewport(), {-120, 0});
    EXPECT_EQ(view->ScrollOrigin(), 4);
    Wheel(Viewport(), {0, -120 * 100}, Qt::ShiftModifier);
    EXPECT_EQ(view->ScrollOrigin(), 32 - page);
    EXPECT_EQ(view->horizontalScrollBar()->value(), 32 - page);
    Wheel(Viewport(), {120 * 100, 0});
    EXPECT_EQ(view->ScrollOrigin(), 0);

    // A new document starts at the first column; so does a strip wide
    // enough for all 32.
    view->horizontalScrollBar()->setValue(5);
    frame->DocManager().NewDocument();
    EXPECT_EQ(view->ScrollOrigin(), 0);
    view->horizontalScrollBar()->setValue(5);
    frame->Splitter()->setSizes({100, 700, 600});
    Settle();
    QTest::qWait(20);
    EXPECT_EQ(view->PageColumns(), 32);
    EXPECT_EQ(view->ScrollOrigin(), 0);
}

TEST_F(ColorViewTest, CellsLabelsAndMarkersFollowTheDocument) {
    const CCellPainter cells(Document());
    SetCurrentColor(Document(), 0, 5);
    SetCurrentColor(Document(), 1, 5);
    QImage image = Grab();
    // Cell 5 in its colour, with both labels in the inverted colour, one in
    // each half.
    const QColor label = CCellPainter::FromColorRef(Document().GetColor(5).color ^ 0xFFFFFF);
    auto hasLabel = [&](int from, int to, const QColor& colour) {
        for (int y = 1; y < 18; ++y)
            for (int x = from; x < to; ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_EQ(image.pixelColor(5 * 19 + 2, 2), cells.ColorOf(5));
    EXPECT_TRUE(hasLabel(5 * 19 + 1, 5 * 19 + 9, label));
    EXPECT_TRUE(hasLabel(5 * 19 + 10, 5 * 19 + 18, label));
    // The empty dot shows the checkerboard.
    EXPECT_NE(image.pixelColor(2, 2), image.pixelColor(3, 2));

    // A palette change made elsewhere (hint 8) repaints the cell.
    EditColor(Document(), 5, MakeColorRef(0, 0, 0), 1.0f, false);
    image = Grab();
    EXPECT_EQ(image.pixelColor(5 * 19 + 2, 2), QColor(0, 0, 0));
    // On black the labels are white.
    EXPECT_TRUE(hasLabel(5 * 19 + 1, 5 * 19 + 18, QColor(255, 255, 255)));
}

TEST_F(ColorViewTest, SampleFigurePictures) {
    const QString folder = qEnvironmentVariable("KUBRELL_SHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set KUBRELL_SHOT_DIR to save the pictures";
    ASSERT_TRUE(
        frame->OpenDocumentFile(QStringLiteral(KUBRELL_TEST_DATA "/../../examples/figure.kbrl")));
    Settle();
    SetCurrentColor(Document(), 0, 3);
    SetCurrentColor(Document(), 1, 3);
    ASSERT_TRUE(view->grab().save(folder + "/palette-shared.png"));
    frame->Splitter()->setSizes({100, 300, 1000});
    Settle();
    QTest::qWait(50);
    Wheel(Viewport(), {0, -120 * 2}, Qt::ShiftModifier);
    ASSERT_TRUE(view->grab().save(folder + "/palette-scrolled.png"));
}
