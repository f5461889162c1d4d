// Edits keep the tree within what the file holds, so that whatever the editor
// saves opens again: nesting depth, 16-bit ids, references that never move to
// another part, joint points on the grid.

#include <gtest/gtest.h>

#include <set>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/PartLimits.h"
#include "document/PartMirror.h"
#include "document/PartOperations.h"
#include "support/FakePrompt.h"
#include "support/HostileDocuments.h"
#include "support/TestDocument.h"

namespace {

CPart* Deepest(CDotDocument& document) {
    CPart* part = document.GetChild(0);
    while (part && part->GetChildCount() > 0)
        part = part->GetChild(0);
    return part;
}

// A chain of depth parts, taken out of its own document as the clipboard
// layer would hand it over.
std::unique_ptr<CPart> LoadedChain(int depth) {
    std::unique_ptr<CDotDocument> source = hostile::Chain(depth);
    return source->RemoveChild(0);
}

std::unique_ptr<CDotDocument> Reopened(const CDotDocument& document) {
    auto reopened = std::make_unique<CDotDocument>();
    ReadDocumentFile(WriteDocumentFile(document), *reopened);
    return reopened;
}

TEST(PartLimits, EditsThatWouldNestPastTheReadersLimitAreRefused) {
    // The deep paste: a 600-deep chain, pasted again under its deepest part.
    std::unique_ptr<CDotDocument> document = hostile::Chain(600);
    document->currentPart = Deepest(*document);
    const size_t steps = document->commands.size();
    EXPECT_THROW(PastePart(*document, LoadedChain(600), nullptr), CPartLimitError);
    EXPECT_EQ(document->CollectParts().size(), 600u);
    EXPECT_EQ(document->commands.size(), steps);
    // 400 more fit exactly; the document saves and opens again.
    ASSERT_NE(PastePart(*document, LoadedChain(400), nullptr), nullptr);
    EXPECT_EQ(DepthOf(Deepest(*document)), MaxPartDepth);
    EXPECT_EQ(Reopened(*document)->CollectParts().size(), 1000u);

    // At the limit nothing more goes below the deepest part.
    CDotPart& deepest = static_cast<CDotPart&>(*Deepest(*document));
    document->currentPart = &deepest;
    EXPECT_THROW(NewPart(*document), CPartLimitError);
    EXPECT_THROW(DividePart(deepest, DotRect{0, 0, 32, 32}), CPartLimitError);
    CDotPart& loose = AddPart(*document, nullptr, u"単独");
    EXPECT_THROW(MovePart(loose, &deepest, 0, nullptr), CPartLimitError);
    EXPECT_EQ(loose.parent, nullptr);
    // A move that keeps the depth is fine, and so is one that makes it smaller.
    EXPECT_TRUE(MovePart(*document->GetChild(0)->GetChild(0), nullptr, 0, nullptr));
    EXPECT_EQ(DepthOf(Deepest(*document)), MaxPartDepth - 1);
}

TEST(PartLimits, TheWriterRefusesATreeItsReaderWouldReject) {
    std::unique_ptr<CDotDocument> document = hostile::Chain(MaxPartDepth);
    EXPECT_NO_THROW(WriteDocumentFile(*document));
    AddPart(*document, Deepest(*document), u"一つ深い");
    EXPECT_THROW(WriteDocumentFile(*document), CArchiveException);

    auto ids = std::make_unique<CDotDocument>();
    AddPart(*ids, nullptr, u"大").id = 65536;
    EXPECT_THROW(WriteDocumentFile(*ids), CArchiveException);
    ids->GetChild(0)->id = 65535;
    EXPECT_NO_THROW(WriteDocumentFile(*ids));
}

TEST(PartLimits, PastedPartsGetIdsTheFileCanHold) {
    std::unique_ptr<CDotDocument> document = hostile::HighestId();
    const int centre = document->FindPartByName(u"センター")->id;
    document->currentPart = nullptr;
    CPart* pasted = PastePart(*document, LoadedChain(3), nullptr);
    ASSERT_NE(pasted, nullptr);
    std::set<int> seen;
    for (const CPart* part : document->CollectParts()) {
        EXPECT_GE(part->id, 1);
        EXPECT_LE(part->id, MaxPartId);
        EXPECT_TRUE(seen.insert(part->id).second) << "id " << part->id << " twice";
    }
    EXPECT_NE(pasted->id, centre);
    // After a save and reopen every part keeps its id and its parent.
    std::unique_ptr<CDotDocument> reopened = Reopened(*document);
    const std::vector<CPart*> before = document->CollectParts();
    const std::vector<CPart*> after = reopened->CollectParts();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i]->id, after[i]->id);
        EXPECT_EQ(before[i]->name, after[i]->name);
    }
}

TEST(PartLimits, WhenEveryIdIsTakenNewPartsAreRefused) {
    CDotDocument document;
    for (int id = 1; id < MaxPartId; ++id)
        document.InsertChild(-1, document.CreatePart(id, u"p"));
    document.currentPart = nullptr;
    EXPECT_THROW(PastePart(document, LoadedChain(2), nullptr), CPartLimitError)
        << "one id free, two needed";
    EXPECT_EQ(NewPart(document)->id, MaxPartId);
    EXPECT_THROW(NewPart(document), CPartLimitError);
    EXPECT_THROW(PastePart(document, LoadedChain(1), nullptr), CPartLimitError);
    EXPECT_EQ(document.GetChildCount(), MaxPartId);
}

// 左腕 is linked to 頭; 頭 is deleted and a new part made.
class FreedIdTest : public ::testing::Test {
protected:
    void SetUp() override {
        document.OnNewDocument();
        head = document.FindPartByName(u"頭");
        arm = document.FindPartByName(u"左腕");
        arm->morph = 1;
        arm->linkedPart = head;
        arm->linkedPartId = head->id;
        headId = head->id;
        DeletePart(*head, u"削除");
        document.currentPart = nullptr;
        added = NewPart(document);
    }
    CDotDocument document;
    CPart* head = nullptr;
    CPart* arm = nullptr;
    CPart* added = nullptr;
    int headId = 0;
};

TEST_F(FreedIdTest, ANewPartNeverTakesTheIdOfALinkThatWasCut) {
    EXPECT_NE(added->id, headId);
    // Undo path: the holder leaves the tree and comes back.
    DeletePart(*arm, u"削除");
    document.Undo();
    EXPECT_EQ(arm->linkedPart, nullptr);
    // Undone back to before the deletion, the link returns to 頭.
    document.Undo(); // the new part
    document.Undo(); // the deletion of 頭
    EXPECT_EQ(arm->linkedPart, head);
}

TEST_F(FreedIdTest, AfterReopeningTheCutLinkStillPointsToNothing) {
    std::unique_ptr<CDotDocument> reopened = Reopened(document);
    CPart* newPart = NewPart(*reopened);
    EXPECT_NE(newPart->id, headId);
    CPart* reopenedArm = reopened->FindPartByName(u"左腕");
    DeletePart(*reopenedArm, u"削除");
    reopened->Undo();
    EXPECT_EQ(reopenedArm->linkedPart, nullptr);
    std::unique_ptr<CDotDocument> again = Reopened(*reopened);
    EXPECT_EQ(again->FindPartByName(u"左腕")->linkedPart, nullptr);

    // The same from the file in the test data.
    CDotDocument freed;
    ReadDocumentFile(WriteDocumentFile(*hostile::FreedId()), freed);
    const int stale = freed.FindPartByName(u"左腕")->linkedPartId;
    EXPECT_NE(NewPart(freed)->id, stale);
}

TEST(PartLimits, MirroredJointPointsStayOnTheGrid) {
    std::unique_ptr<CDotDocument> document = hostile::MirrorOffGrid();
    CFakePrompt prompt;
    CPart* mirrored =
        InvertPart(static_cast<CDotPart&>(*document->FindPartByName(u"左腕")), prompt);
    ASSERT_NE(mirrored, nullptr);
    const auto& point = static_cast<CDotPart&>(*mirrored).bonePosition;
    EXPECT_EQ(point[0], 0) << "0 + 0 - 64, kept on the grid";
    // Reopened, the part is where it was.
    std::unique_ptr<CDotDocument> reopened = Reopened(*document);
    EXPECT_EQ(static_cast<CDotPart&>(*reopened->FindPartByName(u"右腕")).bonePosition, point);
    // The writer refuses a point the byte would wrap.
    static_cast<CDotPart&>(*mirrored).bonePosition[0] = 304;
    EXPECT_THROW(WriteDocumentFile(*document), CArchiveException);
    static_cast<CDotPart&>(*mirrored).bonePosition[0] = -1;
    EXPECT_THROW(WriteDocumentFile(*document), CArchiveException);
}

} // namespace
