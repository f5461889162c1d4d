// The dot view's tools as a person uses them: each stroke is one undo step
// with the tool's label (none when nothing changed), the picker returns to
// the tool before it, and pointers far outside the grid touch nothing.

#include <QAction>

#include "DotViewFixture.h"
#include "resources/CommandIds.h"

TEST_F(DotViewTest, PencilStrokeIsOneUndoStepWithItsLabel) {
    ASSERT_EQ(view->CurrentToolId(), ID_TOOL_PENCIL);
    EXPECT_TRUE(Router().Action(ID_TOOL_PENCIL)->isChecked());
    Document().currentColor[0] = 5;
    const size_t before = Commands();
    Drag({{2, 3}, {3, 3}, {4, 3}, {6, 3}});
    ASSERT_EQ(Commands(), before + 1);
    EXPECT_EQ(LastLabel(), "鉛筆ツール");
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 鉛筆ツール\tCtrl+Z");
    for (int column : {2, 3, 4, 6})
        EXPECT_EQ(DotAt(column, 3), 5) << column;
    EXPECT_EQ(DotAt(5, 3), 0) << "positions between reports are not filled in";

    // The same stroke again changes nothing and adds no step.
    Drag({{2, 3}, {3, 3}, {4, 3}, {6, 3}});
    EXPECT_EQ(Commands(), before + 1);

    Router().Execute(ID_EDIT_UNDO);
    Settle();
    EXPECT_EQ(DotAt(2, 3), 0);
    EXPECT_EQ(view->Slice().working.GetDot(2, 3), 0) << "undo reloads the slice";
}

TEST_F(DotViewTest, RightButtonDrawsColourTwoAndEachShapeToolNamesItsStep) {
    Document().currentColor = {7, 4};
    Click({1, 1}, Qt::RightButton);
    EXPECT_EQ(DotAt(1, 1), 4);

    Router().Execute(ID_TOOL_LINE);
    Drag({{0, 10}, {2, 11}, {3, 11}});
    EXPECT_EQ(LastLabel(), "直線ツール");
    EXPECT_EQ(DotAt(0, 10), 7);
    EXPECT_EQ(DotAt(1, 10), 7);
    EXPECT_EQ(DotAt(2, 11), 7);
    EXPECT_EQ(DotAt(3, 11), 7);
    EXPECT_EQ(DotAt(2, 10), 0) << "the line is redrawn from its snapshot on each move";

    Router().Execute(ID_TOOL_RECTANGLE);
    Drag({{5, 5}, {9, 9}, {2, 8}});
    EXPECT_EQ(LastLabel(), "矩形");
    EXPECT_EQ(DotAt(2, 5), 7);
    EXPECT_EQ(DotAt(5, 8), 7);
    EXPECT_EQ(DotAt(3, 6), 0);
    EXPECT_EQ(DotAt(9, 9), 0) << "an earlier extent of the drag is gone";

    Router().Execute(ID_TOOL_FILLED_RECTANGLE);
    Drag({{20, 20}, {21, 21}});
    EXPECT_EQ(LastLabel(), "塗りつぶし矩形");
    EXPECT_EQ(DotAt(20, 21), 7);

    Router().Execute(ID_TOOL_PAINT);
    Document().currentColor[0] = 9;
    const size_t before = Commands();
    Click({3, 6}); // inside the outline
    ASSERT_EQ(Commands(), before + 1);
    EXPECT_EQ(LastLabel(), "塗りつぶし");
    EXPECT_EQ(DotAt(4, 7), 9);
    EXPECT_EQ(DotAt(1, 6), 0) << "the outline stops the fill";
    Click({4, 7}); // the colour is already there
    EXPECT_EQ(Commands(), before + 1);
}

TEST_F(DotViewTest, PickerSetsTheButtonsColourAndReturnsToThePreviousTool) {
    Document().currentColor = {5, 0};
    Click({8, 8});
    Router().Execute(ID_TOOL_LINE);
    Router().Execute(ID_TOOL_SPOIT);
    Settle();
    EXPECT_TRUE(Router().Action(ID_TOOL_SPOIT)->isChecked());
    const size_t before = Commands();
    Click({8, 8}, Qt::RightButton);
    EXPECT_EQ(Document().currentColor[1], 5);
    EXPECT_EQ(Commands(), before) << "picking is not an edit";
    EXPECT_EQ(view->CurrentToolId(), ID_TOOL_LINE);
    Settle();
    EXPECT_TRUE(Router().Action(ID_TOOL_LINE)->isChecked());

    // Ctrl+click picks with any tool and leaves the tool and the dots alone.
    Document().currentColor[0] = 3;
    Press(Centre(8, 8), Qt::LeftButton, Qt::ControlModifier);
    Release(Centre(8, 8));
    EXPECT_EQ(Document().currentColor[0], 5);
    EXPECT_EQ(view->CurrentToolId(), ID_TOOL_LINE);
    EXPECT_EQ(Commands(), before);
    // Outside the grid nothing is picked.
    Press(Centre(40, 3), Qt::LeftButton, Qt::ControlModifier);
    Release(Centre(40, 3));
    EXPECT_EQ(Document().currentColor[0], 5);
}

TEST_F(DotViewTest, DragsFarOutsideTheViewTouchNoCellOutsideTheGrid) {
    Document().currentColor[0] = 6;
    for (unsigned tool : {ID_TOOL_PENCIL, ID_TOOL_LINE, ID_TOOL_RECTANGLE, ID_TOOL_FILLED_RECTANGLE,
                          ID_TOOL_PAINT, ID_TOOL_SELECT}) {
        Router().Execute(tool);
        Press(Centre(0, 0));
        Move({-5000, -3000});
        Move({1e6, 2e6});
        Move({-1e9, 1e9});
        Release({90000, -90000});
        Settle();
    }
    int painted = 0;
    for (int z = 0; z < 32; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                painted += Part().GetDot(x, y, z) == 6;
    // Only the slice shown can change: at most its 32 × 32 cells.
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, 1024);
    EXPECT_EQ(Part().GetDepth(), 16);
}

TEST_F(DotViewTest, RemovingThePartMidDragEndsTheDragWithoutWriting) {
    Document().currentColor[0] = 6;
    CPart* old = &CurrentPart();
    Press(Centre(1, 1));
    Move(Centre(2, 1));
    // Another part becomes current while the button is down.
    Document().currentPart = old->GetChildCount() ? old->GetChild(0) : nullptr;
    Document().UpdateAllViews(nullptr, Notice<HINT_SELECT_PART>(Document().currentPart));
    Release(Centre(3, 1));
    Settle();
    EXPECT_EQ(view->Part(), Document().currentPart);
    EXPECT_EQ(view->isEnabled(), Document().currentPart != nullptr);
    auto* oldPart = dynamic_cast<CDotPart*>(old);
    EXPECT_EQ(oldPart->GetDot(1, 30, 16), 0) << "the cancelled stroke is not committed";
    // No part at all: the view is disabled and ignores input.
    Document().currentPart = nullptr;
    Document().UpdateAllViews(nullptr, Notice<HINT_PARTS>());
    EXPECT_FALSE(view->isEnabled());
    EXPECT_EQ(view->Part(), nullptr);
    const size_t before = Commands();
    Press(Centre(1, 1));
    Release(Centre(1, 1));
    EXPECT_EQ(Commands(), before);
}
