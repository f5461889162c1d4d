// The part record of the document file and of the part clipboard payload:
// one part with its subtree (layout in DocumentFile.h).

#include <memory>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/RunLength.h"

namespace {

enum : uint8_t {
    FLAG_BONE_KIND = 0x03,
    FLAG_RIGID_BODY_VALUES = 0x04,
    FLAG_JOINT_VALUES = 0x08,
    FLAG_MORPH = 0x10,
    FLAG_RIGID_BODY = 0x20,
    FLAG_JOINT = 0x40,
    FLAG_NO_DOTS = 0x80,
};

template <size_t N>
void ReadFloats(CArchiveReader& archive, std::array<float, N>& values) {
    for (float& v : values)
        v = archive.ReadF32();
}

void ReadRigidBody(CArchiveReader& archive, RIGID_BODY_PARAMS& body) {
    body.mass = archive.ReadF32();
    body.linearDamping = archive.ReadF32();
    body.angularDamping = archive.ReadF32();
    body.restitution = archive.ReadF32();
    body.friction = archive.ReadF32();
}

void ReadJoint(CArchiveReader& archive, JOINT_PARAMS& joint) {
    ReadFloats(archive, joint.positionMin);
    ReadFloats(archive, joint.positionMax);
    ReadFloats(archive, joint.rotationMin);
    ReadFloats(archive, joint.rotationMax);
    ReadFloats(archive, joint.springPosition);
    ReadFloats(archive, joint.springRotation);
}

template <size_t N>
void WriteFloats(CArchiveWriter& archive, const std::array<float, N>& values) {
    for (float v : values)
        archive.WriteF32(v);
}

uint8_t FlagsOf(const CDotPart& part) {
    uint8_t flags = static_cast<uint8_t>(part.boneKind & FLAG_BONE_KIND);
    if (part.morph)
        flags |= FLAG_MORPH;
    if (part.rigidBody) {
        flags |= FLAG_RIGID_BODY;
        if (!part.rigidBody->IsDefault())
            flags |= FLAG_RIGID_BODY_VALUES;
    }
    if (part.joint) {
        flags |= FLAG_JOINT;
        if (!part.joint->IsDefault())
            flags |= FLAG_JOINT_VALUES;
    }
    if (!part.HasDots())
        flags |= FLAG_NO_DOTS;
    return flags;
}

} // namespace

std::array<int, 3> ReadJointPoint(CArchiveReader& archive, int version) {
    std::array<int, 3> point{};
    for (int& c : point)
        c = version < 544 ? archive.ReadU8() * 2 : archive.ReadU8();
    return point;
}

void WriteJointPoint(CArchiveWriter& archive, const std::array<int, 3>& point) {
    for (int c : point) {
        // A value the byte cannot hold would come back as another point.
        if (c < 0 || c > 0xFF)
            throw CArchiveException("joint point coordinate " + std::to_string(c) +
                                    " is outside 0–255");
        archive.WriteU8(static_cast<uint8_t>(c));
    }
}

void LoadPartRecord(CDotPart& part, CArchiveReader& archive, int version, int depth,
                    CGridBudget& grids) {
    if (depth > MaxPartDepth)
        throw CArchiveException("parts are nested more than " + std::to_string(MaxPartDepth) +
                                " deep at byte " + std::to_string(archive.Position()));
    part.name = archive.ReadString();
    part.id = archive.ReadU16();
    part.parentId = archive.ReadU16();
    const uint8_t flags = archive.ReadU8();
    // Before 560 the flags byte only told whether the bone can move.
    const uint8_t known = version >= 560 ? flags : 0;
    part.boneKind = version >= 560 ? (flags & FLAG_BONE_KIND) : (flags ? BONE_MOVE : BONE_ROTATE);
    part.morph = (known & FLAG_MORPH) ? 1 : 0;
    ReadFloats(archive, part.angle);
    part.ikRange = archive.ReadU16();
    part.ikName = archive.ReadString();
    part.ikParentId = version >= 528 ? archive.ReadU16() : 0;
    part.bonePosition = ReadJointPoint(archive, version);
    part.parentPosition = ReadJointPoint(archive, version);
    part.dots.reset();
    if (!(known & FLAG_NO_DOTS)) {
        part.dots = std::make_unique<uint8_t[]>(GridDots);
        ReadRunLengthDots(archive,
                          std::span<uint8_t, RLE_GRID_SIZE>(part.dots.get(), RLE_GRID_SIZE));
        part.ReleaseIfEmpty();
        if (part.HasDots())
            grids.Take();
    }
    part.rate = archive.ReadF32();

    // The values follow whenever their flag is set; they are kept only when
    // the part has the record (the writer never sets one flag without the
    // other).
    part.rigidBody.reset();
    if (known & FLAG_RIGID_BODY)
        part.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    if (known & FLAG_RIGID_BODY_VALUES) {
        RIGID_BODY_PARAMS values;
        ReadRigidBody(archive, values);
        if (part.rigidBody)
            *part.rigidBody = values;
    }
    part.joint.reset();
    if (known & FLAG_JOINT)
        part.joint = std::make_unique<JOINT_PARAMS>();
    if (known & FLAG_JOINT_VALUES) {
        JOINT_PARAMS values;
        ReadJoint(archive, values);
        if (part.joint)
            *part.joint = values;
    }

    const int count = archive.ReadU16();
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<CDotPart> child = part.document->CreatePart(0, std::u16string());
        LoadPartRecord(*child, archive, version, depth + 1, grids);
        part.InsertChild(-1, std::move(child));
    }
    part.linkedPartId = version >= 769 ? archive.ReadU16() : 0;
}

void CDotPart::Load(CArchiveReader& archive, int version) {
    CGridBudget grids;
    LoadPartRecord(*this, archive, version, 1, grids);
}

void CDotPart::Store(CArchiveWriter& archive) const {
    // Ids are 16 bits in the file: a larger one would come back as another
    // part's id.
    for (int value : {id, linkedPartId})
        if (value < 0 || value > MaxPartId)
            throw CArchiveException("part id " + std::to_string(value) + " is outside 0–" +
                                    std::to_string(MaxPartId));
    const uint8_t flags = FlagsOf(*this);
    archive.WriteString(name);
    archive.WriteU16(static_cast<uint16_t>(id));
    archive.WriteU16(static_cast<uint16_t>(parent ? parent->id : 0));
    archive.WriteU8(flags);
    WriteFloats(archive, angle);
    archive.WriteU16(static_cast<uint16_t>(ikRange));
    archive.WriteString(ikName);
    archive.WriteU16(static_cast<uint16_t>(ikParent ? ikParent->id : 0));
    WriteJointPoint(archive, bonePosition);
    WriteJointPoint(archive, parentPosition);
    if (!(flags & FLAG_NO_DOTS))
        WriteRunLengthDots(archive,
                           std::span<const uint8_t, RLE_GRID_SIZE>(dots.get(), RLE_GRID_SIZE));
    archive.WriteF32(rate);
    if (flags & FLAG_RIGID_BODY_VALUES) {
        archive.WriteF32(rigidBody->mass);
        archive.WriteF32(rigidBody->linearDamping);
        archive.WriteF32(rigidBody->angularDamping);
        archive.WriteF32(rigidBody->restitution);
        archive.WriteF32(rigidBody->friction);
    }
    if (flags & FLAG_JOINT_VALUES) {
        WriteFloats(archive, joint->positionMin);
        WriteFloats(archive, joint->positionMax);
        WriteFloats(archive, joint->rotationMin);
        WriteFloats(archive, joint->rotationMax);
        WriteFloats(archive, joint->springPosition);
        WriteFloats(archive, joint->springRotation);
    }
    if (children.size() > 0xFFFF)
        throw CArchiveException("part " + std::to_string(id) + " has more than 65535 children");
    archive.WriteU16(static_cast<uint16_t>(children.size()));
    for (const auto& child : children)
        child->Store(archive);
    archive.WriteU16(static_cast<uint16_t>(linkedPartId));
}
