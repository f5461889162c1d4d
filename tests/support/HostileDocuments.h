#pragma once
// Documents made to break things, each from a reproduction of a fault: the
// tests use them directly, and the same bytes are kept in
// tests/data/hostile/ for the command-line pass over hostile files (a test
// checks that the files there still match what these functions make).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDotDocument;

struct HOSTILE_DOCUMENT {
    std::string name; // file name in tests/data/hostile
    std::vector<uint8_t> bytes;
};

namespace hostile {

// A chain of depth parts, each the only child of the one before.
std::unique_ptr<CDotDocument> Chain(int depth);
// The standard skeleton plus 最後 with id 65,535 and a child.
std::unique_ptr<CDotDocument> HighestId();
// The standard skeleton without 頭; 左腕 is a morph still linked to 頭's id,
// the smallest id no part has.
std::unique_ptr<CDotDocument> FreedId();
// 左腕 hangs at the far right of 体, whose joint point is at its left edge:
// inverting it puts 右腕's joint point at 0 + 0 − 64, off the grid.
std::unique_ptr<CDotDocument> MirrorOffGrid();
// A one-dot part with one broken value; what says which.
enum class BROKEN {
    NAN_DOT_SIZE,
    INFINITE_DOT_SIZE,
    HUGE_RATES,
    NAN_RIGID_BODY,
    NAN_JOINT,
    NAN_ANGLE
};
std::unique_ptr<CDotDocument> Broken(BROKEN what);
// 輪 is its own IK parent; 甲 and 乙 are each other's.
std::unique_ptr<CDotDocument> IkCycle();
// Three parts named 腕 under one another, and bones looked up by name.
std::unique_ptr<CDotDocument> RepeatedNames();
// 200 solid parts coloured through the texture: an atlas taller than a PNG
// image may be.
std::unique_ptr<CDotDocument> HugeTexture();
// A jointed part without dots, so it gets no rigid body in the model.
std::unique_ptr<CDotDocument> JointWithoutBody();

// Every hostile document as file bytes.
std::vector<HOSTILE_DOCUMENT> AllHostileDocuments();

} // namespace hostile
