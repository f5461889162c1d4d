#include <gtest/gtest.h>

#include "document/PartOperations.h"
#include "support/EditFixture.h"

namespace {

class DividePartTest : public EditTest {
protected:
    CDotPart* root = Add(1, u"体");
    CDotPart* source = Add(2, u"腕", root);

    DividePartTest() {
        source->parentPosition = {10, 20, 30};
        source->face = &FaceOrientation::Left; // x = c, y = 31 − b, z = 31 − a
        document.currentPart = source;
    }
};

} // namespace

TEST_F(DividePartTest, MovesTheSelectedColumnsAtEveryDepthIntoANewChild) {
    // View cells (2..4, 3..5) of the left face are z 27..29 and y 26..28.
    source->SetDot(0, 26, 27, 4);                   // inside, nearest depth
    source->SetDot(31, 28, 29, 5);                  // inside, deepest
    source->dots[GridIndex(15, 27, 28)] = 0x60 | 6; // inside, with reserved bits
    source->SetDot(0, 25, 27, 7);                   // just below
    source->SetDot(0, 26, 26, 8);                   // just beside
    source->SetDot(3, 3, 3, 9);                     // far away
    CPart* divided = nullptr;
    ExpectRoundTrip(
        [&] {
            divided = DividePart(*source, DotRect{2, 3, 5, 6});
        },
        {{Notice<HINT_DOTS>(source)}, {Notice<HINT_PARTS>(), &divided}},
        {{Notice<HINT_DOTS>(source)}, {HINT_PARTS}});
    ASSERT_NE(divided, nullptr);
    auto& part = dynamic_cast<CDotPart&>(*divided);
    EXPECT_EQ(part.name, u"腕1");
    EXPECT_EQ(part.id, 3);
    EXPECT_EQ(part.parent, source);
    EXPECT_EQ(document.currentPart, &part);
    EXPECT_EQ(document.commands.back()->name, u"分割");
    EXPECT_EQ(part.bonePosition, source->parentPosition);
    EXPECT_EQ(part.parentPosition, source->parentPosition);

    EXPECT_EQ(part.GetDot(0, 26, 27), 4);
    EXPECT_EQ(part.GetDot(31, 28, 29), 5);
    EXPECT_EQ(part.dots[GridIndex(15, 27, 28)], 6) << "only the palette index moves";
    EXPECT_EQ(part.CountDots(), 3);
    EXPECT_EQ(source->dots[GridIndex(15, 27, 28)], 0x60);
    EXPECT_EQ(source->CountDots(), 3);
    EXPECT_EQ(source->GetDot(3, 3, 3), 9);

    document.Undo();
    EXPECT_EQ(document.currentPart, source);
    EXPECT_EQ(source->GetDot(0, 26, 27), 4);
    EXPECT_TRUE(source->children.empty());
}

TEST_F(DividePartTest, ASelectionWithoutDotsStillMakesAnEmptyPart) {
    CPart* divided = DividePart(*source, DotRect{0, 0, 32, 32});
    ASSERT_NE(divided, nullptr);
    EXPECT_EQ(dynamic_cast<CDotPart&>(*divided).dots, nullptr);
    EXPECT_EQ(source->dots, nullptr);
}

TEST_F(DividePartTest, AnEmptyOrOutsideSelectionDividesNothing) {
    EXPECT_EQ(DividePart(*source, DotRect{4, 4, 4, 9}), nullptr);
    EXPECT_EQ(DividePart(*source, DotRect{32, 0, 40, 5}), nullptr);
    EXPECT_EQ(DividePart(*source, DotRect{-5, -5, 0, 3}), nullptr);
    EXPECT_TRUE(document.commands.empty());
    EXPECT_TRUE(source->children.empty());

    // A selection reaching past the grid is cut to it.
    source->SetDot(31, 31, 0, 2); // view cell (31, 0) at depth 31
    CPart* divided = DividePart(*source, DotRect{30, -3, 40, 1});
    ASSERT_NE(divided, nullptr);
    EXPECT_EQ(dynamic_cast<CDotPart&>(*divided).GetDot(31, 31, 0), 2);
}
