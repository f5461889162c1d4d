#include <gtest/gtest.h>

#include "document/PartOperations.h"
#include "rigging/StandardBoneDialogModel.h"
#include "support/EditFixture.h"

namespace {

class StandardBoneDialogTest : public EditTest {
protected:
    StandardBoneDialogTest() { document.OnNewDocument(); }

    std::vector<std::u16string> Offered(const CStandardBoneDialogModel& model) {
        std::vector<std::u16string> names;
        for (const auto& row : model.rows)
            names.push_back(row.name);
        return names;
    }
    void Check(CStandardBoneDialogModel& model, std::u16string_view name) {
        for (auto& row : model.rows)
            if (row.name == name)
                row.checked = true;
    }
};

} // namespace

TEST_F(StandardBoneDialogTest, ANewDocumentLacksNoStandardBone) {
    CStandardBoneDialogModel model(document);
    EXPECT_TRUE(model.rows.empty());
    EXPECT_FALSE(model.IsOkEnabled());
    EXPECT_FALSE(model.Apply());
    EXPECT_TRUE(document.commands.empty());

    RenamePart(*Find(u"センター"), u"腰", prompt, nullptr);
    EXPECT_EQ(Offered(CStandardBoneDialogModel(document)),
              (std::vector<std::u16string>{u"センター"}));
}

TEST_F(StandardBoneDialogTest, CheckedRowsNestUnderPartsMadeInTheSameStep) {
    Find(u"左腕")->Delete(u"削除"); // with 左ひじ and 左手首
    CStandardBoneDialogModel model(document);
    EXPECT_EQ(Offered(model), (std::vector<std::u16string>{u"左腕", u"左ひじ", u"左手首"}));
    Check(model, u"左ひじ");
    EXPECT_TRUE(model.IsOkEnabled());
    Check(model, u"左腕");

    document.currentPart = Find(u"頭");
    ExpectRoundTrip([&] { EXPECT_TRUE(model.Apply()); }, {{HINT_PARTS}}, {{HINT_PARTS}});
    EXPECT_EQ(document.commands.back()->name, u"新規部品");
    CDotPart* arm = Find(u"左腕");
    CDotPart* elbow = Find(u"左ひじ");
    EXPECT_EQ(arm->parent, Find(u"左肩"));
    EXPECT_EQ(elbow->parent, arm);
    EXPECT_EQ(arm->id, 7) << "the ids of the deleted parts are free again";
    EXPECT_EQ(elbow->id, 8);
    EXPECT_EQ(arm->angle[2], 58.598816f * 0.017453292f);
    EXPECT_EQ(document.currentPart, elbow) << "the last one added";
    EXPECT_EQ(Find(u"左手首"), nullptr);
}

TEST_F(StandardBoneDialogTest, ARowWhoseParentIsNowhereGoesToTheTopLevel) {
    Find(u"左腕")->Delete(u"削除");
    CStandardBoneDialogModel model(document);
    Check(model, u"左ひじ");
    EXPECT_TRUE(model.Apply());
    EXPECT_EQ(Find(u"左ひじ")->parent, nullptr);
    EXPECT_EQ(Find(u"左ひじ")->GetIndex(), 1);

    Find(u"右足首")->Delete(u"削除");
    CStandardBoneDialogModel ik(document);
    Check(ik, u"右足首");
    EXPECT_TRUE(ik.Apply());
    EXPECT_EQ(Find(u"右足首")->ikName, u"右足ＩＫ");
    EXPECT_EQ(Find(u"右足首")->ikRange, 2);
    EXPECT_EQ(Find(u"右足首")->parent, Find(u"右ひざ"));
}
