#pragma once
// A command made of an ordered list of small reversible steps.

#include <memory>
#include <vector>

#include "document/Command.h"

class CCompositeCommand : public CCommand {
public:
    class CElement {
    public:
        virtual ~CElement() = default;
        virtual void Do() = 0;
        virtual void Undo() = 0;
    };

    using CCommand::CCommand;

    std::vector<std::unique_ptr<CElement>> elements;

    // Runs the elements' Do in list order. When one throws, the elements done
    // before it are undone in reverse order and the exception is passed on.
    void Do(CDocumentObserver* view) override;
    // Runs the elements' Undo in reverse list order.
    void Undo() override;

protected:
    void DoElements();
    void UndoElements();
};
