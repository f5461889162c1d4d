#pragma once
// The concrete part: a 32 × 32 × 32 grid of dot values with its joint points,
// physics records and the dot view's per-part state.
//
// A dot value is one byte: bits 0–4 the palette index (0 = empty), bits 5–6
// reserved and preserved, bit 7 a scratch mark of surface extraction. The dot
// (x, y, z) is byte z × 1024 + y × 32 + x. The grid has no storage until a
// non-empty dot is written, and gives it up again when a whole grid that turns
// out empty is put in with SetDots.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "document/FaceOrientation.h"
#include "document/Grid.h"
#include "document/Part.h"
#include "document/PhysicsParams.h"

class CDotPart : public CPart {
public:
    CDotPart(CDotDocument* document, int id, std::u16string name);
    ~CDotPart() override;

    // Joint point in the parent's grid and in this part's own grid, in half
    // dots (0–64, 32 the grid centre).
    std::array<int, 3> bonePosition{32, 32, 32};
    std::array<int, 3> parentPosition{32, 32, 32};
    // The grid, GridDots bytes, or null when it has no storage.
    std::unique_ptr<uint8_t[]> dots;
    std::unique_ptr<RIGID_BODY_PARAMS> rigidBody;
    std::unique_ptr<JOINT_PARAMS> joint;
    // The dot view's face and cursor for this part.
    const FaceOrientation* face = &FaceOrientation::Front;
    std::array<int, 3> cursor{16, 16, 16};
    // Placement in model space (x, y, z, unused w) and the accumulated rest
    // rotation as a quaternion (x, y, z, w).
    std::array<float, 4> worldPosition{0.0f, 0.0f, 0.0f, 0.0f};
    std::array<float, 4> worldRotation{0.0f, 0.0f, 0.0f, 1.0f};

    // Palette index (bits 0–4) at (x, y, z); 0 without storage.
    int GetDot(int x, int y, int z) const;
    // Replaces bits 0–4 by index & 0x1F and keeps bits 5–7; creates the
    // storage for a non-zero index; never releases it.
    void SetDot(int x, int y, int z, int index);
    // Replaces the whole grid with a GridDots-byte snapshot; releases the
    // storage when no dot of the result is non-empty. Throws
    // std::invalid_argument for a snapshot of another size.
    void SetDots(std::span<const uint8_t> snapshot);
    // Copies the grid into a GridDots-byte buffer (zeros without storage).
    // Throws std::invalid_argument for a buffer of another size.
    void CopyDots(std::span<uint8_t> snapshot) const;
    // Drops the storage when no dot is non-empty.
    void ReleaseIfEmpty();

    // The raw grid for readers that walk it (null without storage). Bit 7 is
    // free for a scan's own marks.
    uint8_t* Grid() { return dots.get(); }
    const uint8_t* Grid() const { return dots.get(); }
    // Whether this part's own grid holds a non-empty dot.
    bool HasDots() const;
    // Number of non-empty dots of this part's own grid.
    int CountDots() const;

    // Whether this part or a part below it uses palette index index.
    bool IsUsingColor(int index) const override;
    // Whether this part and every part below it hold no non-empty dot.
    bool IsEmpty() const;

    // The dot view's depth in this part: the depth of cursor seen from face.
    int GetDepth() const { return face->Depth(cursor); }
    // Moves the cursor to depth d (0–31) seen from face, keeping its view
    // column and row; returns whether the cursor changed.
    bool SetDepth(int depth);

    // The part's own commands: faces, depth, invert, rigid body and joint.
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

    void Load(CArchiveReader& archive, int version) override;
    void Store(CArchiveWriter& archive) const override;
    float UpdatePlacement() override;
    bool HasRigidBody() const override { return rigidBody != nullptr; }
    bool HasJoint() const override { return joint != nullptr; }
    // A joint takes effect with a rigid body, a parent and a rotating or
    // moving bone.
    bool CanHaveJoint() const override;
};
