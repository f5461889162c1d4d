// The dot view's slice model: reading a part's slice through its face and
// depth, the deeper slice shown behind empty cells, composing the floating
// block, and committing differences as one command (or none).

#include <gtest/gtest.h>

#include "document/DotCommand.h"
#include "document/DocumentSettings.h"
#include "document/DotSlice.h"
#include "document/FaceNavigation.h"
#include "support/EditFixture.h"

namespace {

class DotSliceTest : public EditTest {
protected:
    void SetUp() override {
        part = Add(1, u"体");
        document.currentPart = part;
    }
    CDotPart* part = nullptr;
    CDotSlice slice;
};

} // namespace

TEST_F(DotSliceTest, ReloadFollowsTheFaceAndDepth) {
    part->SetDot(3, 31 - 4, 16, 5); // front, view (3, 4) at depth 16
    part->SetDot(3, 31 - 4, 17, 6); // one slice deeper
    slice.Reload(part);
    EXPECT_EQ(slice.working.GetDot(3, 4), 5);
    EXPECT_EQ(slice.committed.GetDot(3, 4), 5);
    EXPECT_EQ(slice.behind.GetDot(3, 4), 6);

    // The back face at cursor (16, 16, 16) shows depth 15: x = 31 − a.
    SetPartFace(*part, FaceOrientation::Back);
    EXPECT_EQ(part->GetDepth(), 15);
    part->SetDot(31 - 3, 31 - 4, 16, 7);
    SetPartDepth(*part, 15);
    part->SetDot(0, 31 - 4, 15, 2); // from the back: (31, 4) at depth 16
    slice.Reload(part);
    EXPECT_EQ(slice.working.GetDot(3, 4), 7);
    EXPECT_EQ(slice.working.GetDot(28, 4), 5);
    EXPECT_EQ(slice.behind.GetDot(31, 4), 2);
    EXPECT_EQ(slice.behind.GetDot(3, 4), 0);
}

TEST_F(DotSliceTest, NothingIsBehindTheDeepestSliceAndNoPartShowsNothing) {
    SetPartDepth(*part, 31);
    part->SetDot(0, 31, 31, 9);
    slice.Reload(part);
    EXPECT_EQ(slice.working.GetDot(0, 0), 9);
    EXPECT_EQ(slice.behind.GetDot(0, 0), 0);
    slice.Reload(nullptr);
    EXPECT_EQ(slice.working.GetDot(0, 0), 0);
}

TEST_F(DotSliceTest, ComposeSkipsTheKeyAndDropsCellsOutsideTheSlice) {
    slice.working.SetDot(30, 30, 4);
    slice.floating.Resize(3, 3);
    slice.floating.Fill({0, 0, 3, 3}, 2);
    slice.floating.SetDot(0, 0, 5);
    slice.floatingOrigin = {30, 30};
    const CDotImage composed = slice.Compose(2);
    EXPECT_EQ(composed.GetDot(30, 30), 5);
    EXPECT_EQ(composed.GetDot(31, 31), 0); // colour 2 is transparent
    EXPECT_EQ(slice.Compose(0).GetDot(31, 31), 2);
    EXPECT_EQ(slice.working.GetDot(30, 30), 4); // the working slice stays
}

TEST_F(DotSliceTest, CommitIsOneCommandInGridCoordinatesWithTheViewAsSender) {
    SetPartFace(*part, FaceOrientation::Left); // x = c, y = 31 − b, z = 31 − a
    part->SetDot(0, 0, 0, 1);                  // the grid has storage before and after
    slice.Reload(part);
    slice.working.SetDot(2, 5, 11);
    slice.working.SetDot(3, 5, 11);
    ExpectRoundTrip([&] { EXPECT_TRUE(slice.Commit(*part, u"鉛筆ツール", 0, document, &view)); },
                    {Notice<HINT_DOTS>(part)}, {Notice<HINT_DOTS>(part)}, &view);
    const CCommand& command = *document.commands.back();
    EXPECT_EQ(command.name, u"鉛筆ツール");
    const auto& dots = static_cast<const CDotCommand&>(command);
    ASSERT_EQ(dots.operations.size(), 2u);
    EXPECT_EQ(dots.operations[0].x, 16);
    EXPECT_EQ(dots.operations[0].y, 26);
    EXPECT_EQ(dots.operations[0].z, 29);
    EXPECT_EQ(slice.committed.GetDot(2, 5), 11);
}

TEST_F(DotSliceTest, NoCommandWhenNothingChanged) {
    part->SetDot(1, 30, 16, 4);
    slice.Reload(part);
    slice.working.SetDot(1, 1, 4); // the same colour again
    EXPECT_EQ(slice.MakeCommand(*part, u"x", 0), nullptr);
    EXPECT_FALSE(slice.Commit(*part, u"x", 0, document, &view));
    EXPECT_TRUE(document.commands.empty());
    EXPECT_FALSE(document.IsModified());
    // A floating block over cells of its own values changes nothing either.
    slice.floating.Resize(1, 1);
    slice.floating.SetDot(0, 0, 4);
    slice.floatingOrigin = {1, 1};
    EXPECT_FALSE(slice.Commit(*part, u"x", 0, document, &view));
}

TEST_F(DotSliceTest, CommittedFloatingBlockIsNotCommittedTwice) {
    slice.Reload(part);
    slice.floating.Resize(2, 1);
    slice.floating.Fill({0, 0, 2, 1}, 3);
    slice.floatingOrigin = {31, 0}; // half outside the slice
    EXPECT_TRUE(slice.Commit(*part, u"移動", 0, document, &view));
    EXPECT_EQ(part->GetDot(31, 31, 16), 3);
    EXPECT_EQ(static_cast<const CDotCommand&>(*document.commands.back()).operations.size(), 1u);
    EXPECT_FALSE(slice.Commit(*part, u"移動", 0, document, &view));
}

TEST(CurrentColor, SetterTellsEveryViewAndRefusesBadValues) {
    CDotDocument document;
    CRecordingObserver view;
    document.AddObserver(&view);
    EXPECT_TRUE(SetCurrentColor(document, 1, 5));
    EXPECT_EQ(document.currentColor[1], 5);
    EXPECT_EQ(view.Hints(), std::vector<int>{HINT_CURRENT_COLOR});
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(SetCurrentColor(document, 2, 5));
    EXPECT_FALSE(SetCurrentColor(document, 0, 32));
    EXPECT_FALSE(SetCurrentColor(document, 0, -1));
    EXPECT_EQ(view.Hints().size(), 1u);
    document.RemoveObserver(&view);
}

TEST_F(DotSliceTest, LiftedBlocksLeaveColourTwoBehindAndKeepTheirCells) {
    slice.working.Fill({0, 0, 4, 4}, 6);
    slice.working.SetDot(1, 1, 3); // colour 2 = 3 is transparent: not lifted
    slice.Lift({0, 0, 2, 2}, 3);
    EXPECT_EQ(slice.selection, (DotRect{0, 0, 2, 2}));
    EXPECT_EQ(slice.working.GetDot(0, 0), 3) << "the hole is filled with colour 2";
    EXPECT_EQ(slice.floating.GetDot(1, 1), 3) << "not lifted: transparent in the block";
    EXPECT_EQ(slice.Compose(3).GetDot(0, 0), 6) << "what shows is unchanged";
    EXPECT_EQ(slice.Compose(3).GetDot(1, 1), 3);

    // Held outside the slice the block keeps its cells; stamped back inside
    // they return.
    slice.floatingOrigin = {-5, 40};
    EXPECT_EQ(slice.Compose(3).GetDot(0, 0), 3);
    slice.floatingOrigin = {2, 2};
    slice.ClearSelection(3);
    EXPECT_FALSE(slice.HasFloating());
    EXPECT_TRUE(slice.selection.IsEmpty());
    EXPECT_EQ(slice.working.GetDot(2, 2), 6);
    EXPECT_EQ(slice.working.GetDot(3, 3), 6);

    // A rectangle reaching beyond the slice lifts only the cells inside it.
    slice.Lift({30, 30, 40, 40}, 0);
    EXPECT_EQ(slice.selection, (DotRect{30, 30, 32, 32}));
    EXPECT_EQ(slice.floating.GetWidth(), 2);
}

TEST_F(DotSliceTest, PastedBlocksDropColourTwoAndCopiesKeepIt) {
    slice.working.Fill({0, 0, 3, 3}, 9);
    CDotImage block(2, 2);
    block.Fill({0, 0, 2, 2}, 4); // colour 2 = 4: transparent when pasted
    block.SetDot(1, 1, 7);
    slice.Float(block, 4);
    EXPECT_EQ(slice.selection, (DotRect{0, 0, 2, 2}));
    const CDotImage shown = slice.Compose(4);
    EXPECT_EQ(shown.GetDot(0, 0), 9);
    EXPECT_EQ(shown.GetDot(1, 1), 7);
    // Copying takes what shows, colour-2 cells of the slice included.
    slice.working.SetDot(0, 1, 4);
    const CDotImage copied = slice.SelectedCells();
    EXPECT_EQ(copied.GetDot(0, 1), 4);
    EXPECT_EQ(copied.GetDot(1, 1), 7);
    // Deleting fills the selection with colour 2 and drops the block.
    slice.DeleteSelection(4);
    EXPECT_FALSE(slice.HasFloating());
    EXPECT_TRUE(slice.selection.IsEmpty());
    EXPECT_EQ(slice.working.GetDot(1, 1), 4);
    EXPECT_EQ(slice.working.GetDot(2, 2), 9);
}
