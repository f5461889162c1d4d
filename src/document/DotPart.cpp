#include "document/DotPart.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

CDotPart::CDotPart(CDotDocument* owner, int partId, std::u16string partName)
    : CPart(owner, partId, std::move(partName)) {}

CDotPart::~CDotPart() = default;

int CDotPart::GetDot(int x, int y, int z) const {
    return dots ? dots[GridIndex(x, y, z)] & DotIndexMask : 0;
}

void CDotPart::SetDot(int x, int y, int z, int index) {
    if (!dots) {
        if (index == 0)
            return;
        dots = std::make_unique<uint8_t[]>(GridDots);
    }
    uint8_t& cell = dots[GridIndex(x, y, z)];
    cell = static_cast<uint8_t>((cell & ~DotIndexMask) | (index & DotIndexMask));
}

void CDotPart::SetDots(std::span<const uint8_t> snapshot) {
    if (snapshot.size() != GridDots)
        throw std::invalid_argument("SetDots: a grid snapshot has 32768 bytes");
    if (!dots)
        dots = std::make_unique<uint8_t[]>(GridDots);
    std::copy(snapshot.begin(), snapshot.end(), dots.get());
    ReleaseIfEmpty();
}

void CDotPart::CopyDots(std::span<uint8_t> snapshot) const {
    if (snapshot.size() != GridDots)
        throw std::invalid_argument("CopyDots: a grid snapshot has 32768 bytes");
    if (dots)
        std::copy(dots.get(), dots.get() + GridDots, snapshot.begin());
    else
        std::fill(snapshot.begin(), snapshot.end(), uint8_t{0});
}

void CDotPart::ReleaseIfEmpty() {
    if (dots && !HasDots())
        dots.reset();
}

bool CDotPart::HasDots() const {
    if (!dots)
        return false;
    return std::any_of(dots.get(), dots.get() + GridDots,
                       [](uint8_t v) { return (v & DotIndexMask) != 0; });
}

int CDotPart::CountDots() const {
    if (!dots)
        return 0;
    return static_cast<int>(std::count_if(dots.get(), dots.get() + GridDots,
                                          [](uint8_t v) { return (v & DotIndexMask) != 0; }));
}

bool CDotPart::IsUsingColor(int index) const {
    if (dots) {
        const bool found = std::any_of(dots.get(), dots.get() + GridDots,
                                       [index](uint8_t v) { return (v & DotIndexMask) == index; });
        if (found)
            return true;
    }
    return CPartParent::IsUsingColor(index);
}

bool CDotPart::IsEmpty() const {
    if (HasDots())
        return false;
    for (const auto& child : children) {
        const auto* dotChild = dynamic_cast<const CDotPart*>(child.get());
        if (dotChild && !dotChild->IsEmpty())
            return false;
    }
    return true;
}

bool CDotPart::SetDepth(int depth) {
    const ViewCell view = face->ToView(cursor);
    const GridCell cell = face->ToGrid(view[0], view[1], depth);
    if (cell == cursor)
        return false;
    cursor = cell;
    return true;
}

bool CDotPart::CanHaveJoint() const {
    return rigidBody && parent && (boneKind == BONE_ROTATE || boneKind == BONE_MOVE);
}
