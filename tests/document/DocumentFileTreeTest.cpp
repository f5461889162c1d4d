// Reading the tree layout (768 and later) from files built byte by byte.

#include <bit>

#include <gtest/gtest.h>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/DocumentBytes.h"

using test::TREE_PART;

namespace {

CDotPart& Part(CDotDocument& document, int id) {
    CPart* part = document.FindPartById(id);
    if (!part)
        throw std::runtime_error("no part " + std::to_string(id));
    return static_cast<CDotPart&>(*part);
}

TREE_PART Child(int id, std::array<int, 3> bone, float rate = 1.0f) {
    TREE_PART p;
    p.name = u"child" + std::u16string(1, static_cast<char16_t>(u'0' + id));
    p.id = id;
    p.parentId = 1;
    p.flags = 0x80;
    p.bone = bone;
    p.rate = rate;
    return p;
}

} // namespace

TEST(DocumentFileTree, SettingsPaletteAndPartFieldsAreRead) {
    TREE_PART root;
    root.name = u"センター";
    root.flags = 0x80 | 0x10 | 2; // no dots, morph, BONE_NONE
    root.angle = {0.5f, -0.25f, 1.0f};
    root.ikRange = 3;
    root.ikName = u"足ＩＫ";
    root.ikParentId = 2;
    root.own = {10, 20, 30};
    root.linkedPartId = 2;
    TREE_PART child = Child(2, {40, 12, 32});
    child.flags = 0; // dots follow, BONE_ROTATE
    child.dotValue = 5;
    root.children = {child};

    CDotDocument document;
    EXPECT_EQ(785, ReadDocumentFile(test::TreeFile(785, {root}, false), document));
    EXPECT_EQ(0.75f, document.dotSize);
    EXPECT_EQ(0x00123456u, document.background);
    EXPECT_EQ(u"C:\\モデル\\a.pmd", document.modelPath);
    EXPECT_FALSE(document.edge);
    for (int i = 1; i <= 31; ++i) {
        const CDotColor& color = document.GetColor(i);
        EXPECT_EQ(test::PaletteColor(i), color.color);
        EXPECT_EQ(test::PaletteMaterial(i), color.material);
        // Alpha is kept only for material colours.
        EXPECT_EQ(color.material ? test::PaletteAlpha : 1.0f, color.alpha);
    }

    CDotPart& r = Part(document, 1);
    EXPECT_EQ(u"センター", r.name);
    EXPECT_EQ(BONE_NONE, r.boneKind);
    EXPECT_EQ(1, r.morph);
    EXPECT_EQ((std::array<float, 3>{0.5f, -0.25f, 1.0f}), r.angle);
    EXPECT_EQ(3, r.ikRange);
    EXPECT_EQ(u"足ＩＫ", r.ikName);
    EXPECT_EQ((std::array<int, 3>{10, 20, 30}), r.parentPosition);
    EXPECT_FALSE(r.dots);
    CDotPart& c = Part(document, 2);
    EXPECT_EQ(&r, c.parent);
    EXPECT_EQ(1, c.parentId);
    EXPECT_EQ(BONE_ROTATE, c.boneKind);
    EXPECT_EQ(32768, c.CountDots());
    EXPECT_EQ(5, c.GetDot(31, 31, 31));

    // References are resolved, the first part is current and placed.
    EXPECT_EQ(&c, r.ikParent);
    EXPECT_EQ(&c, r.linkedPart);
    EXPECT_EQ(&r, document.currentPart);
    // (40 − 10, 12 − 20, 32 − 30) half dots of 0.75 under the rotated parent.
    EXPECT_NE(0.0f, c.worldPosition[0]);
    EXPECT_EQ(0.0f, r.worldPosition[1]);
}

TEST(DocumentFileTree, PhysicsRecordsFollowTheirFlags) {
    TREE_PART defaults = Child(2, {32, 32, 32});
    defaults.flags = 0x80 | 0x20 | 0x40; // records at their defaults: no values
    TREE_PART values = Child(3, {32, 32, 32});
    values.flags = 0x80 | 0x20 | 0x04 | 0x40 | 0x08;
    values.rigidBody = {2.0f, 0.1f, 0.2f, 0.3f, 0.4f};
    for (int i = 0; i < 18; ++i)
        values.joint.push_back(static_cast<float>(i) * 0.5f);
    TREE_PART none = Child(4, {32, 32, 32});
    TREE_PART root;
    root.children = {defaults, values, none};

    CDotDocument document;
    ReadDocumentFile(test::TreeFile(785, {root}), document);
    CDotPart& d = Part(document, 2);
    ASSERT_TRUE(d.rigidBody && d.joint);
    EXPECT_TRUE(d.rigidBody->IsDefault());
    EXPECT_TRUE(d.joint->IsDefault());
    CDotPart& v = Part(document, 3);
    ASSERT_TRUE(v.rigidBody && v.joint);
    EXPECT_EQ(2.0f, v.rigidBody->mass);
    EXPECT_EQ(0.4f, v.rigidBody->friction);
    EXPECT_EQ(0.0f, v.joint->positionMin[0]);
    EXPECT_EQ(8.5f, v.joint->springRotation[2]);
    CDotPart& n = Part(document, 4);
    EXPECT_FALSE(n.rigidBody || n.joint);
}

TEST(DocumentFileTree, AllEmptyDotsGiveAnAbsentGrid) {
    TREE_PART root;
    root.flags = 1; // dots follow, all empty
    root.dotValue = 0;
    CDotDocument document;
    ReadDocumentFile(test::TreeFile(785, {root}), document);
    EXPECT_FALSE(Part(document, 1).dots);
}

TEST(DocumentFileTree, Version768KeepsEdgeAndHasNoLinkedParts) {
    TREE_PART root;
    root.linkedPartId = 1; // not written before 769
    for (bool edge : {false, true}) {
        CDotDocument document;
        document.edge = edge;
        EXPECT_EQ(768, ReadDocumentFile(test::TreeFile(768, {root}, !edge), document));
        EXPECT_EQ(edge, document.edge);
        EXPECT_EQ(0, Part(document, 1).linkedPartId);
    }
    CDotDocument document;
    document.edge = true;
    ReadDocumentFile(test::TreeFile(769, {root}, false), document);
    EXPECT_FALSE(document.edge);
    EXPECT_EQ(1, Part(document, 1).linkedPartId);
}

TEST(DocumentFileTree, RatesBefore785MoveTheJointPoints) {
    TREE_PART root;
    root.rate = 2.0f; // a top-level part is never migrated
    root.bone = {40, 32, 32};
    root.children = {Child(2, {40, 32, 32}, 2.0f), Child(3, {40, 32, 32}, 1.0f),
                     Child(4, {29, 35, 32}, 1.5f)};
    root.children[2].own = {32, 32, 0};

    CDotDocument old;
    EXPECT_EQ(784, ReadDocumentFile(test::TreeFile(784, {root}), old));
    EXPECT_EQ((std::array<int, 3>{40, 32, 32}), Part(old, 1).bonePosition);
    EXPECT_EQ((std::array<int, 3>{48, 32, 32}), Part(old, 2).bonePosition);
    EXPECT_EQ((std::array<int, 3>{40, 32, 32}), Part(old, 3).bonePosition);
    // −3 × 1.5 = −4.5 truncates toward zero to −4; 3 × 1.5 = 4.5 to 4; 32 × 1.5 = 48.
    EXPECT_EQ((std::array<int, 3>{28, 36, 48}), Part(old, 4).bonePosition);

    CDotDocument current;
    ReadDocumentFile(test::TreeFile(785, {root}), current);
    EXPECT_EQ((std::array<int, 3>{40, 32, 32}), Part(current, 2).bonePosition);
}

TEST(DocumentFileTree, HostileRatesDoNotOverflow) {
    TREE_PART root;
    root.children = {Child(2, {64, 0, 32}, std::bit_cast<float>(0x7F800000u)),  // +inf
                     Child(3, {64, 0, 32}, std::bit_cast<float>(0x7FC00000u))}; // NaN
    CDotDocument document;
    ReadDocumentFile(test::TreeFile(700 + 84, {root}), document);
    EXPECT_EQ(32, Part(document, 3).bonePosition[0]); // NaN leaves the joint at p
    // Scaled far off the grid, the point is kept on its edge.
    EXPECT_EQ(64, Part(document, 2).bonePosition[0]);
    EXPECT_EQ(0, Part(document, 2).bonePosition[1]);
}

TEST(DocumentFileTree, VersionsAbove785ReadAs785) {
    TREE_PART root;
    root.linkedPartId = 7;
    root.children = {Child(2, {40, 32, 32}, 2.0f)};
    CDotDocument document;
    EXPECT_EQ(900, ReadDocumentFile(test::TreeFile(900, {root}, true), document));
    EXPECT_TRUE(document.edge);
    EXPECT_EQ(7, Part(document, 1).linkedPartId);
    EXPECT_EQ(40, Part(document, 2).bonePosition[0]);
}

TEST(DocumentFileTree, AFileWithoutPartsOpensEmpty) {
    CDotDocument document;
    document.OnNewDocument();
    ReadDocumentFile(test::TreeFile(785, {}), document);
    EXPECT_TRUE(document.children.empty());
    EXPECT_EQ(nullptr, document.currentPart);
    EXPECT_EQ((std::array<float, 4>{0, 0, 0, 0}), document.modelOffset);
}
