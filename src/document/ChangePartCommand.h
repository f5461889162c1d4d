#pragma once
// The base of the commands that change a whole part at once (invert onto an
// existing part, divide): the caller builds the command, which copies the
// part's grid as it is, then changes the part directly, then executes the
// command, whose first run copies the grid as it has become.

#include <cstdint>
#include <string>
#include <vector>

#include "document/CompositeCommand.h"

class CDotDocument;
class CDotPart;

class CChangePartCommand : public CCompositeCommand {
public:
    CDotDocument* document;      // not owned
    CDotPart* part;              // not owned
    std::vector<uint8_t> before; // the grid when the command was built
    std::vector<uint8_t> after;  // the grid after the first run
    // Set while the part holds (or is about to be given) the after state.
    bool afterCurrent = true;

    // ApplyAfter, then HINT_DOTS with the part.
    void Do(CDocumentObserver* view) override;
    // ApplyBefore, then HINT_DOTS with the part.
    void Undo() override;

protected:
    // Copies the part's grid into the before snapshot.
    CChangePartCommand(CDotPart& part, std::u16string name);

    // First run: copies the grid into the after snapshot; later runs put the
    // after snapshot back. Then runs the elements forwards. Marks modified.
    void ApplyAfter();
    // Runs the elements backwards, then puts the before snapshot back. Marks
    // modified.
    void ApplyBefore();
};
