#include <gtest/gtest.h>

#include "document/EditorPrompt.h"
#include "document/PartMirror.h"
#include "resources/CommandIds.h"
#include "support/EditFixture.h"

namespace {

class PartMirrorTest : public EditTest {
protected:
    // 上半身 { 左肩 (at 40) { 左腕 { 左ひじ } }, 右肩 (at 24) }
    CDotPart* body = Add(1, u"上半身");
    CDotPart* leftShoulder = Add(2, u"左肩", body);
    CDotPart* leftArm = Add(3, u"左腕", leftShoulder);
    CDotPart* leftElbow = Add(4, u"左ひじ", leftArm);
    CDotPart* rightShoulder = Add(5, u"右肩", body);

    PartMirrorTest() {
        leftShoulder->parentPosition = {40, 30, 32};
        rightShoulder->parentPosition = {24, 30, 32};
        leftArm->bonePosition = {44, 30, 30};
        leftArm->parentPosition = {10, 32, 32};
        leftArm->angle = {0.1f, 0.2f, -0.3f};
        leftArm->rate = 1.5f;
        leftArm->morph = 1;
        leftArm->boneKind = BONE_MOVE;
        leftArm->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        leftArm->rigidBody->mass = 3.0f;
        leftArm->SetDot(0, 1, 2, 7);
        leftArm->SetDot(31, 0, 0, 9);
        leftElbow->bonePosition = {12, 20, 33};
        document.currentPart = leftArm;
        SetEditorPrompt(&prompt);
    }
    ~PartMirrorTest() override { SetEditorPrompt(nullptr); }
};

} // namespace

TEST_F(PartMirrorTest, MirroredNamesSwapTheSidePrefix) {
    EXPECT_EQ(MirroredName(u"左腕"), u"右腕");
    EXPECT_EQ(MirroredName(u"右足首"), u"左足首");
    EXPECT_EQ(MirroredName(u"左"), u"右");
    EXPECT_EQ(MirroredName(u"頭"), u"頭");
    EXPECT_EQ(MirroredName(u"腕左"), u"腕左");
    EXPECT_EQ(MirroredName(u""), u"");
}

TEST_F(PartMirrorTest, InvertMakesANewMirroredPartUnderTheMirroredParent) {
    CDotPart* made = nullptr;
    ExpectRoundTrip([&] { made = dynamic_cast<CDotPart*>(InvertPart(*leftArm, prompt)); },
                    {{HINT_PARTS}}, {{HINT_PARTS}});
    EXPECT_TRUE(prompt.questions.empty());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->name, u"右腕");
    EXPECT_EQ(made->id, 6);
    EXPECT_EQ(made->parent, rightShoulder);
    EXPECT_EQ(document.currentPart, made);
    EXPECT_EQ(document.commands.back()->name, u"部品反転");

    EXPECT_EQ(made->angle[0], 0.1f);
    EXPECT_EQ(made->angle[1], -0.2f);
    EXPECT_EQ(made->angle[2], 0.3f);
    EXPECT_EQ(made->rate, 1.5f);
    EXPECT_EQ(made->morph, 1);
    EXPECT_EQ(made->GetDot(31, 1, 2), 7);
    EXPECT_EQ(made->GetDot(0, 0, 0), 9);
    EXPECT_EQ(made->CountDots(), 2);
    ASSERT_NE(made->rigidBody, nullptr);
    EXPECT_NE(made->rigidBody.get(), leftArm->rigidBody.get());
    EXPECT_EQ(made->rigidBody->mass, 3.0f);
    EXPECT_EQ(made->joint, nullptr);
    EXPECT_EQ(made->parentPosition, (std::array<int, 3>{54, 32, 32}));
    // Mirrored about the shoulders: 40 + 24 − 44.
    EXPECT_EQ(made->bonePosition, (std::array<int, 3>{20, 30, 30}));
    EXPECT_TRUE(made->children.empty()) << "children are not copied";
}

TEST_F(PartMirrorTest, APartWithoutASideGetsANumberedCopyBesideIt) {
    CPart* made = InvertPart(*body, prompt);
    EXPECT_EQ(made->name, u"上半身1");
    EXPECT_EQ(made->parent, nullptr);
    CPart* again = InvertPart(*leftElbow, prompt);
    EXPECT_EQ(again->name, u"右ひじ");
    EXPECT_EQ(again->parent, leftArm) << "no 右腕: the source's own parent";
}

TEST_F(PartMirrorTest, OverwritingAsksAndCancelChangesNothing) {
    CPart* made = InvertPart(*leftArm, prompt);
    const std::string before = DescribeDocument(document);
    const size_t steps = document.commands.size();
    prompt.answer = false;
    EXPECT_EQ(InvertPart(*leftArm, prompt), nullptr);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], u"既存の 右腕 に上書きします。");
    EXPECT_EQ(DescribeDocument(document), before);
    EXPECT_EQ(document.commands.size(), steps);
    EXPECT_EQ(made->name, u"右腕");
}

TEST_F(PartMirrorTest, OverwriteIsOneStepThatUndoesEverythingItWrote) {
    // The existing 右腕 has its own settings, dots, physics and children.
    CDotPart* rightArm = Add(6, u"右腕", rightShoulder);
    CDotPart* rightElbow = Add(7, u"右ひじ", rightArm);
    CDotPart* rightHand = Add(8, u"右手", rightArm);
    rightArm->boneKind = BONE_NONE;
    rightArm->rate = 0.5f;
    rightArm->angle = {1.0f, 1.0f, 1.0f};
    rightArm->bonePosition = {1, 2, 3};
    rightArm->parentPosition = {4, 5, 6};
    rightArm->joint = std::make_unique<JOINT_PARAMS>();
    rightArm->SetDot(5, 5, 5, 3);
    rightArm->dots[GridIndex(0, 1, 2)] = 0x60; // reserved bits where a dot arrives
    rightElbow->bonePosition = {9, 9, 9};
    rightHand->bonePosition = {8, 8, 8};
    document.currentPart = leftArm;

    // Undo leaves the target current, as Do made it.
    checkCurrentPart = false;
    ExpectRoundTrip(
        [&] { document.OnCommand(ID_PART_INVERT); },
        {{Notice<HINT_DOTS>(rightArm)}, {HINT_INVERT}, {Notice<HINT_SELECT_PART>(rightArm)}},
        {{Notice<HINT_DOTS>(rightArm)}, {HINT_INVERT}});
    ASSERT_EQ(prompt.questions.size(), 1u) << "asked on the edit only";
    EXPECT_EQ(document.currentPart, rightArm);
    EXPECT_EQ(rightArm->GetDot(5, 5, 5), 0);
    EXPECT_EQ(rightArm->GetDot(31, 1, 2), 7);
    EXPECT_EQ(rightArm->dots[GridIndex(0, 1, 2)], 0x60);
    EXPECT_EQ(rightArm->boneKind, BONE_MOVE);
    EXPECT_EQ(rightArm->joint, nullptr);
    EXPECT_EQ(rightArm->bonePosition, (std::array<int, 3>{20, 30, 30}));
    EXPECT_EQ(rightElbow->bonePosition, (std::array<int, 3>{52, 20, 33}));
    EXPECT_EQ(rightHand->bonePosition, (std::array<int, 3>{8, 8, 8}));
}
