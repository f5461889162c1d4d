#include <gtest/gtest.h>

#include "document/FaceNavigation.h"
#include "resources/CommandIds.h"
#include "support/EditFixture.h"

namespace {

class FaceNavigationTest : public EditTest {
protected:
    CDotPart* part = Add(1, u"頭");
    CDotPart* body = Add(2, u"体");

    FaceNavigationTest() { document.currentPart = part; }

    CCommandState State(unsigned id) {
        CCommandState state;
        EXPECT_TRUE(document.OnUpdateCommand(id, state)) << id;
        return state;
    }
};

} // namespace

TEST_F(FaceNavigationTest, FacesKeepTheCursorAndShowItsDepthFromThatSide) {
    EXPECT_EQ(part->face, &FaceOrientation::Front);
    EXPECT_EQ(part->GetDepth(), 16);
    EXPECT_TRUE(State(ID_VIEW_FRONT).checked);
    EXPECT_TRUE(State(ID_VIEW_FRONT).radio);
    EXPECT_FALSE(State(ID_VIEW_BACK).checked);

    part->cursor = {3, 16, 20};
    ASSERT_TRUE(document.OnCommand(ID_VIEW_BACK));
    EXPECT_EQ(part->face, &FaceOrientation::Back);
    EXPECT_EQ(part->GetDepth(), 11) << "31 − z";
    EXPECT_EQ(other.Hints(), (std::vector<int>{HINT_FACE}));
    document.OnCommand(ID_VIEW_LEFT);
    EXPECT_EQ(part->GetDepth(), 3) << "x";
    EXPECT_EQ(part->cursor, (std::array<int, 3>{3, 16, 20}));
    EXPECT_TRUE(State(ID_VIEW_LEFT).checked);

    // Choosing the face already shown tells nobody.
    Reset();
    document.OnCommand(ID_VIEW_LEFT);
    EXPECT_TRUE(other.updates.empty());
    EXPECT_EQ(body->face, &FaceOrientation::Front) << "each part keeps its own face";
    EXPECT_FALSE(document.IsModified()) << "not an edit";
    EXPECT_TRUE(document.commands.empty());
}

TEST_F(FaceNavigationTest, DeeperAndNearerStopAtTheGridAndMoveOnlyTheDepth) {
    part->face = &FaceOrientation::Top; // depth c is 31 − y
    part->cursor = {5, 1, 7};
    EXPECT_EQ(part->GetDepth(), 30);
    EXPECT_TRUE(State(ID_VIEW_DEEPER).enabled);
    document.OnCommand(ID_VIEW_DEEPER);
    EXPECT_EQ(part->cursor, (std::array<int, 3>{5, 0, 7}));
    EXPECT_FALSE(State(ID_VIEW_DEEPER).enabled);
    EXPECT_TRUE(State(ID_VIEW_NEARER).enabled);
    Reset();
    EXPECT_FALSE(GoDeeper(*part));
    EXPECT_TRUE(other.updates.empty());

    EXPECT_TRUE(SetPartDepth(*part, 0, &view));
    EXPECT_EQ(part->cursor, (std::array<int, 3>{5, 31, 7}));
    EXPECT_FALSE(State(ID_VIEW_NEARER).enabled);
    EXPECT_FALSE(GoNearer(*part));
    EXPECT_FALSE(SetPartDepth(*part, 0));
    EXPECT_FALSE(SetPartDepth(*part, 32));
    EXPECT_FALSE(SetPartDepth(*part, -1));
    EXPECT_EQ(other.Hints(), (std::vector<int>{HINT_FACE}));
    EXPECT_TRUE(view.updates.empty()) << "the sender is skipped";
}

TEST_F(FaceNavigationTest, WithoutACurrentPartThePartCommandsAreNotHandled) {
    document.currentPart = nullptr;
    CCommandState state;
    for (unsigned id : {ID_VIEW_FRONT, ID_VIEW_DEEPER, ID_VIEW_NEARER, ID_PART_INVERT,
                        ID_PART_RIGID_BODY, ID_PART_JOINT}) {
        EXPECT_FALSE(document.OnUpdateCommand(id, state)) << id;
        EXPECT_FALSE(document.OnCommand(id)) << id;
    }
}
