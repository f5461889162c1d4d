// Reading the flat-list layout (512–767) and the legacy single-part layout
// (below 512) from files built byte by byte.

#include <gtest/gtest.h>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "support/DocumentBytes.h"

using test::BONE_BYTES;
using test::GRID_BYTES;

namespace {

using Point = std::array<int, 3>;

CDotPart& Named(CDotDocument& document, std::u16string_view name) {
    CPart* part = document.FindPartByName(name);
    if (!part)
        throw std::runtime_error("no part named " + std::string(name.begin(), name.end()));
    return static_cast<CDotPart&>(*part);
}

std::vector<std::u16string> Names(const std::vector<std::unique_ptr<CPart>>& parts) {
    std::vector<std::u16string> names;
    for (const auto& part : parts)
        names.push_back(part->name);
    return names;
}

// A small skeleton: a (1) with children b (2) and c (3); d (4) under b.
std::vector<BONE_BYTES> Skeleton() {
    return {{u"a", 1, 0, 1}, {u"b", 2, 1, 0}, {u"c", 3, 1, 0}, {u"d", 4, 2, 0}};
}

} // namespace

TEST(DocumentFileFlatList, TreeIsBuiltFromParentIdsInFileOrder) {
    // Children listed before their parents, a parent id that matches nothing,
    // a part that is its own parent and two parts that are each other's.
    std::vector<BONE_BYTES> bones = {
        {u"d", 4, 2},    {u"b", 2, 1}, {u"a", 1, 0}, {u"c", 3, 1}, {u"lost", 5, 99},
        {u"self", 6, 6}, {u"x", 7, 8}, {u"y", 8, 7}, {u"e", 9, 0}, {u"under lost", 10, 5},
    };
    CDotDocument document;
    EXPECT_EQ(700, ReadDocumentFile(test::FlatFile(700, bones, {}), document));
    EXPECT_EQ((std::vector<std::u16string>{u"a", u"e"}), Names(document.children));
    EXPECT_EQ((std::vector<std::u16string>{u"b", u"c"}), Names(Named(document, u"a").children));
    EXPECT_EQ((std::vector<std::u16string>{u"d"}), Names(Named(document, u"b").children));
    EXPECT_EQ(5u, document.CollectParts().size());
    EXPECT_EQ(&Named(document, u"a"), document.currentPart);
    // No rates, physics or links in this layout.
    for (CPart* part : document.CollectParts()) {
        EXPECT_EQ(1.0f, part->rate);
        EXPECT_FALSE(part->HasRigidBody() || part->HasJoint());
        EXPECT_EQ(0, part->linkedPartId);
    }
}

TEST(DocumentFileFlatList, DuplicateIdsAttachToTheFirstEntry) {
    std::vector<BONE_BYTES> bones = {{u"a", 1, 0}, {u"a2", 1, 0}, {u"child", 2, 1}};
    CDotDocument document;
    ReadDocumentFile(test::FlatFile(700, bones, {}), document);
    EXPECT_EQ(1u, Named(document, u"a").children.size());
    EXPECT_TRUE(Named(document, u"a2").children.empty());
}

TEST(DocumentFileFlatList, FlagsAndIkParentsByVersion) {
    std::vector<BONE_BYTES> bones = Skeleton();
    bones[0].flags = 0x10 | 3; // morph and BONE_HIDDEN from 560; before: movable
    bones[1].flags = 2;
    bones[1].ikName = u"IK";
    bones[3].ikParentId = 3; // d's IK parent is c (from 528)

    CDotDocument v560;
    ReadDocumentFile(test::FlatFile(560, bones, {}), v560);
    EXPECT_EQ(BONE_HIDDEN, Named(v560, u"a").boneKind);
    EXPECT_EQ(1, Named(v560, u"a").morph);
    EXPECT_EQ(BONE_NONE, Named(v560, u"b").boneKind);
    EXPECT_EQ(&Named(v560, u"c"), Named(v560, u"d").ikParent);
    EXPECT_EQ(3, Named(v560, u"d").ikParentId);

    CDotDocument v559;
    ReadDocumentFile(test::FlatFile(559, bones, {}), v559);
    EXPECT_EQ(BONE_MOVE, Named(v559, u"a").boneKind);
    EXPECT_EQ(0, Named(v559, u"a").morph);
    EXPECT_EQ(BONE_MOVE, Named(v559, u"b").boneKind);
    EXPECT_EQ(BONE_ROTATE, Named(v559, u"c").boneKind);

    // Before 528 a part whose parent has an IK name gets the parent.
    CDotDocument v527;
    ReadDocumentFile(test::FlatFile(527, bones, {}), v527);
    EXPECT_EQ(&Named(v527, u"b"), Named(v527, u"d").ikParent);
    EXPECT_EQ(2, Named(v527, u"d").ikParentId);
    EXPECT_EQ(nullptr, Named(v527, u"c").ikParent);
    EXPECT_EQ(0, Named(v527, u"c").ikParentId);
}

TEST(DocumentFileFlatList, PaletteRecordsByVersion) {
    for (int version : {512, 527, 528, 559, 560, 767}) {
        CDotDocument document;
        ReadDocumentFile(test::FlatFile(version, Skeleton(), {}), document);
        const CDotColor& odd = document.GetColor(3);
        EXPECT_EQ(test::PaletteColor(3), odd.color);
        EXPECT_EQ(version >= 528, odd.material) << version;
        EXPECT_EQ(version >= 560 ? test::PaletteAlpha : 1.0f, odd.alpha) << version;
        EXPECT_EQ(1.0f, document.GetColor(4).alpha) << version;
    }
}

TEST(DocumentFileFlatList, JointPointsInWholeDotsAreDoubledBefore544) {
    std::vector<GRID_BYTES> grids = {{u"ga", 1, {{1, {10, 4, 16}}, {2, {1, 2, 3}}}}};
    CDotDocument v543;
    ReadDocumentFile(test::FlatFile(543, Skeleton(), grids), v543);
    EXPECT_EQ((Point{20, 8, 32}), Named(v543, u"a").parentPosition);
    EXPECT_EQ((Point{2, 4, 6}), Named(v543, u"b").bonePosition);
    CDotDocument v544;
    ReadDocumentFile(test::FlatFile(544, Skeleton(), grids), v544);
    EXPECT_EQ((Point{10, 4, 16}), Named(v544, u"a").parentPosition);
}

TEST(DocumentFileFlatList, GridGoesToTheShallowestRecordAndJointPointsToTheOthers) {
    // Records listed deepest first: the grid still goes to b, the ancestor.
    std::vector<GRID_BYTES> grids = {{u"gb", 7, {{4, {1, 1, 1}}, {2, {5, 6, 7}}}}};
    CDotDocument document;
    ReadDocumentFile(test::FlatFile(600, Skeleton(), grids), document);
    CDotPart& b = Named(document, u"b");
    EXPECT_EQ(7, b.GetDot(0, 0, 0));
    EXPECT_EQ(1, b.CountDots());
    EXPECT_EQ((Point{5, 6, 7}), b.parentPosition);
    EXPECT_EQ((Point{1, 1, 1}), Named(document, u"d").bonePosition);
    EXPECT_FALSE(Named(document, u"d").dots);
}

TEST(DocumentFileFlatList, ASecondGridForAPartIsSplitOffAsAChild) {
    std::vector<BONE_BYTES> bones = Skeleton();
    bones[1].flags = 1; // b can move: the split-off part inherits it
    std::vector<GRID_BYTES> grids = {
        {u"gb", 2, {{2, {5, 6, 7}}}},
        {u"b", 3, {{2, {8, 9, 10}}, {4, {11, 12, 13}}}}, // named like an existing part
        {u"b", 4, {{2, {14, 15, 16}}}},
        {u"loose", 5, {}},                  // names no part
        {u"unknown", 6, {{77, {1, 1, 1}}}}, // names only a missing part
    };
    CDotDocument document;
    ReadDocumentFile(test::FlatFile(600, bones, grids), document);

    CDotPart& b = Named(document, u"b");
    EXPECT_EQ(2, b.GetDot(0, 0, 0));
    EXPECT_EQ((Point{5, 6, 7}), b.parentPosition);
    ASSERT_EQ((std::vector<std::u16string>{u"d", u"b1", u"b2"}), Names(b.children));
    CDotPart& b1 = Named(document, u"b1");
    EXPECT_EQ(5, b1.id); // the smallest free id
    EXPECT_EQ(BONE_MOVE, b1.boneKind);
    EXPECT_EQ((Point{8, 9, 10}), b1.bonePosition);
    EXPECT_EQ((Point{8, 9, 10}), b1.parentPosition);
    EXPECT_EQ(3, b1.GetDot(0, 0, 0));
    EXPECT_EQ((Point{11, 12, 13}), Named(document, u"d").bonePosition);
    CDotPart& b2 = Named(document, u"b2");
    EXPECT_EQ(6, b2.id);
    EXPECT_EQ(4, b2.GetDot(0, 0, 0));

    // Grids that name no part become hidden top-level parts of their own.
    ASSERT_EQ((std::vector<std::u16string>{u"a", u"loose", u"unknown"}), Names(document.children));
    CDotPart& loose = Named(document, u"loose");
    EXPECT_EQ(7, loose.id);
    EXPECT_EQ(BONE_HIDDEN, loose.boneKind);
    EXPECT_EQ(5, loose.GetDot(0, 0, 0));
    EXPECT_EQ(BONE_HIDDEN, Named(document, u"unknown").boneKind);
}

TEST(DocumentFileFlatList, JointPointsNoRecordGaveAreFilledIn) {
    std::vector<BONE_BYTES> bones = Skeleton();
    bones.push_back({u"e", 5, 0});
    std::vector<GRID_BYTES> grids = {{u"ga", 1, {{1, {1, 2, 3}}}}, {u"gb", 1, {{2, {4, 5, 6}}}}};
    CDotDocument document;
    ReadDocumentFile(test::FlatFile(600, bones, grids), document);
    EXPECT_EQ((Point{0, 0, 0}), Named(document, u"a").bonePosition); // top level
    EXPECT_EQ((Point{0, 0, 0}), Named(document, u"e").bonePosition);
    EXPECT_EQ((Point{1, 2, 3}), Named(document, u"b").bonePosition); // parent a's own point
    EXPECT_EQ((Point{1, 2, 3}), Named(document, u"c").bonePosition);
    EXPECT_EQ((Point{4, 5, 6}), Named(document, u"d").bonePosition); // parent b's own point
    EXPECT_EQ((Point{32, 32, 32}), Named(document, u"c").parentPosition);
    // Placement: b hangs at (1 − 1, 2 − 2, 3 − 3): the origin; d at b's point.
    EXPECT_EQ(0.0f, Named(document, u"d").worldPosition[1]);
}

TEST(DocumentFileFlatList, ManySplitOffsStayFastAndUnique) {
    // Four thousand grids for the same part: each is split off under it with a
    // new unique name and id.
    std::vector<GRID_BYTES> grids(4000, GRID_BYTES{u"g", 1, {{1, {1, 1, 1}}}});
    CDotDocument document;
    ReadDocumentFile(test::FlatFile(600, Skeleton(), grids), document);
    CDotPart& a = Named(document, u"a");
    EXPECT_EQ(2u + 3999u, a.children.size());
    EXPECT_EQ(u"g3998", a.children.back()->name); // "g", then g1 … g3998
    EXPECT_EQ(4003, a.children.back()->id);
}

TEST(DocumentFileFlatList, MoreGridsThanMemoryAllowsAreRefused) {
    // Each grid takes 32 KiB whatever it holds: a small file of many one-dot
    // grids would take gigabytes. Past the limit the file is refused, and the
    // open document stays as it was.
    std::vector<GRID_BYTES> grids(MaxPartsWithDots + 1, GRID_BYTES{u"g", 1, {{1, {1, 1, 1}}}});
    CDotDocument document;
    document.dotSize = 0.25f;
    try {
        ReadDocumentFile(test::FlatFile(600, Skeleton(), grids), document);
        FAIL() << "read";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("4096 parts hold dots"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(document.dotSize, 0.25f);
    // Empty grids cost nothing and do not count.
    for (GRID_BYTES& grid : grids)
        grid.dotValue = 0;
    EXPECT_NO_THROW(ReadDocumentFile(test::FlatFile(600, Skeleton(), grids), document));
}

TEST(DocumentFileLegacy, OneCentrePartHoldsTheGrid) {
    test::SETTINGS_BYTES settings;
    settings.modelPath = u"old.pmd";
    CDotDocument document;
    EXPECT_EQ(511, ReadDocumentFile(test::LegacyFile(511, {10, 4, 16}, settings), document));
    ASSERT_EQ(1u, document.children.size());
    auto& part = static_cast<CDotPart&>(*document.children[0]);
    EXPECT_EQ(u"センター", part.name);
    EXPECT_EQ(1, part.id);
    EXPECT_EQ(BONE_MOVE, part.boneKind);
    EXPECT_EQ(&part, document.currentPart);
    EXPECT_EQ((Point{20, 8, 32}), part.parentPosition);
    EXPECT_EQ((Point{32, 32, 32}), part.bonePosition);
    ASSERT_TRUE(part.dots);
    for (int i : {0, 1, 6, 7, 1000, 32767}) // the high bits are dropped
        EXPECT_EQ(i % 7, part.dots[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(0.75f, document.dotSize);
    EXPECT_EQ(0x00123456u, document.background);
    EXPECT_EQ(u"old.pmd", document.modelPath);
    EXPECT_EQ(test::PaletteColor(31), document.GetColor(31).color);
    EXPECT_FALSE(document.GetColor(31).material);
    EXPECT_EQ(1.0f, document.GetColor(31).alpha);
}

TEST(DocumentFileLegacy, UntaggedModelPathIsCodePage932) {
    std::vector<uint8_t> file = test::LegacyFile(0, {0, 0, 0}, {0.5f, 0, u""});
    file.pop_back(); // the empty tagged string: FF FE FF 00
    file.resize(file.size() - 3);
    for (uint8_t b : {0x04, 0x83, 0x82, 0x83, 0x66}) // untagged, 4 bytes: "モデ"
        file.push_back(b);
    CDotDocument document;
    ReadDocumentFile(file, document);
    EXPECT_EQ(u"モデ", document.modelPath);
}
