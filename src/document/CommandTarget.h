#pragma once
// Command routing of the core: menu and accelerator commands are offered by
// number to a chain of targets; the first that handles a number runs it and
// tells its state.
//
// A target keeps a table of handlers: one entry per command id (or run of
// ids) says whether the target takes the command now, what it runs and how
// its menu state is computed. OnCommand and OnUpdateCommand both look the id
// up in the same table, so adding a command touches one entry.

#include <optional>
#include <span>
#include <string>

// The state of a menu item or button as its handler reports it.
struct CCommandState {
    bool enabled = true;
    bool checked = false;
    bool radio = false;                 // checked shows as a radio mark
    std::optional<std::u16string> text; // replaces the item text when set
};

class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    // Runs the command; returns whether this target handles id.
    virtual bool OnCommand(unsigned id) {
        (void)id;
        return false;
    }
    // Fills state for the command; returns whether this target handles id.
    virtual bool OnUpdateCommand(unsigned id, CCommandState& state) {
        (void)id;
        (void)state;
        return false;
    }
};

template <class Target>
struct CCommandHandler {
    unsigned id = 0;    // the first id handled
    unsigned count = 1; // ids id … id + count − 1
    // Whether the target takes the command now; a command it does not take
    // goes on to the next target. Null: always.
    bool (*takes)(const Target&, unsigned id) = nullptr;
    void (*run)(Target&, unsigned id) = nullptr;
    // Fills the state, which starts enabled; null: enabled.
    void (*update)(const Target&, unsigned id, CCommandState& state) = nullptr;

    bool Covers(unsigned command) const { return command >= id && command - id < count; }
};

template <class Target>
const CCommandHandler<Target>* FindHandler(std::span<const CCommandHandler<Target>> table,
                                           const Target& target, unsigned id) {
    for (const CCommandHandler<Target>& handler : table)
        if (handler.Covers(id))
            return !handler.takes || handler.takes(target, id) ? &handler : nullptr;
    return nullptr;
}

// Runs id through table; returns whether target handles it.
template <class Target>
bool RunCommand(std::span<const CCommandHandler<Target>> table, Target& target, unsigned id) {
    const CCommandHandler<Target>* handler = FindHandler(table, target, id);
    if (!handler)
        return false;
    if (handler->run)
        handler->run(target, id);
    return true;
}

// Fills state for id from table; returns whether target handles it.
template <class Target>
bool UpdateCommand(std::span<const CCommandHandler<Target>> table, const Target& target,
                   unsigned id, CCommandState& state) {
    const CCommandHandler<Target>* handler = FindHandler(table, target, id);
    if (!handler)
        return false;
    state.enabled = true;
    if (handler->update)
        handler->update(target, id, state);
    return true;
}
