// The dot view in the window: faces and depths through the commands, the
// status texts, scrolling, the hints it handles, its context menu and keys,
// and the lifetime of the views against the document.

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QSplitter>
#include <QWheelEvent>

#include "DotViewFixture.h"
#include "document/FaceNavigation.h"
#include "resources/CommandIds.h"

namespace {

QMenu* VisibleMenu() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
            return menu;
    return nullptr;
}

void SendWheel(QWidget* target, QPoint delta, Qt::KeyboardModifiers keys = {}) {
    const QPointF at(20, 20);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), delta, Qt::NoButton, keys,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(DotViewTest, SwitchingFacesKeepsTheCursorAndShowsThatFacesSlice) {
    Part().SetDot(31 - 2, 31 - 4, 31 - 15, 9); // seen from the back at depth 15: (2, 4)
    Part().SetDot(16, 31 - 4, 31 - 3, 8);      // seen from the left at depth 16: (3, 4)
    const auto cursor = Part().cursor;
    Router().Execute(ID_VIEW_BACK);
    EXPECT_EQ(Part().face, &FaceOrientation::Back);
    EXPECT_EQ(Part().cursor, cursor);
    EXPECT_EQ(Part().GetDepth(), 15);
    EXPECT_EQ(view->Slice().working.GetDot(2, 4), 9);
    Settle();
    EXPECT_TRUE(Router().Action(ID_VIEW_BACK)->isChecked());

    Router().Execute(ID_VIEW_LEFT);
    EXPECT_EQ(Part().cursor, cursor);
    EXPECT_EQ(Part().GetDepth(), 16);
    EXPECT_EQ(view->Slice().working.GetDot(3, 4), 8);

    // Drawing from the left writes the grid cell of that face.
    Document().currentColor[0] = 2;
    Click({5, 6});
    EXPECT_EQ(Part().GetDot(16, 31 - 6, 31 - 5), 2);
}

TEST_F(DotViewTest, DepthCommandsStopAtBothEnds) {
    Router().Execute(ID_VIEW_FRONT);
    for (int i = 0; i < 40; ++i)
        Router().Execute(ID_VIEW_DEEPER);
    Settle();
    EXPECT_EQ(Part().GetDepth(), 31);
    EXPECT_FALSE(Router().Action(ID_VIEW_DEEPER)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_VIEW_NEARER)->isEnabled());
    for (int i = 0; i < 40; ++i)
        Router().Execute(ID_VIEW_NEARER);
    Settle();
    EXPECT_EQ(Part().GetDepth(), 0);
    EXPECT_FALSE(Router().Action(ID_VIEW_NEARER)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_VIEW_DEEPER)->isEnabled());
    // The slice behind shows through at depth 0, never at 31.
    Part().SetDot(4, 31, 1, 3);
    Document().UpdateAllViews(nullptr, Notice<HINT_DOTS>(&Part()));
    EXPECT_EQ(view->Slice().behind.GetDot(4, 0), 3);
}

TEST_F(DotViewTest, StatusPanesShowTheCellAndTheSelection) {
    Move(Centre(3, 4));
    EXPECT_EQ(frame->StatusPane(1)->text(), "3, 4");
    EXPECT_EQ(frame->StatusPane(2)->text(), "");
    Move(Centre(40, 4)); // beyond the grid
    EXPECT_EQ(frame->StatusPane(1)->text(), "");

    Router().Execute(ID_TOOL_SELECT);
    Drag({{1, 2}, {3, 3}});
    Move(Centre(0, 0));
    EXPECT_EQ(frame->StatusPane(1)->text(), "0, 0");
    EXPECT_EQ(frame->StatusPane(2)->text(), "1, 2");
    EXPECT_EQ(frame->StatusPane(3)->text(), "3 x 2");
    // Esc drops the selection.
    QTest::keyClick(view, Qt::Key_Escape);
    Move(Centre(0, 0));
    EXPECT_EQ(frame->StatusPane(2)->text(), "");
    EXPECT_EQ(frame->StatusPane(3)->text(), "");
}

TEST_F(DotViewTest, ScrollingClampsWhenTheWindowGrowsAndWheelsStepByNotches) {
    frame->Splitter()->setSizes({100, 200, 1000});
    frame->resize(1400, 400);
    Settle();
    QTest::qWait(20);
    ASSERT_LT(view->PageColumns(), 32);
    ASSERT_LT(view->PageRows(), 32);
    view->horizontalScrollBar()->setValue(31);
    view->verticalScrollBar()->setValue(31);
    EXPECT_EQ(view->ScrollOrigin().x, 32 - view->PageColumns());

    // Wheel: one notch up is one row back; Shift turns it sideways; small
    // touchpad deltas add up; a huge delta stops at the ends.
    const DotPoint end = view->ScrollOrigin();
    SendWheel(Viewport(), {0, 120});
    EXPECT_EQ(view->ScrollOrigin().y, end.y - 1);
    SendWheel(Viewport(), {0, 120}, Qt::ShiftModifier);
    EXPECT_EQ(view->ScrollOrigin().x, end.x - 1);
    for (int i = 0; i < 3; ++i)
        SendWheel(Viewport(), {0, 40});
    EXPECT_EQ(view->ScrollOrigin().y, end.y - 2);
    SendWheel(Viewport(), {0, 1 << 30});
    EXPECT_EQ(view->ScrollOrigin(), (DotPoint{end.x - 1, 0}));
    SendWheel(Viewport(), {-(1 << 30), -(1 << 30)});
    EXPECT_EQ(view->ScrollOrigin(), end);

    // Drawing beyond the page scrolls the cell into view.
    view->horizontalScrollBar()->setValue(0);
    Press(Centre(0, end.y + 1));
    Move(QPointF(view->viewport()->width() + 30, Centre(0, end.y + 1).y()));
    EXPECT_GT(view->ScrollOrigin().x, 0);
    Release(Centre(0, end.y + 1));

    // Growing so that all 32 fit puts the origin back to 0.
    frame->Splitter()->setSizes({100, 800, 500});
    frame->resize(1400, 960);
    Settle();
    QTest::qWait(20);
    if (view->PageRows() == 32) {
        EXPECT_EQ(view->ScrollOrigin().y, 0);
    }
    EXPECT_EQ(view->PageColumns(), 32);
    EXPECT_EQ(view->ScrollOrigin().x, 0);

    // No width at all: nothing breaks and drawing still stays in the grid.
    frame->Splitter()->setSizes({100, 0, 1300});
    view->resize(0, view->height());
    Settle();
    EXPECT_EQ(view->PageColumns(), 1);
    Click({0, 0});
}

TEST_F(DotViewTest, EveryHandledHintUpdatesTheView) {
    QSignalSpy painted(view, &CDotView::Painted);
    // 0: the pencil, the origin at (0, 0) and the current part again.
    Router().Execute(ID_TOOL_RECTANGLE);
    view->verticalScrollBar()->setValue(3);
    Document().UpdateAllViews(nullptr, Notice<HINT_INITIAL>());
    EXPECT_EQ(view->CurrentToolId(), ID_TOOL_PENCIL);
    EXPECT_EQ(view->ScrollOrigin(), (DotPoint{0, 0}));

    // 1 and 4: the view follows the current part, which may be gone.
    CPart* first = &CurrentPart();
    CPart* child = first->GetChild(0);
    ASSERT_NE(child, nullptr);
    Document().currentPart = child;
    Document().UpdateAllViews(nullptr, Notice<HINT_SELECT_PART>(child));
    EXPECT_EQ(view->Part(), child);
    Document().currentPart = nullptr;
    Document().UpdateAllViews(nullptr, Notice<HINT_PARTS>(child));
    EXPECT_EQ(view->Part(), nullptr);
    EXPECT_FALSE(view->isEnabled());
    Document().currentPart = first;
    Document().UpdateAllViews(nullptr, Notice<HINT_PARTS>());
    EXPECT_TRUE(view->isEnabled());

    // 9 and 13 reload the slice and drop a selection; the floating cells are
    // stamped back first.
    Part().SetDot(0, 31, 16, 4);
    Router().Execute(ID_TOOL_SELECT);
    Drag({{0, 0}, {1, 1}});
    ASSERT_FALSE(view->Slice().selection.IsEmpty());
    Document().UpdateAllViews(nullptr, Notice<HINT_DOTS>(&Part()));
    EXPECT_TRUE(view->Slice().selection.IsEmpty());
    EXPECT_EQ(view->Slice().working.GetDot(0, 0), 4);
    Part().SetDot(0, 31, 16, 0);
    Document().UpdateAllViews(nullptr, Notice<HINT_FACE>());
    EXPECT_EQ(view->Slice().working.GetDot(0, 0), 0);

    // 3, 8, 15, 16 repaint; 7 and the rest do nothing.
    for (UpdateHint hint : {HINT_BONE, HINT_PALETTE, HINT_INVERT, HINT_BONE_POSITION}) {
        painted.clear();
        Document().UpdateAllViews(nullptr, CUpdateNotice{hint, &Part()});
        EXPECT_TRUE(painted.wait(500)) << hint;
    }
    Settle();
    painted.clear();
    Document().UpdateAllViews(nullptr, Notice<HINT_CURRENT_COLOR>());
    Document().UpdateAllViews(nullptr, Notice<HINT_DOT_SIZE>());
    QTest::qWait(50);
    EXPECT_EQ(painted.count(), 0);
}

TEST_F(DotViewTest, RightPressOnASelectionAndTheMenuKeyOpenTheContextMenu) {
    // Without a selection the right button draws.
    Document().currentColor[1] = 3;
    Click({6, 6}, Qt::RightButton);
    EXPECT_EQ(DotAt(6, 6), 3);
    EXPECT_EQ(VisibleMenu(), nullptr);

    Router().Execute(ID_TOOL_SELECT);
    Drag({{1, 1}, {4, 4}});
    const size_t before = Commands();
    Press(Centre(2, 2), Qt::RightButton);
    Release(Centre(2, 2), Qt::RightButton);
    QMenu* menu = VisibleMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->actions().front()->text(), "分割(&D)");
    EXPECT_EQ(Commands(), before);
    menu->close();
    Settle();

    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                          view->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view, &key);
    menu = VisibleMenu();
    ASSERT_NE(menu, nullptr);
    menu->close();
}

TEST_F(DotViewTest, DeleteKeyAsksTheFrameForTheDeleteCommand) {
    QSignalSpy requests(view, &CDotView::CommandRequested);
    QTest::keyClick(view, Qt::Key_Delete);
    ASSERT_EQ(requests.count(), 1);
    EXPECT_EQ(requests.front().front().toUInt(), ID_EDIT_CLEAR);
}

TEST_F(DotViewTest, FocusLossCancelsADragWithoutCommitting) {
    Document().currentColor[0] = 5;
    const size_t before = Commands();
    Press(Centre(3, 3));
    frame->Splitter()->widget(0)->setFocus();
    Settle();
    Release(Centre(3, 3));
    EXPECT_EQ(Commands(), before);
    // The cell drawn so far stays in the slice and goes with the next commit.
    view->setFocus();
    Click({9, 9});
    EXPECT_EQ(DotAt(3, 3), 5);
}

TEST_F(FrameTest, ClosingTheWindowTakesTheViewsDownBeforeTheDocument) {
    // The dot view observes the document and removes itself when it goes: a
    // frame that destroyed its document first would have it touch freed
    // memory. Destroy a second frame with a drawn, unsaved document.
    auto other = std::make_unique<CMainFrame>(AppProfile(), &prompts);
    other->DocManager().NewDocument();
    CDotView* dotView = other->DotView();
    ASSERT_NE(dotView, nullptr);
    ASSERT_NE(dotView->Part(), nullptr);
    dotView->Working().SetDot(0, 0, 3);
    ASSERT_TRUE(dotView->CommitSlice(130));
    other->Document().SetModifiedFlag(false);
    QPointer<CDotView> watch(dotView);
    other.reset();
    EXPECT_TRUE(watch.isNull());
}
