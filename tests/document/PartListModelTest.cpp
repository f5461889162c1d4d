// The part list without a display: the rows with their depths, icons and
// physics frames, choosing the current part, scrolling, the drag that selects
// or moves a part, and the place the selection keeps after a delete.

#include <gtest/gtest.h>

#include "document/PartListModel.h"
#include "document/PhysicsParams.h"
#include "support/PartTreeFixture.h"

namespace {

class PartListModelTest : public PartTreeTest {
protected:
    CPartListModel model{document, &view};

    // Rows as "depth:id".
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const PartRow& row : model.Rows())
            shown.push_back(std::to_string(row.depth) + ":" + std::to_string(row.part->id));
        return shown;
    }
    // The y of the middle of a row on screen.
    double Middle(int row) const { return model.RowTop(row) + PartRowHeight / 2.0; }
    // An x on a row's name, and one on its icon.
    double OnName(int row) const { return model.NameRect(row, 200).left + 10; }
    double OnIcon(int row) const { return model.IconRect(row).left + 8; }
};

} // namespace

TEST_F(PartListModelTest, RowsShowTheTreeInPreOrderWithIconsAndPhysicsFrames) {
    head->boneKind = BONE_HIDDEN;
    neck->boneKind = 9; // out of range in a file: the last marker
    document.markedPart = lower;
    upper->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();  // green
    lower->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();  // yellow:
    lower->joint = std::make_unique<JOINT_PARAMS>();           //  body, joint, parent
    center->rigidBody = std::make_unique<RIGID_BODY_PARAMS>(); // green: no parent
    center->joint = std::make_unique<JOINT_PARAMS>();          //  for the joint
    arm->joint = std::make_unique<JOINT_PARAMS>();             // none: no body
    document.currentPart = lower;
    model.Reset();

    EXPECT_EQ(Shown(), (std::vector<std::string>{"0:1", "1:2", "2:3", "1:4", "1:5", "0:6"}));
    const std::vector<PartRow>& rows = model.Rows();
    EXPECT_EQ(rows[0].frameColor, FrameRigidBody);
    EXPECT_EQ(rows[1].frameColor, FrameRigidBody);
    EXPECT_EQ(rows[2].frameColor, FrameNone);
    EXPECT_EQ(rows[3].frameColor, FrameJoint);
    EXPECT_EQ(rows[4].frameColor, FrameNone);
    EXPECT_EQ(rows[2].icon, BONE_HIDDEN);
    EXPECT_EQ(rows[5].icon, BONE_HIDDEN);
    EXPECT_EQ(rows[1].icon, BONE_MOVE);
    EXPECT_TRUE(rows[3].marked);
    EXPECT_FALSE(rows[0].marked);
    EXPECT_EQ(model.Selected(), 3) << "the current part's row";

    // A bone without a joint of its own turns the yellow frame green; the
    // marker follows the bone kind and the mark.
    lower->boneKind = BONE_NONE;
    document.markedPart = head;
    model.RefreshLooks();
    EXPECT_EQ(rows[3].frameColor, FrameRigidBody);
    EXPECT_EQ(rows[3].icon, BONE_NONE);
    EXPECT_FALSE(rows[3].marked);
    EXPECT_TRUE(rows[5].marked);
}

TEST_F(PartListModelTest, LongAndDeepTreesBuildInOnePass) {
    // 10,000 parts side by side, then a chain as deep as a file may hold.
    for (int i = 0; i < 10000; ++i)
        Add(100 + i, u"p" + std::u16string(1, char16_t(u'a' + i % 26)), head);
    CPart* parent = arm;
    for (int depth = 0; depth < 1000; ++depth)
        parent = Add(20000 + depth, u"c", parent);
    const std::vector<PartRow> rows = BuildPartRows(document);
    ASSERT_EQ(rows.size(), 6u + 10000u + 1000u);
    EXPECT_EQ(rows[4 + 1000].depth, 2 + 999);
    EXPECT_EQ(rows[4 + 1000].part, parent);
    EXPECT_EQ(rows.back().depth, 1);
    EXPECT_EQ(rows.back().part->parent, head);
}

TEST_F(PartListModelTest, SelectPartMakesThePartCurrentAndTellsTheOtherViews) {
    EXPECT_TRUE(SelectPart(document, upper, &view));
    EXPECT_EQ(document.currentPart, upper);
    EXPECT_TRUE(view.updates.empty()) << "the choosing view is not told";
    ASSERT_EQ(other.updates.size(), 1u);
    EXPECT_EQ(other.updates[0].notice, Notice<HINT_SELECT_PART>(upper));
    EXPECT_EQ(other.updates[0].sender, &view);

    EXPECT_TRUE(SelectPart(document, nullptr, &view));
    EXPECT_EQ(document.currentPart, nullptr);
    EXPECT_EQ(other.updates.back().notice, Notice<HINT_SELECT_PART>(nullptr));

    // A part outside the tree (taken out, or of another document) is refused.
    Reset();
    std::unique_ptr<CPart> out = document.RemoveChild(1);
    CDotDocument another;
    auto stranger = another.CreatePart(1, u"よそ");
    EXPECT_FALSE(SelectPart(document, out.get(), &view));
    EXPECT_FALSE(SelectPart(document, stranger.get(), &view));
    EXPECT_EQ(document.currentPart, nullptr);
    EXPECT_TRUE(other.updates.empty());
}

TEST_F(PartListModelTest, SelectingScrollsAndFollowsTheKeys) {
    for (int i = 0; i < 30; ++i)
        Add(100 + i, u"足" + std::u16string(1, char16_t(u'0' + i % 10)) + char16_t(u'a' + i / 10),
            head);
    document.currentPart = center;
    model.Reset();
    ASSERT_EQ(model.RowCount(), 36);

    // The page: every row that starts more than a DIP above the bottom.
    model.SetViewHeight(18 * 10);
    EXPECT_EQ(model.Page(), 10);
    model.SetViewHeight(18 * 10 - 2);
    EXPECT_EQ(model.Page(), 9);
    model.SetViewHeight(0);
    EXPECT_EQ(model.Page(), 1);
    model.SetViewHeight(18 * 10);
    EXPECT_EQ(model.MaxOrigin(), 26);

    // A step below the page scrolls it by one; a page down by a page.
    Reset();
    EXPECT_TRUE(model.SelectRow(model.StepTarget(CPartListModel::Step::Down)));
    EXPECT_EQ(document.currentPart, upper);
    EXPECT_EQ(other.updates.back().notice, Notice<HINT_SELECT_PART>(upper));
    EXPECT_TRUE(model.SelectRow(model.StepTarget(CPartListModel::Step::PageDown)));
    EXPECT_EQ(model.Selected(), 11);
    EXPECT_EQ(model.Origin(), 2);
    EXPECT_TRUE(model.SelectRow(model.StepTarget(CPartListModel::Step::End)));
    EXPECT_EQ(model.Selected(), 35);
    EXPECT_EQ(model.Origin(), 26);
    EXPECT_FALSE(model.SelectRow(model.StepTarget(CPartListModel::Step::Down)))
        << "nothing below the last row";
    EXPECT_TRUE(model.SelectRow(model.StepTarget(CPartListModel::Step::Home)));
    EXPECT_EQ(model.Origin(), 0);
    EXPECT_FALSE(model.SelectRow(-5));

    // The wheel: a notch back is a row up; small deltas add up; the ends hold.
    model.SetOrigin(10);
    EXPECT_TRUE(model.Wheel(120));
    EXPECT_EQ(model.Origin(), 9);
    EXPECT_FALSE(model.Wheel(-60));
    EXPECT_TRUE(model.Wheel(-60));
    EXPECT_EQ(model.Origin(), 10);
    model.Wheel(1 << 30);
    EXPECT_EQ(model.Origin(), 0);
    model.Wheel(-(1 << 30));
    EXPECT_EQ(model.Origin(), 26);

    // Another view chose a part: its row is selected and shown, nothing sent.
    Reset();
    document.currentPart = neck;
    EXPECT_TRUE(model.FollowCurrentPart());
    EXPECT_EQ(model.Selected(), 2);
    EXPECT_EQ(model.Origin(), 2);
    EXPECT_TRUE(other.updates.empty());
    document.currentPart = nullptr;
    EXPECT_FALSE(model.FollowCurrentPart());
    EXPECT_EQ(model.Selected(), 2);
}

TEST_F(PartListModelTest, ClicksSelectAndASecondClickOnTheSelectedRowRenames) {
    document.currentPart = center;
    model.Reset();
    model.SetViewHeight(400);

    // A click on another row selects it and is no rename.
    EXPECT_TRUE(model.Press(OnName(3), Middle(3)));
    EXPECT_EQ(model.DragMode(), CPartListModel::Drag::Selecting);
    EXPECT_EQ(document.currentPart, lower);
    EXPECT_EQ(model.Release(), -1);
    // A second click on it is.
    model.Press(OnName(3), Middle(3));
    EXPECT_EQ(model.Release(), 3);
    // Unless the pointer left the row before the release.
    model.Press(OnName(3), Middle(3));
    model.DragTo(OnName(3), Middle(4));
    EXPECT_EQ(model.Selected(), 4);
    model.DragTo(OnName(3), Middle(3));
    EXPECT_EQ(model.Release(), -1);
    EXPECT_EQ(model.DragMode(), CPartListModel::Drag::None);

    // Below the last row a left press does nothing; a right press takes the
    // last row, and above the rows the first.
    EXPECT_FALSE(model.Press(OnName(0), Middle(6)));
    EXPECT_EQ(model.Selected(), 3);
    EXPECT_TRUE(model.RightPress(Middle(20)));
    EXPECT_EQ(document.currentPart, head);
    EXPECT_TRUE(model.RightPress(-30));
    EXPECT_EQ(document.currentPart, center);
    EXPECT_TRUE(document.commands.empty());
}

TEST_F(PartListModelTest, DraggingAnIconMovesThePartWhereTheMarkerShows) {
    document.currentPart = center;
    model.Reset();
    model.SetViewHeight(400);
    EXPECT_TRUE(model.ShowsMoveCursor(OnIcon(1), Middle(1)));
    EXPECT_FALSE(model.ShowsMoveCursor(OnIcon(0), Middle(0))) << "a top-level part";
    EXPECT_FALSE(model.ShowsMoveCursor(OnName(1), Middle(1)));

    // 上 onto its own child's place (one row down, one level right): refused.
    EXPECT_TRUE(model.Press(OnIcon(1), Middle(1)));
    EXPECT_EQ(model.DragMode(), CPartListModel::Drag::Moving);
    EXPECT_EQ(model.DropRow(), 1);
    EXPECT_EQ(model.DropDepth(), 1);
    EXPECT_TRUE(model.DragTo(3 * PartIndent + 3, Middle(2)));
    EXPECT_EQ(model.DropRow(), 2);
    EXPECT_EQ(model.DropDepth(), 3);
    EXPECT_FALSE(model.Drop().allowed);
    EXPECT_FALSE(model.DragTo(3 * PartIndent + 5, Middle(2))) << "the same marker";
    EXPECT_EQ(model.Release(), -1);
    EXPECT_TRUE(document.commands.empty());
    EXPECT_EQ(model.DropRow(), -1);

    // Back onto its own place: allowed, but no command.
    model.Press(OnIcon(1), Middle(1));
    model.DragTo(PartIndent + 2, Middle(1));
    EXPECT_TRUE(model.Drop().allowed);
    model.Release();
    EXPECT_TRUE(document.commands.empty());

    // Far below the rows and to the left: the end of the top level, as one
    // undo step; the part stays selected and current.
    model.Press(OnIcon(1), Middle(1));
    model.DragTo(-50, 5000);
    EXPECT_EQ(model.DropRow(), 6);
    EXPECT_EQ(model.DropDepth(), 0);
    model.Release();
    ASSERT_EQ(document.commands.size(), 1u);
    EXPECT_EQ(document.commands.back()->name, u"移動");
    EXPECT_EQ(document.GetChild(2), upper);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"0:1", "1:4", "1:5", "0:6", "0:2", "1:3"}));
    EXPECT_EQ(model.Selected(), 4);
    EXPECT_EQ(document.currentPart, upper);

    // A drag cancelled (the pointer was taken) moves nothing.
    model.Press(OnIcon(4), Middle(4));
    model.DragTo(PartIndent + 2, Middle(1));
    model.Cancel();
    EXPECT_EQ(model.Release(), -1);
    EXPECT_EQ(document.commands.size(), 1u);
}

TEST_F(PartListModelTest, AfterADeleteTheSelectionKeepsItsPlaceAndTheDocumentAgrees) {
    document.currentPart = upper;
    model.Reset();
    model.SetViewHeight(400);
    Reset();

    // The row below the deleted subtree moves up into its place.
    model.DeleteSelected(u"削除");
    EXPECT_EQ(document.commands.back()->name, u"削除");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"0:1", "1:4", "1:5", "0:6"}));
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_EQ(document.currentPart, lower);
    EXPECT_EQ(other.updates.back().notice, Notice<HINT_SELECT_PART>(lower));
    EXPECT_EQ(other.updates.back().sender, &view);

    // The last row: the new last row.
    model.SelectRow(3);
    model.DeleteSelected(u"切り取り");
    EXPECT_EQ(model.Selected(), 2);
    EXPECT_EQ(document.currentPart, arm);

    // Undo brings the part back where it was.
    document.Undo();
    model.Rebuild();
    EXPECT_EQ(document.GetChild(1), head);
    EXPECT_EQ(document.currentPart, arm);
    EXPECT_EQ(model.Selected(), model.RowOf(arm));

    // Down to nothing: no row, no current part.
    while (document.currentPart)
        model.DeleteSelected(u"削除");
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_EQ(model.Selected(), -1);
    EXPECT_EQ(model.SelectedPart(), nullptr);
    EXPECT_FALSE(model.SelectRow(0));
    EXPECT_FALSE(model.Press(10, 5));
}
