#include <gtest/gtest.h>

#include "document/CompositeCommand.h"
#include "document/UndoableDocument.h"
#include "document/UpdateHints.h"
#include "resources/CommandIds.h"
#include "support/RecordingObserver.h"

namespace {

class UndoTest : public ::testing::Test {
protected:
    CLoggingCommand* Run(const std::string& label, CDocumentObserver* view = nullptr) {
        auto command = std::make_unique<CLoggingCommand>(document, log, label);
        CLoggingCommand* raw = command.get();
        document.Execute(std::move(command), view);
        return raw;
    }
    std::vector<std::u16string> Labels() const {
        std::vector<std::u16string> labels;
        for (const auto& c : document.commands)
            labels.push_back(c->name);
        return labels;
    }

    CUndoableDocument document;
    std::vector<std::string> log;
};

// An element that logs and can fail.
class CLogElement : public CCompositeCommand::CElement {
public:
    CLogElement(std::vector<std::string>& log, std::string name, bool fail = false)
        : log_(log), name_(std::move(name)), fail_(fail) {}
    void Do() override {
        if (fail_)
            throw std::runtime_error("element failed");
        log_.push_back("do " + name_);
    }
    void Undo() override { log_.push_back("undo " + name_); }

private:
    std::vector<std::string>& log_;
    std::string name_;
    bool fail_;
};

} // namespace

TEST_F(UndoTest, ExecuteUndoRedoMoveThePosition) {
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.CanRedo());
    Run("A");
    Run("B");
    Run("C");
    EXPECT_EQ(document.position, 3);
    document.Undo();
    document.Undo();
    EXPECT_EQ(document.position, 1);
    EXPECT_TRUE(document.CanRedo());
    Run("D");
    EXPECT_EQ(Labels(), (std::vector<std::u16string>{u"A", u"D"}));
    EXPECT_EQ(document.position, 2);
    EXPECT_FALSE(document.CanRedo());
    EXPECT_EQ(log, (std::vector<std::string>{"do A", "do B", "do C", "undo C", "undo B", "do D"}));
}

TEST_F(UndoTest, RedoRunsDoWithoutAView) {
    CRecordingObserver view, other;
    document.AddObserver(&view);
    document.AddObserver(&other);
    Run("A", &view);
    // The initiating view is skipped on the first run only.
    EXPECT_TRUE(view.updates.empty());
    ASSERT_EQ(other.updates.size(), 1u);
    EXPECT_EQ(other.updates[0], (CRecordingObserver::Update{&view, Notice<HINT_PALETTE>()}));

    document.Undo();
    document.Redo();
    EXPECT_EQ(log, (std::vector<std::string>{"do A", "undo A", "do A"}));
    ASSERT_EQ(view.updates.size(), 2u);
    EXPECT_EQ(view.updates[0].sender, nullptr);
    EXPECT_EQ(view.updates[1].sender, nullptr);
    EXPECT_EQ(other.updates.size(), 3u);
    EXPECT_EQ(document.position, 1);

    // Out of range undo and redo do nothing.
    document.Redo();
    document.Undo();
    document.Undo();
    EXPECT_EQ(document.position, 0);
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(UndoTest, ObserversCanBeRemovedDuringAnUpdate) {
    // An observer that removes another one when notified.
    struct Remover : CDocumentObserver {
        CUndoableDocument* document = nullptr;
        CDocumentObserver* victim = nullptr;
        int calls = 0;
        void OnUpdate(CDocumentObserver*, const CUpdateNotice&) override {
            ++calls;
            document->RemoveObserver(victim);
        }
    };
    CRecordingObserver victim;
    Remover remover;
    remover.document = &document;
    remover.victim = &victim;
    document.AddObserver(&remover);
    document.AddObserver(&victim);
    document.AddObserver(&victim); // added once only
    document.UpdateAllViews(nullptr, Notice<HINT_PALETTE>());
    EXPECT_EQ(remover.calls, 1);
    EXPECT_TRUE(victim.updates.empty());
    document.RemoveObserver(&remover);
    document.UpdateAllViews(nullptr, Notice<HINT_PALETTE>());
    EXPECT_EQ(remover.calls, 1);
}

TEST_F(UndoTest, MenuTextsCarryTheLabels) {
    // The state the document reports for an undo or redo item.
    const auto item = [this](unsigned id) {
        CCommandState state;
        EXPECT_TRUE(document.OnUpdateCommand(id, state));
        return std::make_pair(state.enabled, state.text.value_or(u"?"));
    };
    EXPECT_EQ(item(ID_EDIT_UNDO), std::make_pair(false, std::u16string(u"元に戻す(&U)\tCtrl+Z")));
    EXPECT_EQ(item(ID_EDIT_REDO), std::make_pair(false, std::u16string(u"やり直し(&R)\tCtrl+Y")));

    auto pencil = std::make_unique<CLoggingCommand>(document, log, "x");
    pencil->name = u"鉛筆ツール";
    document.Execute(std::move(pencil));
    Run("B");
    document.Undo();
    EXPECT_EQ(item(ID_EDIT_UNDO),
              std::make_pair(true, std::u16string(u"元に戻す(&U) - 鉛筆ツール\tCtrl+Z")));
    EXPECT_EQ(item(ID_EDIT_REDO),
              std::make_pair(true, std::u16string(u"やり直し(&R) - B\tCtrl+Y")));

    EXPECT_EQ(CUndoableDocument::InsertLabel(u"a\tb\tc", u"L"), u"a - L\tb\tc");
    EXPECT_EQ(CUndoableDocument::InsertLabel(u"no tab", u"L"), u"no tab");
    CCommandState state;
    EXPECT_FALSE(document.OnUpdateCommand(ID_EDIT_CUT, state));
}

TEST_F(UndoTest, UndoAndRedoCommandsAreRouted) {
    Run("A");
    EXPECT_TRUE(document.OnCommand(ID_EDIT_UNDO));
    EXPECT_EQ(document.position, 0);
    EXPECT_TRUE(document.OnCommand(ID_EDIT_REDO));
    EXPECT_EQ(document.position, 1);
    EXPECT_FALSE(document.OnCommand(ID_EDIT_COPY));
}

TEST_F(UndoTest, ModifiedStaysSetAfterUndoToTheSavedState) {
    Run("A");
    document.SetModifiedFlag(false); // saved
    document.Undo();
    EXPECT_TRUE(document.IsModified());
    document.SetModifiedFlag(false);
    document.Redo();
    EXPECT_TRUE(document.IsModified());
}

TEST_F(UndoTest, ThrowingDoLeavesTheListAndDestroysTheCommand) {
    Run("A");
    Run("B");
    document.Undo();
    const int liveBefore = CLoggingCommand::live;
    auto bad = std::make_unique<CLoggingCommand>(document, log, "bad");
    bad->throwOnDo = true;
    EXPECT_THROW(document.Execute(std::move(bad)), std::runtime_error);
    EXPECT_EQ(CLoggingCommand::live, liveBefore);                   // destroyed, not leaked
    EXPECT_EQ(Labels(), (std::vector<std::u16string>{u"A", u"B"})); // redo tail kept
    EXPECT_EQ(document.position, 1);
    EXPECT_TRUE(document.CanRedo());
}

TEST_F(UndoTest, ClearDestroysEveryCommand) {
    const int liveBefore = CLoggingCommand::live;
    Run("A");
    Run("B");
    document.Undo();
    EXPECT_EQ(CLoggingCommand::live, liveBefore + 2);
    document.Clear();
    EXPECT_EQ(CLoggingCommand::live, liveBefore);
    EXPECT_EQ(document.position, 0);
    EXPECT_FALSE(document.CanUndo());
    EXPECT_FALSE(document.CanRedo());
}

TEST_F(UndoTest, CompositeRunsElementsInOrderAndBack) {
    auto composite = std::make_unique<CCompositeCommand>(u"c");
    composite->elements.push_back(std::make_unique<CLogElement>(log, "1"));
    composite->elements.push_back(std::make_unique<CLogElement>(log, "2"));
    document.Execute(std::move(composite));
    document.Undo();
    EXPECT_EQ(log, (std::vector<std::string>{"do 1", "do 2", "undo 2", "undo 1"}));
}

TEST_F(UndoTest, FailingElementRollsBackTheOnesBefore) {
    auto composite = std::make_unique<CCompositeCommand>(u"c");
    composite->elements.push_back(std::make_unique<CLogElement>(log, "1"));
    composite->elements.push_back(std::make_unique<CLogElement>(log, "2"));
    composite->elements.push_back(std::make_unique<CLogElement>(log, "3", true));
    EXPECT_THROW(document.Execute(std::move(composite)), std::runtime_error);
    EXPECT_EQ(log, (std::vector<std::string>{"do 1", "do 2", "undo 2", "undo 1"}));
    EXPECT_TRUE(document.commands.empty());
}
