#include <bit>

#include <gtest/gtest.h>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "resources/StringTable.h"
#include "document/StandardBones.h"

namespace {

std::vector<std::u16string> ChildNames(const CPart& part) {
    std::vector<std::u16string> names;
    for (const auto& child : part.children)
        names.push_back(child->name);
    return names;
}

CPart& Named(CDotDocument& document, std::u16string_view name) {
    CPart* part = document.FindPartByName(name);
    if (!part)
        throw std::runtime_error("missing part");
    return *part;
}

} // namespace

TEST(StandardBones, TableRowsAndArmAngleBits) {
    auto table = StandardBoneTable();
    ASSERT_EQ(20u, table.size());
    EXPECT_EQ(0, table[19].name);
    EXPECT_EQ(0x426A6530u, std::bit_cast<uint32_t>(table[6].angleZ));  // 左腕
    EXPECT_EQ(0xC26A6530u, std::bit_cast<uint32_t>(table[13].angleZ)); // 右腕
    // Every parent comes before its children; every name has a text.
    for (size_t i = 0; i + 1 < table.size(); ++i) {
        EXPECT_FALSE(LoadString(static_cast<unsigned>(table[i].name)).empty()) << i;
        if (table[i].parent == 0)
            continue;
        bool before = false;
        for (size_t j = 0; j < i; ++j)
            before = before || table[j].name == table[i].parent;
        EXPECT_TRUE(before) << i;
    }
    CDotDocument document;
    EXPECT_EQ(table.data(), document.GetTemplates().data());
}

TEST(StandardBones, NewDocumentHoldsTheSkeleton) {
    CDotDocument document;
    document.OnNewDocument();
    ASSERT_EQ(1u, document.children.size());
    CPart& center = *document.children[0];
    EXPECT_EQ(u"センター", center.name);
    EXPECT_EQ(&center, document.currentPart);
    EXPECT_EQ(BONE_MOVE, center.boneKind);
    EXPECT_EQ((std::vector<std::u16string>{u"上半身", u"下半身"}), ChildNames(center));
    EXPECT_EQ((std::vector<std::u16string>{u"首", u"左肩", u"右肩"}),
              ChildNames(Named(document, u"上半身")));
    EXPECT_EQ((std::vector<std::u16string>{u"左足", u"右足"}),
              ChildNames(Named(document, u"下半身")));
    EXPECT_EQ((std::vector<std::u16string>{u"頭"}), ChildNames(Named(document, u"首")));
    EXPECT_EQ((std::vector<std::u16string>{u"左ひじ"}), ChildNames(Named(document, u"左腕")));
    EXPECT_EQ((std::vector<std::u16string>{u"右足首"}), ChildNames(Named(document, u"右ひざ")));
    EXPECT_FALSE(document.GetUndoMenuText().find(u" - ") != std::u16string::npos);

    const std::vector<CPart*> parts = document.CollectParts();
    ASSERT_EQ(19u, parts.size());
    auto table = StandardBoneTable();
    for (size_t i = 0; i < 19; ++i) {
        CPart& part = Named(document, LoadString(static_cast<unsigned>(table[i].name)));
        EXPECT_EQ(static_cast<int>(i) + 1, part.id) << i; // ids in table order
        if (i > 0) {
            EXPECT_EQ(BONE_ROTATE, part.boneKind) << i;
        }
        auto& dotPart = static_cast<CDotPart&>(part);
        EXPECT_FALSE(dotPart.dots);
        EXPECT_EQ((std::array<int, 3>{32, 32, 32}), dotPart.bonePosition);
        EXPECT_EQ(1.0f, part.rate);
        EXPECT_EQ(nullptr, part.ikParent);
        const bool ankle = part.name == u"左足首" || part.name == u"右足首";
        EXPECT_EQ(ankle ? 2 : 0, part.ikRange);
        EXPECT_EQ(ankle, !part.ikName.empty());
    }
    EXPECT_EQ(u"左足ＩＫ", Named(document, u"左足首").ikName);
    EXPECT_EQ(u"右足ＩＫ", Named(document, u"右足首").ikName);
    const float left = Named(document, u"左腕").angle[2];
    EXPECT_EQ(std::bit_cast<float>(0x426A6530u) * 0.017453292f, left);
    EXPECT_NEAR(1.0227f, left, 1e-4f);
    EXPECT_EQ(-left, Named(document, u"右腕").angle[2]);
    EXPECT_EQ(0.0f, Named(document, u"左腕").angle[0]);
}

TEST(StandardBones, PartsOfOneOperationGetDistinctFreeIds) {
    CDotDocument document;
    document.OnNewDocument();
    // Free ids 7 and 8 by deleting 左腕 (7) with 左ひじ (8) and 左手首 (9)
    // below it; 20 and up are free too.
    CPart& shoulder = Named(document, u"左肩");
    shoulder.RemoveChild(0);
    auto table = StandardBoneTable();
    const CPart::TEMPLATE* rows[] = {&table[6], &table[7], &table[8]}; // 左腕, 左ひじ, 左手首
    std::vector<STANDARD_PART> made = MakeStandardParts(document, rows);
    ASSERT_EQ(3u, made.size());
    EXPECT_EQ(7, made[0].part->id);
    EXPECT_EQ(8, made[1].part->id);
    EXPECT_EQ(9, made[2].part->id);
    // Parents: the document first, then the parts made here.
    EXPECT_EQ(&shoulder, made[0].parent);
    EXPECT_EQ(made[0].part.get(), made[1].parent);
    EXPECT_EQ(made[1].part.get(), made[2].parent);
    EXPECT_EQ(19u - 3u, document.CollectParts().size()); // nothing inserted

    // Only 左ひじ: its parent is found nowhere, so it goes to the top level.
    const CPart::TEMPLATE* elbow[] = {&table[7]};
    EXPECT_EQ(nullptr, MakeStandardParts(document, elbow)[0].parent);
}

TEST(StandardBones, IkParentsAreResolvedByName) {
    // A table row of our own with an IK parent: first the document, then the
    // new parts, null when found nowhere.
    CDotDocument document;
    document.OnNewDocument();
    const CPart::TEMPLATE withDocumentParent{529, 528, 0, 0.0f, 0, 0, 500}; // 頭 → センター
    const CPart::TEMPLATE withNewParent{511, 0, 0, 0.0f, 0, 0, 529};        // → the new 頭
    const CPart::TEMPLATE withNothing{512, 0, 0, 0.0f, 0, 0, 9999};
    const CPart::TEMPLATE* rows[] = {&withDocumentParent, &withNewParent, &withNothing};
    document.RemoveChild(0); // the whole skeleton goes
    document.currentPart = nullptr;
    std::vector<STANDARD_PART> made = MakeStandardParts(document, rows);
    EXPECT_EQ(nullptr, made[0].part->ikParent); // センター is gone
    EXPECT_EQ(0, made[0].part->ikParentId);
    EXPECT_EQ(made[0].part.get(), made[1].part->ikParent);
    EXPECT_EQ(1, made[1].part->ikParentId);
    EXPECT_EQ(nullptr, made[2].part->ikParent);

    CDotDocument fresh;
    fresh.OnNewDocument();
    const CPart::TEMPLATE* one[] = {&withDocumentParent};
    std::vector<STANDARD_PART> again = MakeStandardParts(fresh, one);
    EXPECT_EQ(fresh.FindPartByName(u"センター"), again[0].part->ikParent);
    EXPECT_EQ(20, again[0].part->id);
}

TEST(StandardBones, SkeletonAddsOnlyMissingRows) {
    CDotDocument document;
    document.OnNewDocument();
    Named(document, u"頭").name = u"あたま";
    document.AddStandardSkeleton();
    EXPECT_EQ(20u, document.CollectParts().size());
    CPart& head = Named(document, u"頭");
    EXPECT_EQ(20, head.id);
    EXPECT_EQ(&Named(document, u"首"), head.parent);
}
