#pragma once
// The common ground of the edit tests: a document without parts, the view
// that starts edits and another view recording what they are told, a fake
// prompt, and round-trip checks.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/UpdateHints.h"
#include "support/DocumentSnapshot.h"
#include "support/FakePrompt.h"
#include "support/RecordingObserver.h"
#include "support/ScopedProfile.h"

inline void PrintTo(const CRecordingObserver::Update& update, std::ostream* os) {
    *os << "{hint " << update.notice.hint << ", part " << update.notice.part << ", document "
        << update.notice.document << ", sender " << update.sender << "}";
}

class EditTest : public ::testing::Test {
protected:
    using Update = CRecordingObserver::Update;

    EditTest() {
        document.AddObserver(&view);
        document.AddObserver(&other);
    }
    ~EditTest() override {
        document.RemoveObserver(&view);
        document.RemoveObserver(&other);
    }

    // Appends a new part under parent (the top level when null), outside the
    // undo list.
    CDotPart* Add(int id, std::u16string name, CPart* parent = nullptr) {
        auto part = document.CreatePart(id, std::move(name));
        CDotPart* raw = part.get();
        if (parent)
            parent->InsertChild(-1, std::move(part));
        else
            document.InsertChild(-1, std::move(part));
        return raw;
    }
    CDotPart* Find(std::u16string_view name) const {
        return dynamic_cast<CDotPart*>(document.FindPartByName(name));
    }
    // Forgets the updates seen so far and clears the modified flag.
    void Reset() {
        view.updates.clear();
        other.updates.clear();
        document.SetModifiedFlag(false);
    }
    // A notice as the views should get it, or with the part a variable will
    // point to once the edit has run. A bare hint stands for its notice
    // without an object.
    struct Hint {
        Hint(UpdateHint hint) : notice{hint} {}
        Hint(CUpdateNotice notice, CPart* const* partAfterEdit = nullptr)
            : notice(notice), partAfterEdit(partAfterEdit) {}

        CUpdateNotice notice;
        CPart* const* partAfterEdit = nullptr;

        CUpdateNotice Expected() const {
            CUpdateNotice expected = notice;
            if (partAfterEdit)
                expected.part = *partAfterEdit;
            return expected;
        }
    };

    // Runs edit (which executes one command with sender as initiating view),
    // then undo, redo, undo and redo again, checking that undo gives back the
    // document exactly as it was, that redo gives back exactly what the edit
    // made, that every step marks the document modified, and that the views
    // hear doHints on the edit (all but sender) and on each redo (all), and
    // undoHints on each undo (all).
    void ExpectRoundTrip(const std::function<void()>& edit, const std::vector<Hint>& doHints,
                         const std::vector<Hint>& undoHints, CDocumentObserver* sender = nullptr) {
        // Parts added by the fixtures start unplaced; place them as a document
        // that was loaded would be.
        document.UpdateAllPlacements();
        const std::string before = DescribeDocument(document, checkCurrentPart);
        const size_t commands = document.commands.size();
        Reset();
        edit();
        ASSERT_EQ(document.commands.size(), commands + 1) << "the edit executes one command";
        const std::string after = DescribeDocument(document, checkCurrentPart);
        EXPECT_NE(after, before) << "the edit changes the document";
        ExpectStep(doHints, sender, "do");
        for (int round = 0; round < 2; ++round) {
            document.Undo();
            const std::string undone = DescribeDocument(document, checkCurrentPart);
            EXPECT_TRUE(undone == before) << "undo round " << round << ":\n"
                                          << DiffDescriptions(before, undone);
            ExpectStep(undoHints, nullptr, "undo");
            document.Redo();
            const std::string redone = DescribeDocument(document, checkCurrentPart);
            EXPECT_TRUE(redone == after) << "redo round " << round << ":\n"
                                         << DiffDescriptions(after, redone);
            ExpectStep(doHints, nullptr, "redo");
        }
    }

    // Whether round trips compare the current part too.
    bool checkCurrentPart = true;

    CScopedProfile profile;
    CRecordingObserver view;  // the view that starts an edit
    CRecordingObserver other; // any other view
    CFakePrompt prompt;
    CDotDocument document;

private:
    void ExpectStep(const std::vector<Hint>& hints, CDocumentObserver* sender, const char* step) {
        std::vector<Update> expected;
        for (const Hint& h : hints)
            expected.push_back({sender, h.Expected()});
        EXPECT_TRUE(document.IsModified()) << step;
        EXPECT_EQ(other.updates, expected) << step;
        if (sender == &view)
            EXPECT_TRUE(view.updates.empty()) << step << ": the initiating view is skipped";
        else
            EXPECT_EQ(view.updates, expected) << step;
        Reset();
    }
};
