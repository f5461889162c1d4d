#pragma once
// Command routing of the core: menu and accelerator commands are offered by
// number to a chain of targets; the first that handles a number runs it and
// tells its state.

#include <optional>
#include <string>

// The state of a menu item or button as its handler reports it.
struct CCommandState {
    bool enabled = true;
    bool checked = false;
    bool radio = false; // checked shows as a radio mark
    std::optional<std::u16string> text; // replaces the item text when set
};

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // Runs the command; returns whether this target handles id.
    virtual bool OnCommand(unsigned id) { (void)id; return false; }
    // Fills state for the command; returns whether this target handles id.
    virtual bool OnUpdateCommand(unsigned id, CCommandState& state) {
        (void)id;
        (void)state;
        return false;
    }
};
