#include <gtest/gtest.h>

#include "rigging/AngleUnits.h"
#include "rigging/BoneDialogModel.h"
#include "rigging/ChangeBoneCommand.h"
#include "rigging/ChangeBonePositionCommand.h"
#include "support/EditFixture.h"

namespace {

class BoneEditTest : public EditTest {
protected:
    // A { B { C { D } }, E (hidden), F }, G
    CDotPart* a = Add(1, u"A");
    CDotPart* b = Add(2, u"B", a);
    CDotPart* c = Add(3, u"C", b);
    CDotPart* d = Add(4, u"D", c);
    CDotPart* e = Add(5, u"E", a);
    CDotPart* f = Add(6, u"F", a);
    CDotPart* g = Add(7, u"G");

    BoneEditTest() { e->boneKind = BONE_HIDDEN; }
};

} // namespace

TEST_F(BoneEditTest, BoneCommandSwapsTheSettingsWithTheirReferenceIds) {
    CPart::BONE bone = GetBone(*d);
    bone.name = u"手";
    bone.boneKind = BONE_ROTATE;
    bone.morph = 1;
    bone.linkedPart = g;
    bone.angle = {0.5f, -0.25f, 1.0f};
    bone.ikRange = 2;
    bone.ikName = u"手ＩＫ";
    bone.ikParent = b;
    ExpectRoundTrip([&] { document.Execute(std::make_unique<CChangeBoneCommand>(*d, bone)); },
                    {{Notice<HINT_BONE>(d)}}, {{Notice<HINT_BONE>(d)}});
    EXPECT_EQ(document.commands.back()->name, u"ボーン編集");
    EXPECT_EQ(GetBone(*d), bone);
    EXPECT_EQ(d->linkedPartId, 7);
    EXPECT_EQ(d->ikParentId, 2);

    // A reference whose target is out of the tree has no pointer but keeps its
    // id; changing the bone and undoing keeps that id too.
    d->linkedPart = nullptr;
    d->linkedPartId = 99;
    bone.linkedPart = nullptr;
    document.Execute(std::make_unique<CChangeBoneCommand>(*d, bone));
    EXPECT_EQ(d->linkedPartId, 0);
    document.Undo();
    EXPECT_EQ(d->linkedPartId, 99);
}

TEST_F(BoneEditTest, JointPointCommandsMoveOnePointEach) {
    ExpectRoundTrip(
        [&] {
            document.Execute(std::make_unique<CChangeBonePositionCommand>(*c, std::array{1, 2, 3}),
                             &view);
        },
        {{Notice<HINT_BONE_POSITION>(c)}}, {{Notice<HINT_BONE_POSITION>(c)}}, &view);
    EXPECT_EQ(c->bonePosition, (std::array{1, 2, 3}));
    EXPECT_EQ(c->parentPosition, (std::array{32, 32, 32}));
    EXPECT_EQ(document.commands.back()->name, u"ボーン移動");
    ExpectRoundTrip(
        [&] {
            document.Execute(
                std::make_unique<CChangeParentPositionCommand>(*c, std::array{4, 5, 6}));
        },
        {{Notice<HINT_BONE_POSITION>(c)}}, {{Notice<HINT_BONE_POSITION>(c)}});
    EXPECT_EQ(c->parentPosition, (std::array{4, 5, 6}));
    EXPECT_EQ(c->bonePosition, (std::array{1, 2, 3}));
    EXPECT_EQ(document.commands.back()->name, u"ボーン移動");
}

TEST_F(BoneEditTest, DialogListsOfferOnlyWhatMayBeChosen) {
    EXPECT_EQ(GetLinkCandidates(document, *d), (std::vector<CPart*>{f, g}));
    EXPECT_EQ(GetLinkCandidates(document, *b), (std::vector<CPart*>{f, g}));
    EXPECT_EQ(GetLinkCandidates(document, *g), (std::vector<CPart*>{a, b, c, d, f}));
    EXPECT_EQ(GetAncestors(*d), (std::vector<CPart*>{c, b, a}));
    EXPECT_TRUE(GetAncestors(*g).empty());

    d->ikRange = 2;
    d->ikParent = a;
    d->linkedPart = g;
    CBoneDialogModel model(*d);
    EXPECT_EQ(model.ikRangeSelection, 1);
    EXPECT_EQ(model.GetIkRange(), 2);
    EXPECT_EQ(model.ikParentSelection, 3);
    EXPECT_EQ(model.GetIkParent(), a);
    EXPECT_EQ(model.linkSelection, 2);
    EXPECT_EQ(model.GetLinkedPart(), g);

    // Values the lists do not offer show no selection and confirm as none.
    d->ikRange = 4;
    d->ikParent = f;
    d->linkedPart = c;
    CBoneDialogModel stale(*d);
    EXPECT_EQ(stale.ikRangeSelection, -1);
    EXPECT_EQ(stale.ikParentSelection, 0);
    EXPECT_EQ(stale.linkSelection, 0);
    const CPart::BONE bone = stale.MakeBone();
    EXPECT_EQ(bone.ikRange, 0);
    EXPECT_EQ(bone.ikParent, nullptr);
    EXPECT_EQ(bone.linkedPart, nullptr);
}

TEST_F(BoneEditTest, DialogEnablesControlsByItsRules) {
    CBoneDialogModel model(*d);
    EXPECT_TRUE(model.AreKindRadiosEnabled());
    EXPECT_FALSE(CBoneDialogModel(*g).AreKindRadiosEnabled()) << "a top-level part";
    EXPECT_FALSE(model.IsLinkListEnabled());
    model.morph = true;
    EXPECT_TRUE(model.IsLinkListEnabled());
    EXPECT_FALSE(model.AreIkListsEnabled());
    model.ikName = u"x";
    EXPECT_TRUE(model.AreIkListsEnabled());

    EXPECT_TRUE(model.IsOkEnabled()) << "its own name";
    model.name = u"B";
    EXPECT_FALSE(model.IsOkEnabled()) << "another part's name";
    EXPECT_FALSE(model.Apply());
    model.name.clear();
    EXPECT_FALSE(model.IsOkEnabled());
    model.name = u"新しい名前";
    EXPECT_TRUE(model.IsOkEnabled());
    EXPECT_TRUE(document.commands.empty());
}

TEST_F(BoneEditTest, DialogMapsRadiosAndDegrees) {
    EXPECT_EQ(BoneKindToRadio(BONE_MOVE), 0);
    EXPECT_EQ(BoneKindToRadio(BONE_ROTATE), 1);
    EXPECT_EQ(BoneKindToRadio(BONE_NONE), 2);
    EXPECT_EQ(BoneKindToRadio(BONE_HIDDEN), 3);
    EXPECT_EQ(BoneKindToRadio(7), -1);
    for (int radio = 0; radio < 4; ++radio)
        EXPECT_EQ(BoneKindToRadio(RadioToBoneKind(radio)), radio);
    EXPECT_EQ(RadioToBoneKind(-1), -1);

    d->angle = {1.0f, 0.0f, -0.5f};
    CBoneDialogModel model(*d);
    EXPECT_EQ(model.angleDegrees[0], 57.295776f);
    EXPECT_EQ(model.angleDegrees[2], -0.5f * 57.295776f);
    model.angleDegrees = {90.0f, 0.0f, 10.0f};
    model.kindRadio = -1; // no button: the kind stays
    const CPart::BONE bone = model.MakeBone();
    EXPECT_EQ(bone.angle[0], 90.0f * 0.017453292f);
    EXPECT_EQ(bone.angle[2], 0.17453292f);
    EXPECT_EQ(bone.boneKind, BONE_MOVE);
    model.kindRadio = 1;
    EXPECT_EQ(model.MakeBone().boneKind, BONE_ROTATE);
}

TEST_F(BoneEditTest, DialogOkIsOneStepEvenWithoutChangesAndKeepsTheLinkWithoutMorph) {
    CBoneDialogModel model(*d);
    model.morph = true;
    model.linkSelection = 1; // F
    model.morph = false;     // turned off again: the link stays chosen
    model.ikName = u"IK";
    model.ikRangeSelection = 2;
    model.ikParentSelection = 2; // B
    EXPECT_TRUE(model.Apply());
    EXPECT_EQ(d->linkedPart, f);
    EXPECT_EQ(d->morph, 0);
    EXPECT_EQ(d->ikRange, 3);
    EXPECT_EQ(d->ikParent, b);
    EXPECT_EQ(d->ikParentId, 2);

    // Confirming without a change is a step of its own that changes nothing,
    // not even an angle by a rounding step (58.598816 degrees does not come
    // back to its radians through the two factors).
    a->angle = {0.0f, 0.0f, 58.598816f * 0.017453292f};
    ASSERT_NE(ToRadians(ToDegrees(a->angle[2])), a->angle[2]);
    document.UpdateAllPlacements();
    const std::string before = DescribeDocument(document);
    CBoneDialogModel unchanged(*a);
    EXPECT_TRUE(unchanged.Apply());
    EXPECT_EQ(document.commands.size(), 2u);
    EXPECT_EQ(DescribeDocument(document), before);
}
