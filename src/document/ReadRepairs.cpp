#include "document/ReadRepairs.h"

#include "document/DotDocument.h"
#include "document/TextCodec.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

std::string Quoted(const std::u16string& name) { return "\"" + Utf16ToUtf8(name) + "\""; }

constexpr int HalfCells = 64;

} // namespace

void MakePartNamesUnique(CDotDocument& document, ReadNotes& notes) {
    const std::vector<CPart*> parts = document.CollectParts();
    std::unordered_set<std::u16string> taken;
    for (const CPart* part : parts)
        taken.insert(part->name);
    if (taken.size() == parts.size())
        return;
    std::unordered_set<std::u16string> seen;
    // The next number to try for each base name, so that many repeats of one
    // name cost linear time.
    std::unordered_map<std::u16string, unsigned> nextNumber;
    for (CPart* part : parts) {
        if (seen.insert(part->name).second)
            continue;
        const std::u16string base = part->name;
        unsigned& n = nextNumber.try_emplace(base, 1).first->second;
        std::u16string name;
        do
            name = base + Utf8ToUtf16(std::to_string(n++));
        while (taken.contains(name));
        taken.insert(name);
        seen.insert(name);
        part->name = name;
        notes.push_back("part name " + Quoted(base) + " repeats; the part with id " +
                        std::to_string(part->id) + " is now named " + Quoted(name));
    }
}

void DropIkParentCycles(CDotDocument& document, ReadNotes& notes) {
    // Each part has at most one IK parent, so the references form chains;
    // walking each chain with three states finds every loop once.
    enum STATE : unsigned char { NEW, ON_PATH, DONE };
    const std::vector<CPart*> parts = document.CollectParts();
    std::unordered_map<const CPart*, STATE> state;
    state.reserve(parts.size());
    std::vector<CPart*> path;
    for (CPart* start : parts) {
        path.clear();
        for (CPart* part = start; part && state[part] == NEW; part = part->ikParent) {
            state[part] = ON_PATH;
            path.push_back(part);
            if (part->ikParent && state[part->ikParent] == ON_PATH) {
                notes.push_back("the IK parent " + Quoted(part->ikParent->name) + " of part " +
                                Quoted(part->name) + " leads round in a circle and is dropped");
                part->ikParent = nullptr;
                part->ikParentId = 0;
                break;
            }
        }
        for (CPart* part : path)
            state[part] = DONE;
    }
}

int ClampMigratedPoint(int value, const std::u16string& part, ReadNotes& notes) {
    const int clamped = std::clamp(value, 0, HalfCells);
    if (clamped != value)
        notes.push_back("a joint point of part " + Quoted(part) +
                        " scaled by its rate lay off the grid (" + std::to_string(value) +
                        "); it is moved to " + std::to_string(clamped));
    return clamped;
}
