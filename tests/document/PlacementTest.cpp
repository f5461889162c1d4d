#include <bit>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "document/DotDocument.h"
#include "document/DotPart.h"

namespace {

class PlacementTest : public ::testing::Test {
protected:
    CDotPart& Add(CPartParent& holder, int id) {
        auto part =
            document.CreatePart(id, u"p" + std::u16string(1, static_cast<char16_t>(u'0' + id)));
        CDotPart& ref = *part;
        holder.InsertChild(-1, std::move(part));
        return ref;
    }

    static void ExpectAt(const CDotPart& part, float x, float y, float z) {
        EXPECT_NEAR(x, part.worldPosition[0], 1e-5f);
        EXPECT_NEAR(y, part.worldPosition[1], 1e-5f);
        EXPECT_NEAR(z, part.worldPosition[2], 1e-5f);
    }

    CDotDocument document;
};

} // namespace

TEST_F(PlacementTest, DefaultJointPointsPlaceEverythingAtTheOrigin) {
    document.OnNewDocument();
    for (const CPart* part : document.CollectParts()) {
        const auto& p = static_cast<const CDotPart&>(*part);
        EXPECT_EQ(
            (std::array<float, 3>{0, 0, 0}),
            (std::array<float, 3>{p.worldPosition[0], p.worldPosition[1], p.worldPosition[2]}));
    }
    EXPECT_EQ((std::array<float, 4>{0, 0, 0, 0}), document.modelOffset);
    EXPECT_FALSE(std::signbit(document.modelOffset[1]));
}

TEST_F(PlacementTest, ChildBelowItsParentLiftsTheModel) {
    CDotPart& parent = Add(document, 1);
    CDotPart& child = Add(parent, 2);
    child.bonePosition = {32, 12, 32};
    document.dotSize = 0.5f;
    document.UpdateAllPlacements();
    EXPECT_EQ((std::array<float, 4>{0.0f, -5.0f, 0.0f, 0.0f}), child.worldPosition);
    EXPECT_EQ((std::array<float, 4>{0.0f, 5.0f, 0.0f, 0.0f}), document.modelOffset);
    EXPECT_EQ(-5.0f, parent.UpdatePlacement());
}

TEST_F(PlacementTest, RatesScaleTheOffsetsBelowThePart) {
    CDotPart& root = Add(document, 1);
    CDotPart& middle = Add(root, 2);
    CDotPart& leaf = Add(middle, 3);
    middle.bonePosition = {36, 32, 32}; // 4 half dots of 0.5 from the root: 1.0
    leaf.bonePosition = {32, 32, 40};   // 8 half dots: 2.0 unscaled
    document.UpdateAllPlacements();
    ExpectAt(middle, 1, 0, 0);
    ExpectAt(leaf, 1, 0, 2);

    middle.rate = 2.0f; // doubles what hangs below it, not its own offset
    document.UpdateAllPlacements();
    ExpectAt(middle, 1, 0, 0);
    ExpectAt(leaf, 1, 0, 4);

    root.rate = 3.0f; // scales both levels below the root
    document.UpdateAllPlacements();
    ExpectAt(middle, 3, 0, 0);
    ExpectAt(leaf, 3, 0, 12);
}

TEST_F(PlacementTest, AnglesRotateWhatHangsBelowButNotThePartItself) {
    CDotPart& root = Add(document, 1);
    CDotPart& arm = Add(root, 2);
    CDotPart& hand = Add(arm, 3);
    arm.bonePosition = {40, 32, 32}; // 2.0 along x
    hand.bonePosition = {40, 32, 32};
    root.angle = {0, 0, 1.5707964f}; // a quarter turn about z: x → y
    document.UpdateAllPlacements();
    ExpectAt(root, 0, 0, 0);
    ExpectAt(arm, 0, 2, 0);
    ExpectAt(hand, 0, 4, 0);

    // The arm's own yaw about y turns the hand's offset before the root's
    // roll: x → −z under the yaw, and −z stays −z under the roll about z.
    arm.angle = {0, 1.5707964f, 0};
    document.UpdateAllPlacements();
    ExpectAt(arm, 0, 2, 0);
    ExpectAt(hand, 0, 2, -2);
    // worldRotation is the arm's rotation followed by the root's.
    const float h = std::sqrt(0.5f);
    EXPECT_NEAR(-0.5f, hand.worldRotation[0], 1e-6f);
    EXPECT_NEAR(0.5f, hand.worldRotation[1], 1e-6f);
    EXPECT_NEAR(0.5f, hand.worldRotation[2], 1e-6f);
    EXPECT_NEAR(0.5f, hand.worldRotation[3], 1e-6f);
    EXPECT_NEAR(h, root.worldRotation[2], 1e-6f);
}

TEST_F(PlacementTest, ModelOffsetTakesTheLowestJointOfAllTrees) {
    CDotPart& first = Add(document, 1);
    CDotPart& second = Add(document, 2);
    CDotPart& a = Add(first, 3);
    CDotPart& b = Add(second, 4);
    a.bonePosition = {32, 30, 32};         // −0.5
    b.bonePosition = {32, 20, 32};         // −3.0
    Add(b, 5).bonePosition = {32, 64, 32}; // above its parent
    document.UpdateAllPlacements();
    EXPECT_EQ((std::array<float, 4>{0.0f, 3.0f, 0.0f, 0.0f}), document.modelOffset);
    // A subtree's own update leaves the offset as it was.
    b.bonePosition = {32, 0, 32};
    EXPECT_EQ(-8.0f, second.UpdatePlacement());
    EXPECT_EQ(3.0f, document.modelOffset[1]);
}

TEST_F(PlacementTest, ChainMatchesSinglePrecisionStepByStep) {
    // Bit patterns computed independently, one rounded float operation at a
    // time: scale = dotSize × the rates from the parent up, offset =
    // (bone − own) × scale × 0.5, rotated by the parent's rotation and added
    // to the parent's position; rotation = own rotation, then the parent's.
    document.dotSize = 0.4f;
    CDotPart& root = Add(document, 1);
    CDotPart& arm = Add(root, 2);
    CDotPart& elbow = Add(arm, 3);
    CDotPart& wrist = Add(elbow, 4);
    root.angle = {0.3f, 0.0f, 0.2f};
    root.rate = 1.25f;
    root.parentPosition = {30, 34, 32};
    arm.angle = {0.0f, 0.0f, std::bit_cast<float>(0x426A6530u) * 0.017453292f};
    arm.rate = 1.5f;
    arm.bonePosition = {48, 40, 30};
    arm.parentPosition = {32, 20, 32};
    elbow.angle = {0.0f, -0.7f, 0.0f};
    elbow.bonePosition = {20, 32, 50};
    elbow.parentPosition = {31, 33, 35};
    wrist.angle = {0.1f, 0.2f, 0.3f};
    wrist.bonePosition = {40, 10, 33};
    document.UpdateAllPlacements();

    auto bits = [](const std::array<float, 4>& v, size_t n) {
        std::vector<uint32_t> out;
        for (size_t i = 0; i < n; ++i)
            out.push_back(std::bit_cast<uint32_t>(v[i]));
        return out;
    };
    using Bits = std::vector<uint32_t>;
    EXPECT_EQ((Bits{0x3e18429b, 0xbc746e7e, 0x3dca29ba, 0x3f7bdc5f}), bits(root.worldRotation, 4));
    EXPECT_EQ((Bits{0x408397ed, 0x401a0088, 0x3e62472d}), bits(arm.worldPosition, 3));
    EXPECT_EQ((Bits{0x3dfa9cb3, 0xbdafab63, 0x3f114aa9, 0x3f4f4653}), bits(arm.worldRotation, 4));
    EXPECT_EQ((Bits{0xbfd38b48, 0xc00a7610, 0x40bbef4f}), bits(elbow.worldPosition, 3));
    EXPECT_EQ((Bits{0x3e9e7eb2, 0xbeb76722, 0x3efb7b80, 0x3f3b2dba}), bits(elbow.worldRotation, 4));
    EXPECT_EQ((Bits{0x40f002de, 0xc02c762d, 0x40ec4a37}), bits(wrist.worldPosition, 3));
    EXPECT_EQ((Bits{0x3e8295c7, 0xbe98ddab, 0x3f239ed1, 0x3f294a5e}), bits(wrist.worldRotation, 4));
    EXPECT_EQ((Bits{0x0, 0x402c762d, 0x0}), bits(document.modelOffset, 3));
}
