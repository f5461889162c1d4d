#pragma once
// The update hints the document sends its views: one per change, with the
// hint object named beside it.

enum UpdateHint : int {
    HINT_INITIAL = 0,        // initial update; none
    HINT_PARTS = 1,          // part tree changed; the part or none
    HINT_PART_NAME = 2,      // a part got a new name; the part
    HINT_BONE = 3,           // bone settings of a part changed; the part
    HINT_SELECT_PART = 4,    // the current part changed; the part or none
    HINT_MARKED_PART = 5,    // the marked part changed; the part
    HINT_PHYSICS = 6,        // rigid body or joint settings changed; the document
    HINT_CURRENT_COLOR = 7,  // a current drawing colour changed; none
    HINT_PALETTE = 8,        // palette entries changed; none
    HINT_DOTS = 9,           // dots of one part changed; the part
    HINT_DOT_SIZE = 11,      // the document's dot size changed; none
    HINT_BACKGROUND = 12,    // the background colour changed; none
    HINT_FACE = 13,          // a part's face or depth changed; none
    HINT_PART_RATE = 14,     // a part's rate changed; the part
    HINT_INVERT = 15,        // joint points changed by inverting a part; none
    HINT_BONE_POSITION = 16, // a joint point was moved; the part
    HINT_EDGE = 18,          // the edge flag changed; none
};
