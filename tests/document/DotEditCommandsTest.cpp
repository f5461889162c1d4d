#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "document/DocumentSettings.h"
#include "document/DotCommand.h"
#include "document/DotSizeCommand.h"
#include "document/PartRateCommand.h"
#include "document/SetColorCommand.h"
#include "resources/CommandIds.h"
#include "support/EditFixture.h"

namespace {

class DotEditTest : public EditTest {
protected:
    CDotPart* part = Add(1, u"体");
};

} // namespace

TEST_F(DotEditTest, StrokeOverTheSameDotUndoesToTheFirstBeforeValue) {
    part->SetDot(1, 2, 3, 4);
    auto command = std::make_unique<CDotCommand>(*part, u"鉛筆ツール");
    command->AddOperation(1, 2, 3, 4, 5);
    command->AddOperation(0, 0, 0, 0, 7);
    command->AddOperation(1, 2, 3, 5, 6); // a second pass over the first dot
    ASSERT_EQ(command->operations.size(), 2u);
    EXPECT_EQ(command->operations[0].before, 4);
    EXPECT_EQ(command->operations[0].after, 6);

    ExpectRoundTrip([&] { document.Execute(std::move(command), &view); },
                    {{Notice<HINT_DOTS>(part)}}, {{Notice<HINT_DOTS>(part)}}, &view);
    EXPECT_EQ(part->GetDot(1, 2, 3), 6);
    EXPECT_EQ(part->GetDot(0, 0, 0), 7);
    EXPECT_EQ(document.GetUndoMenuText(), u"元に戻す(&U) - 鉛筆ツール\tCtrl+Z");
}

TEST_F(DotEditTest, UndoOnAPartThatHadNoGridLeavesAnEmptyGridAndKeepsUpperBits) {
    auto command = std::make_unique<CDotCommand>(*part, u"鉛筆ツール");
    command->AddOperation(5, 5, 5, 0, 3);
    document.Execute(std::move(command));
    ASSERT_NE(part->dots, nullptr);
    part->dots[GridIndex(5, 5, 5)] |= 0xE0; // reserved bits and the scratch mark
    document.Undo();
    ASSERT_NE(part->dots, nullptr) << "the grid is released only by a whole-grid change";
    EXPECT_FALSE(part->HasDots());
    EXPECT_EQ(part->dots[GridIndex(5, 5, 5)], 0xE0);
    document.Redo();
    EXPECT_EQ(part->dots[GridIndex(5, 5, 5)], 0xE3);
}

TEST_F(DotEditTest, ColorChangesMergePerEntryAndRestoreDerivedValues) {
    const CDotColor original = document.GetColor(5);
    auto command = std::make_unique<CSetColorCommand>(document);
    EXPECT_EQ(command->name, u"色の編集");
    command->AddChange(5, MakeColorRef(1, 2, 3), 0.25f, true);
    command->AddChange(6, MakeColorRef(9, 9, 9), 1.0f, false);
    command->AddChange(5, MakeColorRef(10, 20, 30), 0.5f, true); // keeps the first before
    ASSERT_EQ(command->elements.size(), 2u);
    EXPECT_THROW(command->AddChange(0, 0, 1.0f, false), std::out_of_range);
    EXPECT_THROW(command->AddChange(32, 0, 1.0f, false), std::out_of_range);

    ExpectRoundTrip([&] { document.Execute(std::move(command)); }, {{HINT_PALETTE}},
                    {{HINT_PALETTE}});
    const CDotColor& entry = document.GetColor(5);
    EXPECT_EQ(entry.color, MakeColorRef(10, 20, 30));
    EXPECT_TRUE(entry.material);
    EXPECT_EQ(entry.diffuse[3], 0.5f);
    EXPECT_EQ(entry.specular[3], 0.5f);
    document.Undo();
    EXPECT_EQ(document.GetColor(5), original);
}

TEST_F(DotEditTest, AllMaterialsTogglesEveryEntryAndNamesItsMenuItem) {
    CCommandState state;
    ASSERT_TRUE(document.OnUpdateCommand(ID_ALL_MATERIAL, state));
    EXPECT_EQ(state.text, u"全て材質(&M)");

    ExpectRoundTrip([&] { document.OnCommand(ID_ALL_MATERIAL); }, {{HINT_PALETTE}},
                    {{HINT_PALETTE}});
    EXPECT_TRUE(AreAllMaterials(document));
    EXPECT_EQ(GetAllMaterialMenuText(document), u"全てテクスチャ(&M)");
    EXPECT_EQ(document.commands.back()->name, u"色の編集");

    ToggleAllMaterials(document);
    for (const CDotColor& entry : document.colors)
        EXPECT_FALSE(entry.material);

    // One entry short of all: the command makes everything a material.
    document.GetColor(3).SetMaterial(true);
    auto command = MakeAllMaterialCommand(document);
    EXPECT_EQ(command->elements.size(), 31u);
    for (const auto& element : command->elements)
        EXPECT_EQ(element->afterMaterial, 1);
}

TEST_F(DotEditTest, MaterialToggleAndColourEditTouchOnlyTheirEntry) {
    document.GetColor(4).SetAlpha(0.75f);
    ExpectRoundTrip([&] { ToggleMaterial(document, 4, &view); }, {{HINT_PALETTE}}, {{HINT_PALETTE}},
                    &view);
    EXPECT_TRUE(document.GetColor(4).material);
    EXPECT_EQ(document.GetColor(4).alpha, 0.75f);
    EXPECT_FALSE(document.GetColor(5).material);

    const size_t steps = document.commands.size();
    ToggleMaterial(document, 0, &view);
    EditColor(document, 32, 0, 1.0f, false);
    EXPECT_EQ(document.commands.size(), steps) << "indices outside 1–31 are ignored";

    document.currentColor = {0, 9};
    EXPECT_FALSE(CanEditColor(document, 0)) << "colour 1 draws empty dots";
    EXPECT_TRUE(CanEditColor(document, 1));
    EditColor(document, 9, MakeColorRef(7, 8, 9), 0.5f, true);
    EXPECT_EQ(document.GetColor(9).color, MakeColorRef(7, 8, 9));
    EXPECT_EQ(document.GetColor(9).alpha, 0.5f);
}

TEST_F(DotEditTest, EdgeToggledTwiceComesBackAndUndoesStepByStep) {
    const bool first = document.edge;
    CCommandState state;
    ASSERT_TRUE(document.OnUpdateCommand(ID_EDGE, state));
    EXPECT_EQ(state.checked, first);
    ExpectRoundTrip([&] { document.OnCommand(ID_EDGE); }, {{HINT_EDGE}}, {{HINT_EDGE}});
    EXPECT_EQ(document.commands.back()->name, u"エッジ");
    ToggleEdge(document);
    EXPECT_EQ(document.edge, first);
    document.Undo();
    document.Undo();
    EXPECT_EQ(document.edge, first);
}

TEST_F(DotEditTest, DotSizeAndRateRefuseValuesThatAreNotAScale) {
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()}) {
        EXPECT_THROW(SetDotSize(document, bad), std::invalid_argument) << bad;
        EXPECT_THROW(SetPartRate(*part, bad), std::invalid_argument) << bad;
    }
    EXPECT_TRUE(document.commands.empty());

    SetDotSize(document, document.dotSize);
    EXPECT_EQ(document.commands.size(), 1u) << "an unchanged size is still one undo step";
    ExpectRoundTrip([&] { SetDotSize(document, 2.0f); }, {{HINT_DOT_SIZE}}, {{HINT_DOT_SIZE}});
    EXPECT_EQ(document.commands.back()->name, u"ドットサイズ変更");
    ExpectRoundTrip([&] { SetPartRate(*part, 2.0f); }, {{Notice<HINT_PART_RATE>(part)}},
                    {{Notice<HINT_PART_RATE>(part)}});
    EXPECT_EQ(document.commands.back()->name, u"倍率");
}

TEST_F(DotEditTest, RatePlacesOnlyThePartsSubtreeAndDotSizePlacesEverything) {
    CDotPart* child = Add(2, u"手", part);
    child->bonePosition = {32, 12, 32};
    document.UpdateAllPlacements();
    EXPECT_EQ(child->worldPosition[1], -5.0f);
    EXPECT_EQ(document.modelOffset[1], 5.0f);

    SetPartRate(*part, 2.0f);
    EXPECT_EQ(child->worldPosition[1], -10.0f);
    EXPECT_EQ(document.modelOffset[1], 5.0f) << "kept until the next full placement";
    document.Undo();
    EXPECT_EQ(child->worldPosition[1], -5.0f);
    document.Redo();

    SetDotSize(document, 1.0f);
    EXPECT_EQ(child->worldPosition[1], -20.0f);
    EXPECT_EQ(document.modelOffset[1], 20.0f);
    document.Undo();
    EXPECT_EQ(document.modelOffset[1], 10.0f);
}
