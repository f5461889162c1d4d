#pragma once
// The update hints the document sends its views, one per change. What object
// each hint carries is defined by HintObjectOf (document/UpdateNotice.h).

enum UpdateHint : int {
    HINT_INITIAL = 0,        // initial update
    HINT_PARTS = 1,          // part tree changed
    HINT_PART_NAME = 2,      // a part got a new name
    HINT_BONE = 3,           // bone settings of a part changed
    HINT_SELECT_PART = 4,    // the current part changed
    HINT_MARKED_PART = 5,    // the marked part changed
    HINT_PHYSICS = 6,        // rigid body or joint settings changed
    HINT_CURRENT_COLOR = 7,  // a current drawing colour changed
    HINT_PALETTE = 8,        // palette entries changed
    HINT_DOTS = 9,           // dots of one part changed
    HINT_DOT_SIZE = 11,      // the document's dot size changed
    HINT_BACKGROUND = 12,    // the background colour changed
    HINT_FACE = 13,          // a part's face or depth changed
    HINT_PART_RATE = 14,     // a part's rate changed
    HINT_INVERT = 15,        // joint points changed by inverting a part
    HINT_BONE_POSITION = 16, // a joint point was moved
    HINT_EDGE = 18,          // the edge flag changed
};
