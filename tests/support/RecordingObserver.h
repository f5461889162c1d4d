#pragma once
// Test helpers for the document's notifications and the undo list.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/Command.h"
#include "document/DocumentObserver.h"
#include "document/UndoableDocument.h"

// Records every update it receives.
class CRecordingObserver : public CDocumentObserver {
public:
    struct Update {
        CDocumentObserver* sender;
        CUpdateNotice notice;
        bool operator==(const Update&) const = default;
    };

    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override {
        updates.push_back({sender, notice});
    }
    std::vector<int> Hints() const {
        std::vector<int> hints;
        for (const Update& u : updates)
            hints.push_back(u.notice.hint);
        return hints;
    }

    std::vector<Update> updates;
};

// A command that appends "do <name>" and "undo <name>" to a shared log,
// follows the document protocol (modified flag, one hint) and can be told to
// throw from Do. It counts its live instances so tests can see it destroyed.
class CLoggingCommand : public CCommand {
public:
    CLoggingCommand(CUndoableDocument& document, std::vector<std::string>& log, std::string label)
        : CCommand(std::u16string(label.begin(), label.end())), document_(document), log_(log),
          label_(std::move(label)) {
        ++live;
    }
    ~CLoggingCommand() override { --live; }

    void Do(CDocumentObserver* view) override {
        if (throwOnDo)
            throw std::runtime_error("Do failed");
        log_.push_back("do " + label_);
        document_.SetModifiedFlag();
        document_.UpdateAllViews(view, Notice<HINT_PALETTE>());
    }
    void Undo() override {
        log_.push_back("undo " + label_);
        document_.SetModifiedFlag();
        document_.UpdateAllViews(nullptr, Notice<HINT_PALETTE>());
    }

    bool throwOnDo = false;
    static inline int live = 0;

private:
    CUndoableDocument& document_;
    std::vector<std::string>& log_;
    std::string label_;
};
