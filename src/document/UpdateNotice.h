#pragma once
// What the document tells its views after a change: the hint and the object
// the hint names. Each hint names one kind of object (HintObjectOf); a notice
// is built with Notice<hint>(...), which accepts only the object that hint
// carries, so senders cannot attach the wrong thing and receivers read typed
// fields instead of casting.

#include "document/UpdateHints.h"

class CPart;
class CDotDocument;

// The kind of object a hint carries.
enum class HintObject {
    None,       // nothing
    Part,       // always a part
    PartOrNone, // a part, or nothing
    Document,   // the document that changed
};

constexpr HintObject HintObjectOf(UpdateHint hint) {
    switch (hint) {
    case HINT_PARTS:
    case HINT_SELECT_PART: return HintObject::PartOrNone;
    case HINT_PART_NAME:
    case HINT_BONE:
    case HINT_MARKED_PART:
    case HINT_DOTS:
    case HINT_PART_RATE:
    case HINT_BONE_POSITION: return HintObject::Part;
    case HINT_PHYSICS: return HintObject::Document;
    case HINT_INITIAL:
    case HINT_CURRENT_COLOR:
    case HINT_PALETTE:
    case HINT_DOT_SIZE:
    case HINT_BACKGROUND:
    case HINT_FACE:
    case HINT_INVERT:
    case HINT_EDGE: return HintObject::None;
    }
    return HintObject::None;
}

// One notice. part is set only for hints whose object is a part (always the
// CPart address, so a view can compare it with the parts it holds whatever
// class it sees them as); document only for hints whose object is the
// document.
struct CUpdateNotice {
    UpdateHint hint = HINT_INITIAL;
    CPart* part = nullptr;
    CDotDocument* document = nullptr;

    bool operator==(const CUpdateNotice&) const = default;
};

constexpr bool HintTakesNothing(UpdateHint hint) {
    return HintObjectOf(hint) == HintObject::None || HintObjectOf(hint) == HintObject::PartOrNone;
}
constexpr bool HintTakesPart(UpdateHint hint) {
    return HintObjectOf(hint) == HintObject::Part || HintObjectOf(hint) == HintObject::PartOrNone;
}

// A notice for a hint that carries nothing (or "a part or nothing", sent
// without a part).
template <UpdateHint Hint>
    requires(HintTakesNothing(Hint))
constexpr CUpdateNotice Notice() { return {Hint, nullptr, nullptr}; }

// A notice for a hint that carries a part.
template <UpdateHint Hint>
    requires(HintTakesPart(Hint))
constexpr CUpdateNotice Notice(CPart* part) { return {Hint, part, nullptr}; }

// A notice for a hint that carries the document.
template <UpdateHint Hint>
    requires(HintObjectOf(Hint) == HintObject::Document)
constexpr CUpdateNotice Notice(CDotDocument* document) { return {Hint, nullptr, document}; }
