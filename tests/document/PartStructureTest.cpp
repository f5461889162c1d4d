#include <gtest/gtest.h>

#include "document/AddPartCommand.h"
#include "document/PartOperations.h"
#include "resources/CommandIds.h"
#include "support/PartTreeFixture.h"

namespace {

class PartStructureTest : public PartTreeTest {
protected:
    std::vector<PartRow> Rows() const { return BuildPartRows(document); }
};

} // namespace

TEST_F(PartStructureTest, NewPartsAreNumberedAndHangUnderTheCurrentPart) {
    document.currentPart = lower;
    CPart* first = nullptr;
    ExpectRoundTrip([&] { first = NewPart(document); }, {{HINT_PARTS}}, {{HINT_PARTS}});
    EXPECT_EQ(first->name, u"部品1");
    EXPECT_EQ(first->id, 7);
    EXPECT_EQ(first->parent, lower);
    EXPECT_EQ(document.currentPart, first);
    EXPECT_EQ(document.commands.back()->name, u"新規部品");

    CPart* second = NewPart(document);
    EXPECT_EQ(second->name, u"部品2");
    EXPECT_EQ(second->parent, first);

    // Undo takes the current part away; its parent becomes current.
    document.Undo();
    EXPECT_EQ(document.currentPart, first);
    document.currentPart = nullptr;
    EXPECT_TRUE(document.OnCommand(ID_PART_NEW));
    CPart* top = document.currentPart;
    EXPECT_EQ(top->parent, nullptr);
    EXPECT_EQ(top->GetIndex(), 2);
    EXPECT_EQ(top->name, u"部品2");
    EXPECT_EQ(top->id, 8) << "the id of the undone part is free again";
}

TEST_F(PartStructureTest, DeleteAndUndoRestoreThePlaceAndTheReferences) {
    upper->SetLinkedPart(head);
    upper->SetIkParent(center);
    arm->SetLinkedPart(upper); // a reference into the deleted subtree
    head->SetIkParent(neck);   // one into its depth
    document.currentPart = head;
    ExpectRoundTrip([&] { upper->Delete(u"削除"); }, {{Notice<HINT_PARTS>(upper)}},
                    {{Notice<HINT_PARTS>(upper)}});
    EXPECT_EQ(document.commands.back()->name, u"削除");

    document.Undo();
    EXPECT_EQ(upper->parent, center);
    EXPECT_EQ(upper->GetIndex(), 0);
    EXPECT_EQ(upper->linkedPart, head);
    EXPECT_EQ(upper->ikParent, center);

    document.Redo();
    EXPECT_EQ(upper->GetIndex(), -1);
    // While the subtree is out, references to it count as none; the ids stay.
    EXPECT_EQ(arm->linkedPart, nullptr);
    EXPECT_EQ(arm->linkedPartId, 2);
    EXPECT_EQ(head->ikParent, nullptr);
    EXPECT_EQ(head->ikParentId, 3);
    EXPECT_EQ(document.FindPartByName(u"首"), nullptr);
}

TEST_F(PartStructureTest, DeletingTheCurrentOrMarkedPartLeavesNeitherOnIt) {
    document.currentPart = neck;
    document.markedPart = neck;
    upper->Delete(u"削除");
    EXPECT_EQ(document.currentPart, center) << "the parent of the deleted part";
    EXPECT_EQ(document.markedPart, nullptr);

    document.currentPart = head;
    head->Delete(u"切り取り");
    EXPECT_EQ(document.currentPart, center) << "the first top-level part";
    center->Delete(u"削除");
    EXPECT_EQ(document.currentPart, nullptr);
    EXPECT_EQ(document.GetChildCount(), 0);

    // A part outside the tree cannot be deleted again.
    const size_t steps = document.commands.size();
    neck->Delete(u"削除");
    EXPECT_EQ(document.commands.size(), steps);
}

TEST_F(PartStructureTest, PartsOutsideTheTreeBelongToTheirCommand) {
    // Added, undone and cut off: the command destroys the part. Nothing may
    // point at it afterwards, even a reference resolved while it was in.
    CPart* added = NewPart(document); // id 7
    head->SetLinkedPart(nullptr);
    head->linkedPartId = 7;
    document.currentPart = head;
    head->Delete(u"削除");
    document.Undo(); // head comes back and resolves its link to the new part
    EXPECT_EQ(head->linkedPart, added);
    document.Undo(); // the new part leaves the tree
    EXPECT_EQ(head->linkedPart, nullptr);
    // Cuts off the redo tail with the first new part. 頭 still names id 7, so
    // the new part gets another: a link never moves to a part nobody chose.
    CPart* second = NewPart(document);
    EXPECT_EQ(head->linkedPart, nullptr);
    EXPECT_NE(second->id, 7);
    EXPECT_EQ(document.FindPartById(7), nullptr);

    // Deleted and kept by a command until the list is cleared.
    lower->Delete(u"削除");
    document.Clear();
    document.DeleteContents();
}

TEST_F(PartStructureTest, PastedPartsAreRenumberedAndResolvedUnderTheCurrentPart) {
    auto loaded = document.CreatePart(100, u"頭");
    loaded->ikParentId = 5; // 腕 in this document
    loaded->InsertChild(-1, document.CreatePart(101, u"目"));
    loaded->InsertChild(-1, document.CreatePart(102, u"口"));
    head->id = 19;
    document.currentPart = arm;
    CPart* pasted = nullptr;
    ExpectRoundTrip([&] { pasted = PastePart(document, std::move(loaded), &view); }, {{HINT_PARTS}},
                    {{HINT_PARTS}}, &view);
    EXPECT_EQ(document.commands.back()->name, u"貼り付け");
    EXPECT_EQ(pasted->name, u"頭1");
    EXPECT_EQ(pasted->id, 20);
    EXPECT_EQ(pasted->children[0]->id, 21);
    EXPECT_EQ(pasted->children[1]->id, 22);
    EXPECT_EQ(pasted->children[1]->parentId, 20);
    EXPECT_EQ(pasted->parent, arm);
    EXPECT_EQ(pasted->ikParent, arm);
    EXPECT_EQ(document.currentPart, pasted);
    EXPECT_EQ(PastePart(document, nullptr, &view), nullptr);
}

TEST_F(PartStructureTest, DropsLandWhereTheMarkerShows) {
    const auto rows = Rows(); // センター 上 首 下 腕 頭
    // Onto its own place (above or below itself): no move.
    for (int row : {3, 4}) {
        const PartDrop drop = ComputePartDrop(rows, lower, row, 1);
        ASSERT_TRUE(drop.allowed);
        EXPECT_EQ(drop.parent, center);
        EXPECT_FALSE(MovePart(*lower, drop.parent, drop.index, &view)) << row;
    }
    // Below itself or its descendants: refused.
    EXPECT_FALSE(ComputePartDrop(rows, upper, 2, 2).allowed);
    EXPECT_FALSE(ComputePartDrop(rows, upper, 3, 2).allowed);
    EXPECT_FALSE(ComputePartDrop(rows, center, 5, 1).allowed);
    EXPECT_FALSE(MovePart(*center, neck, 0, &view));
    EXPECT_TRUE(document.commands.empty());

    // 上 down between 下 and 腕.
    PartDrop drop = ComputePartDrop(rows, upper, 4, 1);
    EXPECT_EQ(drop.parent, center);
    EXPECT_EQ(drop.index, 1);
    ExpectRoundTrip([&] { EXPECT_TRUE(MovePart(*upper, drop.parent, drop.index, &view)); },
                    {{Notice<HINT_PARTS>(upper)}}, {{Notice<HINT_PARTS>(upper)}}, &view);
    EXPECT_EQ(center->children[0].get(), lower);
    EXPECT_EQ(center->children[1].get(), upper);
    EXPECT_EQ(document.commands.back()->name, u"移動");

    // 腕 to the top level between センター's subtree and 頭.
    drop = ComputePartDrop(Rows(), arm, 5, 0);
    EXPECT_EQ(drop.parent, nullptr);
    EXPECT_EQ(drop.index, 1);
    EXPECT_TRUE(MovePart(*arm, drop.parent, drop.index, &view));
    EXPECT_EQ(document.GetChild(1), arm);
    EXPECT_EQ(arm->parent, nullptr);

    // Far to the right of a row: the first child of that row's part.
    drop = ComputePartDrop(Rows(), head, 2, 5);
    EXPECT_EQ(drop.parent, lower);
    EXPECT_EQ(drop.index, 0);
    EXPECT_TRUE(MovePart(*head, drop.parent, drop.index, &view));
    EXPECT_EQ(head->parent, lower);
}

TEST_F(PartStructureTest, RenameRefusesTakenAndEmptyNames) {
    EXPECT_EQ(RenamePart(*arm, u"首", prompt, &view), RenameResult::Refused);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], u"首 という部品は既にあります。");
    EXPECT_EQ(RenamePart(*arm, u"", prompt, &view), RenameResult::Refused);
    EXPECT_EQ(RenamePart(*arm, u"腕", prompt, &view), RenameResult::Unchanged);
    EXPECT_EQ(prompt.messages.size(), 1u);
    EXPECT_TRUE(document.commands.empty());

    ExpectRoundTrip(
        [&] { EXPECT_EQ(RenamePart(*arm, u"左腕", prompt, &view), RenameResult::Renamed); },
        {{Notice<HINT_PART_NAME>(arm)}}, {{Notice<HINT_PART_NAME>(arm)}}, &view);
    EXPECT_EQ(arm->name, u"左腕");
    EXPECT_EQ(document.commands.back()->name, u"名前の変更");

    // A thousand characters, one of them outside code page 932, are kept as
    // typed; the model writer converts them.
    const std::u16string odd = std::u16string(998, u'x') + u"😀";
    EXPECT_EQ(RenamePart(*neck, odd, prompt, &view), RenameResult::Renamed);
    EXPECT_EQ(neck->name, odd);
}

TEST_F(PartStructureTest, OneAddCommandPutsManyPartsInOrderAndTakesThemOutBackwards) {
    auto command = std::make_unique<CAddPartCommand>(document, u"新規部品");
    auto a = document.CreatePart(7, u"a");
    auto b = document.CreatePart(8, u"b");
    CPart* aRaw = a.get();
    CPart* bRaw = b.get();
    command->AddElement(nullptr, -1, std::move(a));
    command->AddElement(aRaw, -1, std::move(b)); // under a part that is not in yet
    document.currentPart = head;
    ExpectRoundTrip([&] { document.Execute(std::move(command)); }, {{HINT_PARTS}}, {{HINT_PARTS}});
    EXPECT_EQ(bRaw->parent, aRaw);
    EXPECT_EQ(document.currentPart, bRaw);
    document.Undo();
    EXPECT_EQ(document.currentPart, head);
}

TEST_F(PartStructureTest, UndoingADeleteKeepsThePartsReferencesIntoItsOwnSubtree) {
    // 上 links to 下, which is then moved below 上: the link points into 上's
    // own subtree, which leaves and comes back with it.
    upper->SetLinkedPart(lower);
    upper->SetIkParent(lower);
    ASSERT_TRUE(MovePart(*lower, upper, -1, &view));
    ExpectRoundTrip([&] { upper->Delete(u"削除"); }, {{Notice<HINT_PARTS>(upper)}},
                    {{Notice<HINT_PARTS>(upper)}});
    EXPECT_EQ(upper->linkedPart, lower);
    EXPECT_EQ(upper->ikParent, lower);
}
