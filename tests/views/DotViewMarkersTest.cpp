// The bone markers in the dot view as a person uses them: the cursor and
// tooltip over a marker, clicks that step through overlapping markers, and
// drags that move a joint point as one undo step or, cancelled, not at all.

#include <QDir>
#include <QSignalSpy>
#include <QToolTip>

#include "../support/RecordingObserver.h"
#include "DotViewFixture.h"
#include "resources/CommandIds.h"

namespace {

class DotViewMarkersTest : public DotViewTest {
protected:
    void SetUp() override {
        DotViewTest::SetUp();
        // The shown part's own point and two children on one spot, seen from
        // the front (u = x, w = 64 − y).
        CDotPart& shown = Part();
        ASSERT_GE(shown.GetChildCount(), 2);
        first = static_cast<CDotPart*>(shown.GetChild(0));
        second = static_cast<CDotPart*>(shown.GetChild(1));
        for (int i = 0; i < shown.GetChildCount(); ++i)
            static_cast<CDotPart*>(shown.GetChild(i))->bonePosition = {60, 4, 32};
        first->bonePosition = second->bonePosition = {20, 40, 10};
        shown.parentPosition = {44, 20, 32};
        Document().markedPart = nullptr;
        view->Invalidate();
        Settle();
    }

    // The centre of a joint point's marker (half cells u, w) in the viewport.
    QPointF MarkerAt(int u, int w) const {
        const DotPoint origin = view->ScrollOrigin();
        return {(u - 2 * origin.x) * 9.5, (w - 2 * origin.y) * 9.5};
    }

    CDotPart* first = nullptr;
    CDotPart* second = nullptr;
};

} // namespace

TEST_F(DotViewMarkersTest, PointerOverAMarkerShowsTheMoveCursorAndTheNames) {
    Move(MarkerAt(20, 24) + QPointF(3, -3));
    EXPECT_EQ(Viewport()->cursor().shape(), Qt::SizeAllCursor);
    // Overlapping markers: the one a click picks first, then the other.
    EXPECT_EQ(QToolTip::text(), QString::fromStdU16String(second->name + u"\n" + first->name));

    Move(MarkerAt(44, 44));
    EXPECT_EQ(QToolTip::text(), QString::fromStdU16String(Part().name));
    Move(MarkerAt(20, 24) + QPointF(40, 0));
    EXPECT_NE(Viewport()->cursor().shape(), Qt::SizeAllCursor);
    // The tooltip fades out.
    for (int i = 0; i < 100 && QToolTip::isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(QToolTip::isVisible());
}

TEST_F(DotViewMarkersTest, ClicksMarkAndStepThroughOverlappingMarkers) {
    CRecordingObserver others;
    Document().AddObserver(&others);
    view->SetSelection({2, 2, 5, 5});
    const QPointF spot = MarkerAt(20, 24);
    Press(spot);
    Release(spot);
    EXPECT_EQ(Document().markedPart, second) << "the later child first";
    EXPECT_TRUE(view->SelectionRect().isEmpty()) << "marking clears the selection";
    ASSERT_EQ(others.Hints(), std::vector<int>{HINT_MARKED_PART});
    EXPECT_EQ(others.updates[0].sender, static_cast<CDocumentObserver*>(view));

    Press(spot);
    Release(spot);
    EXPECT_EQ(Document().markedPart, first);
    Press(spot);
    Release(spot);
    EXPECT_EQ(Document().markedPart, second);
    EXPECT_EQ(Commands(), 0u) << "clicks move nothing";
    Document().RemoveObserver(&others);
}

TEST_F(DotViewMarkersTest, DragMovesTheJointPointAsOneUndoStep) {
    const QPointF start = MarkerAt(20, 24) + QPointF(2, 2);
    Press(start);
    Move(start + QPointF(19, 0), Qt::LeftButton);
    Move(start + QPointF(38, -19), Qt::LeftButton);
    Release(start + QPointF(38, -19));
    Settle();
    // Two cells right and one up is four and two half cells; the depth stays.
    EXPECT_EQ(second->bonePosition, (std::array{24, 42, 10}));
    EXPECT_EQ(first->bonePosition, (std::array{20, 40, 10}));
    ASSERT_EQ(Commands(), 1u);
    EXPECT_EQ(LastLabel(), "ボーン移動");

    // Undo tells every view, this one too, which repaints.
    QSignalSpy painted(view, &CDotView::Painted);
    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(second->bonePosition, (std::array{20, 40, 10}));
    EXPECT_TRUE(painted.wait(1000));

    // The shown part's own marker moves its parent position, within the grid.
    Press(MarkerAt(44, 44));
    Release(MarkerAt(44, 44) + QPointF(-2000, 2000));
    EXPECT_EQ(Part().parentPosition, (std::array{0, 0, 32}));
}

TEST_F(DotViewMarkersTest, CancelledOrUnmovedDragsChangeNothing) {
    const QPointF start = MarkerAt(20, 24);
    Press(start);
    Move(start + QPointF(57, 57), Qt::LeftButton);
    Release(start + QPointF(3, 3)); // back in the same half cell
    EXPECT_EQ(Commands(), 0u);

    Press(start);
    Move(start + QPointF(57, 57), Qt::LeftButton);
    view->clearFocus(); // focus loss cancels the drag
    Settle();
    Release(start + QPointF(57, 57));
    Settle();
    EXPECT_EQ(Commands(), 0u);
    EXPECT_EQ(first->bonePosition, (std::array{20, 40, 10}));
    EXPECT_EQ(second->bonePosition, (std::array{20, 40, 10}));
}

// A picture of the markers with one marked, for looking at them: run with
// --gtest_also_run_disabled_tests and KUBRELL_SHOT_DIR set.
TEST_F(DotViewMarkersTest, DISABLED_Picture) {
    Press(MarkerAt(20, 24));
    Release(MarkerAt(20, 24));
    Settle();
    const QString folder = qEnvironmentVariable("KUBRELL_SHOT_DIR", QDir::tempPath());
    EXPECT_TRUE(view->grab().save(QDir(folder).filePath("dotview-markers.png")));
}
