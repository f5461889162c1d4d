#include "document/DotPart.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "document/DotDocument.h"
#include "support/ScopedProfile.h"

namespace {

class DotPartTest : public ::testing::Test {
protected:
    CScopedProfile profile;
    CDotDocument document;

    std::unique_ptr<CDotPart> Make(int id = 1) { return document.CreatePart(id, u"p"); }
};

} // namespace

TEST_F(DotPartTest, NewPartDefaults) {
    const auto part = Make(7);
    EXPECT_EQ(part->document, &document);
    EXPECT_EQ(part->id, 7);
    EXPECT_EQ(part->boneKind, BONE_MOVE);
    EXPECT_EQ(part->rate, 1.0f);
    EXPECT_EQ(part->bonePosition, (std::array<int, 3>{32, 32, 32}));
    EXPECT_EQ(part->parentPosition, (std::array<int, 3>{32, 32, 32}));
    EXPECT_EQ(part->cursor, (std::array<int, 3>{16, 16, 16}));
    EXPECT_EQ(part->face, &FaceOrientation::Front);
    EXPECT_EQ(part->Grid(), nullptr);
    EXPECT_FALSE(part->HasRigidBody());
    EXPECT_FALSE(part->HasJoint());
}

TEST_F(DotPartTest, StorageAppearsOnlyForANonEmptyDot) {
    auto part = Make();
    part->SetDot(1, 2, 3, 0);
    EXPECT_EQ(part->Grid(), nullptr);
    EXPECT_EQ(part->GetDot(1, 2, 3), 0);
    part->SetDot(1, 2, 3, 5);
    ASSERT_NE(part->Grid(), nullptr);
    EXPECT_EQ(part->Grid()[GridIndex(1, 2, 3)], 5);
    EXPECT_EQ(part->Grid()[3 * 1024 + 2 * 32 + 1], 5);
    // Erasing again keeps the (now empty) storage.
    part->SetDot(1, 2, 3, 0);
    EXPECT_NE(part->Grid(), nullptr);
    EXPECT_FALSE(part->HasDots());
    EXPECT_TRUE(part->IsEmpty());
}

TEST_F(DotPartTest, SetDotKeepsTheHighBits) {
    auto part = Make();
    part->SetDot(0, 0, 0, 1);
    part->Grid()[0] = 0xE1; // bits 5–7 set
    part->SetDot(0, 0, 0, 4);
    EXPECT_EQ(part->Grid()[0], 0xE4);
    EXPECT_EQ(part->GetDot(0, 0, 0), 4);
    part->SetDot(0, 0, 0, 0x3F); // only the low five bits are taken
    EXPECT_EQ(part->Grid()[0], 0xFF);
    part->SetDot(0, 0, 0, 0);
    EXPECT_EQ(part->Grid()[0], 0xE0);
    // Scratch and reserved bits alone do not make a dot.
    EXPECT_EQ(part->GetDot(0, 0, 0), 0);
    EXPECT_FALSE(part->HasDots());
    EXPECT_EQ(part->CountDots(), 0);
}

TEST_F(DotPartTest, SnapshotsReplaceAndReleaseTheGrid) {
    auto part = Make();
    std::vector<uint8_t> snapshot(GridDots, 0);
    part->CopyDots(snapshot);
    EXPECT_EQ(snapshot, std::vector<uint8_t>(GridDots, 0));

    snapshot[GridIndex(31, 31, 31)] = 9;
    part->SetDots(snapshot);
    EXPECT_EQ(part->GetDot(31, 31, 31), 9);
    EXPECT_EQ(part->CountDots(), 1);
    std::vector<uint8_t> copy(GridDots, 0xAA);
    part->CopyDots(copy);
    EXPECT_EQ(copy, snapshot);

    // A snapshot without a non-empty dot releases the storage, even when
    // its high bits are set.
    std::vector<uint8_t> blank(GridDots, 0xE0);
    part->SetDots(blank);
    EXPECT_EQ(part->Grid(), nullptr);

    std::vector<uint8_t> wrong(GridDots - 1, 0);
    EXPECT_THROW(part->SetDots(wrong), std::invalid_argument);
    EXPECT_THROW(part->CopyDots(wrong), std::invalid_argument);
}

TEST_F(DotPartTest, ColourUseAndEmptinessLookAtTheSubtree) {
    auto root = Make(1);
    auto child = Make(2);
    CDotPart* childPtr = child.get();
    root->InsertChild(-1, std::move(child));
    EXPECT_TRUE(root->IsEmpty());
    EXPECT_FALSE(root->IsUsingColor(3));

    childPtr->SetDot(4, 4, 4, 3);
    EXPECT_TRUE(root->IsUsingColor(3));
    EXPECT_FALSE(root->IsUsingColor(4));
    EXPECT_FALSE(root->IsEmpty());
    EXPECT_FALSE(root->HasDots());

    root->SetDot(0, 0, 0, 1);
    root->Grid()[0] |= 0x80;
    EXPECT_TRUE(root->IsUsingColor(1)); // the scratch bit does not hide a colour
}

TEST_F(DotPartTest, DepthFollowsTheFace) {
    auto part = Make();
    part->cursor = {3, 4, 5};
    EXPECT_EQ(part->GetDepth(), 5);
    EXPECT_TRUE(part->SetDepth(6));
    EXPECT_EQ(part->cursor, (std::array<int, 3>{3, 4, 6}));
    EXPECT_FALSE(part->SetDepth(6));
    part->face = &FaceOrientation::Left; // depth runs along x
    EXPECT_EQ(part->GetDepth(), 3);
    EXPECT_TRUE(part->SetDepth(10));
    EXPECT_EQ(part->cursor, (std::array<int, 3>{10, 4, 6}));
    part->face = &FaceOrientation::Top; // depth runs down y
    EXPECT_EQ(part->GetDepth(), 27);
}

TEST_F(DotPartTest, PhysicsDefaultsAndJointRule) {
    const RIGID_BODY_PARAMS body;
    EXPECT_EQ(body.mass, 1.0f);
    EXPECT_EQ(body.linearDamping, 0.5f);
    EXPECT_EQ(body.angularDamping, 0.5f);
    EXPECT_EQ(body.restitution, 0.0f);
    EXPECT_EQ(body.friction, 0.5f);
    EXPECT_TRUE(body.IsDefault());
    const JOINT_PARAMS joint;
    EXPECT_EQ(std::bit_cast<uint32_t>(joint.rotationMin[0]), 0xBE20D97Cu);
    EXPECT_EQ(std::bit_cast<uint32_t>(joint.rotationMax[2]), 0x3E20D97Cu);
    EXPECT_EQ(joint.positionMax, (std::array<float, 3>{0, 0, 0}));
    EXPECT_TRUE(joint.IsDefault());
    JOINT_PARAMS changed;
    changed.springRotation[1] = 0.1f;
    EXPECT_FALSE(changed.IsDefault());

    auto parent = Make(1);
    auto child = Make(2);
    CDotPart* part = child.get();
    parent->InsertChild(0, std::move(child));
    EXPECT_FALSE(part->CanHaveJoint()); // no rigid body
    part->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    EXPECT_TRUE(part->CanHaveJoint());
    part->boneKind = BONE_NONE;
    EXPECT_FALSE(part->CanHaveJoint());
    part->boneKind = BONE_ROTATE;
    EXPECT_TRUE(part->CanHaveJoint());
    parent->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    EXPECT_FALSE(parent->CanHaveJoint()); // no parent
}
