#pragma once
// A set of single-dot changes in one part: one drawing stroke, one committed
// slice of the dot view.

#include <cstdint>
#include <string>
#include <vector>

#include "document/Command.h"

class CDotPart;

class CDotCommand : public CCommand {
public:
    // One changed dot: grid coordinates and the palette index before and after.
    struct OPERATION {
        uint8_t x;
        uint8_t y;
        uint8_t z;
        uint8_t before;
        uint8_t after;
    };

    CDotCommand(CDotPart& part, std::u16string name);

    CDotPart* part;                    // the part whose dots change (not owned)
    std::vector<OPERATION> operations; // at most one per grid position

    // Records that (x, y, z) goes from before to after. A position already
    // recorded keeps its first before value and takes the new after value, so
    // several passes over one dot undo to the value before the first.
    void AddOperation(int x, int y, int z, int before, int after);
    bool IsEmpty() const { return operations.empty(); }

    // Writes every after (Do) or before (Undo) value with SetDot, which keeps
    // bits 5–7; then HINT_DOTS with the part.
    void Do(CDocumentObserver* view) override;
    void Undo() override;
};
