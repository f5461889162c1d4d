// The PMD 1.0 file writer. Layout, all numbers little-endian:
//
//   header      "Pmd", f32 1.0, name (20), comment (256)                 283 bytes
//   vertices    u32 count; position, normal (3 × f32 each), uv (2 × f32),
//               u16 bone0, u16 bone1, u8 weight, u8 edge                  38 bytes each
//   faces       u32 index count; u16 vertex index each
//   materials   u32 count; diffuse rgb, alpha, power, specular rgb,
//               ambient rgb (f32 each), u8 toon, u8 edge, u32 face
//               index count, texture file name (20)                       70 bytes each
//   bones       u16 count; name (20), i16 parent, u16 tail, u8 type,
//               u16 IK parent, position (3 × f32)                         39 bytes each
//   IK          u16 count; u16 IK bone, u16 target, u8 chain length n,
//               u16 iterations, f32 weight, n × u16 chain                 11 + 2n bytes each
//   morphs      u16 count with "base" (0 when there are no morphs); the
//               base morph: name, u32 m, u8 type 0, m × (u32 vertex,
//               position); each morph: name, u32 n, u8 type, n × (u32
//               position in the base list, offset); then u8 display count
//               and u16 1, 2, … for every morph
//   groups      u8 count, 50-byte names; u32 entry count, then per entry
//               u16 bone and u8 1-based group number
//   English     u8 0: no English block follows
//   toon        10 × 100-byte file names
//   bodies      u32 count; name (20), i16 bone, u8 group, u16 mask,
//               u8 shape, size, position, rotation (3 × f32 each), mass,
//               linear and angular damping, restitution, friction (f32
//               each), u8 mode                                            83 bytes each
//   joints      u32 count; name (20), u32 body A, u32 body B, position,
//               rotation, position min and max, rotation min and max,
//               spring position and rotation (3 × f32 each)               124 bytes each
//
// Text fields are code page 932 in a fixed width: a shorter text is padded
// with zero bytes, a text of the field's width or longer fills the whole field
// without a terminator (the cut may fall inside a two-byte character). File
// name fields hold only the last component of a path. Indices of −1 are
// written as all-ones in their field.

#include "document/Archive.h"
#include "document/TextCodec.h"
#include "generator/PMDModel.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <span>
#include <stdexcept>

namespace {

constexpr size_t kNameField = 20;
constexpr size_t kCommentField = 256;
constexpr size_t kGroupNameField = 50;
constexpr size_t kToonField = 100;

constexpr size_t kHeaderSize = 3 + 4 + kNameField + kCommentField;
constexpr size_t kVertexSize = CPMDModel::VERTEX_SIZE;
static_assert(kHeaderSize + 4 == CPMDModel::HEAD_SIZE);
constexpr size_t kMaterialSize = 70;
constexpr size_t kBoneSize = 39;
constexpr size_t kIKSize = 11;
constexpr size_t kMorphSize = kNameField + 4 + 1;
constexpr size_t kMorphVertexSize = 16;
constexpr size_t kGroupEntrySize = 3;
constexpr size_t kRigidBodySize = 83;
constexpr size_t kJointSize = 124;

void WriteText(CArchiveWriter& archive, std::u16string_view text, size_t width) {
    std::string bytes = Utf16ToCp932(text);
    // The field holds a C string: the text ends at its first zero byte. Code
    // page 932 has no zero byte inside a two-byte character.
    std::string_view used(bytes);
    used = used.substr(0, used.find('\0'));
    archive.WriteFixed(used, width);
}

// The file name and extension of a path (its folders dropped).
std::u16string_view FileNameOf(std::u16string_view path) {
    size_t separator = path.find_last_of(u"/\\");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

// An index in a 16-bit field; −1 becomes 0xFFFF.
void WriteIndex16(CArchiveWriter& archive, int32_t index) {
    archive.WriteU16(static_cast<uint16_t>(index));
}

void WriteFloat3(CArchiveWriter& archive, const PMDFloat3& v) {
    archive.WriteF32(v.x);
    archive.WriteF32(v.y);
    archive.WriteF32(v.z);
}

// The "base" morph: every vertex that some morph moves, once each, in the
// order the morphs first name them. positionOf maps a vertex index to its
// place in the list (−1 for vertices no morph moves).
} // namespace

struct CPMDModel::BaseMorph {
    std::vector<int32_t> vertices;
    std::vector<int32_t> positionOf;
    size_t morphVertexCount = 0; // entries of all morphs together
};

namespace {

using BaseMorph = CPMDModel::BaseMorph;

BaseMorph BuildBaseMorph(const CPMDModel& model) {
    BaseMorph base;
    if (model.morphs.empty())
        return base;
    base.positionOf.assign(model.vertices.size(), -1);
    for (const CModelMorph& morph : model.morphs) {
        base.morphVertexCount += morph.vertices.size();
        for (const CModelMorphVertex& entry : morph.vertices) {
            if (entry.vertex < 0 || static_cast<size_t>(entry.vertex) >= model.vertices.size())
                throw std::out_of_range("morph \"" + Utf16ToUtf8(NameText(morph.name)) +
                                        "\" moves vertex " + std::to_string(entry.vertex) +
                                        ", but the model has " +
                                        std::to_string(model.vertices.size()) + " vertices");
            int32_t& position = base.positionOf[static_cast<size_t>(entry.vertex)];
            if (position < 0) {
                position = static_cast<int32_t>(base.vertices.size());
                base.vertices.push_back(entry.vertex);
            }
        }
    }
    return base;
}

size_t FileSize(const CPMDModel& model, const BaseMorph& base) {
    size_t size = kHeaderSize;
    size += 4 + model.vertices.size() * kVertexSize;
    size += 4 + model.faces.size() * 2;
    size += 4 + model.materials.size() * kMaterialSize;
    size += 2 + model.Bones().size() * kBoneSize;
    size += 2;
    for (const CModelIK& ik : model.iks)
        size += kIKSize + ik.chain.size() * 2;
    size += 2 + 1;
    if (!model.morphs.empty()) {
        size += (model.morphs.size() + 1) * kMorphSize;
        size += (base.vertices.size() + base.morphVertexCount) * kMorphVertexSize;
        size += model.morphs.size() * 2;
    }
    size += 1 + model.boneGroups.size() * kGroupNameField + 4;
    for (const CModelBoneGroup& group : model.boneGroups)
        size += group.bones.size() * kGroupEntrySize;
    size += 1 + model.toonTextures.size() * kToonField;
    size += 4 + model.rigidBodies.size() * kRigidBodySize;
    size += 4 + model.joints.size() * kJointSize;
    return size;
}

// The vertices are most of the file: each is stored whole in place, its
// eight floats copied at once where the host's own float layout is the
// file's (little-endian IEEE), one by one elsewhere.
// Returns whether every number written was finite.
bool WriteVertices(CArchiveWriter& archive, std::span<const CModelVertex> vertices) {
    static_assert(sizeof(PMDFloat3) == 12 && sizeof(PMDFloat2) == 8);
    uint32_t bad = 0;
    for (const CModelVertex& vertex : vertices) {
        bad |= NonFinite(vertex);
        uint8_t* at = archive.Extend(kVertexSize);
        if constexpr (std::endian::native == std::endian::little &&
                      std::numeric_limits<float>::is_iec559) {
            std::memcpy(at, &vertex.position, 12);
            std::memcpy(at + 12, &vertex.normal, 12);
            std::memcpy(at + 24, &vertex.uv, 8);
            at += 32;
        } else {
            for (float f :
                 {vertex.position.x, vertex.position.y, vertex.position.z, vertex.normal.x,
                  vertex.normal.y, vertex.normal.z, vertex.uv.x, vertex.uv.y})
                at = CArchiveWriter::StoreF32(at, f);
        }
        at = CArchiveWriter::Store16(at, static_cast<uint16_t>(vertex.bone0));
        at = CArchiveWriter::Store16(at, static_cast<uint16_t>(vertex.bone1));
        at[0] = vertex.weight;
        at[1] = vertex.edge ? 1 : 0;
    }
    return bad == 0;
}

// The face indices, in runs that fit the writer's room.
void WriteFaces(CArchiveWriter& archive, const std::vector<uint32_t>& faces) {
    constexpr size_t run = 2048;
    for (size_t begin = 0; begin < faces.size(); begin += run) {
        const size_t count = std::min(run, faces.size() - begin);
        uint8_t* at = archive.Extend(count * 2);
        for (size_t i = 0; i < count; ++i)
            at = CArchiveWriter::Store16(at, static_cast<uint16_t>(faces[begin + i]));
    }
}

void WriteMaterial(CArchiveWriter& archive, const CModelMaterial& material) {
    archive.WriteF32(material.diffuse.r);
    archive.WriteF32(material.diffuse.g);
    archive.WriteF32(material.diffuse.b);
    archive.WriteF32(material.diffuse.a);
    archive.WriteF32(material.power);
    archive.WriteF32(material.specular.r);
    archive.WriteF32(material.specular.g);
    archive.WriteF32(material.specular.b);
    archive.WriteF32(material.ambient.r);
    archive.WriteF32(material.ambient.g);
    archive.WriteF32(material.ambient.b);
    archive.WriteU8(material.toonIndex);
    archive.WriteBool(material.edge);
    archive.WriteU32(material.faceVertexCount);
    const std::u16string& image = material.texture.empty() ? material.sphere : material.texture;
    WriteText(archive, FileNameOf(image), kNameField);
}

void WriteBone(CArchiveWriter& archive, const CModelBone& bone) {
    WriteText(archive, NameText(bone.name), kNameField);
    WriteIndex16(archive, bone.parent);
    WriteIndex16(archive, bone.tail);
    archive.WriteU8(static_cast<uint8_t>(bone.type));
    WriteIndex16(archive, bone.ikBone);
    WriteFloat3(archive, bone.position);
}

void WriteIK(CArchiveWriter& archive, const CModelIK& ik) {
    WriteIndex16(archive, ik.ikBone);
    WriteIndex16(archive, ik.target);
    archive.WriteU8(static_cast<uint8_t>(ik.chain.size()));
    archive.WriteU16(static_cast<uint16_t>(ik.iterations));
    archive.WriteF32(ik.weight);
    for (int32_t bone : ik.chain)
        WriteIndex16(archive, bone);
}

void WriteMorphs(CArchiveWriter& archive, const CPMDModel& model, const BaseMorph& base) {
    if (model.morphs.empty()) {
        archive.WriteU16(0);
        archive.WriteU8(0);
        return;
    }
    archive.WriteU16(static_cast<uint16_t>(model.morphs.size() + 1));
    WriteText(archive, u"base", kNameField);
    archive.WriteU32(static_cast<uint32_t>(base.vertices.size()));
    archive.WriteU8(CModelMorph::TYPE_BASE);
    for (int32_t vertex : base.vertices) {
        archive.WriteU32(static_cast<uint32_t>(vertex));
        WriteFloat3(archive, model.vertices[static_cast<size_t>(vertex)].position);
    }
    for (const CModelMorph& morph : model.morphs) {
        WriteText(archive, NameText(morph.name), kNameField);
        archive.WriteU32(static_cast<uint32_t>(morph.vertices.size()));
        archive.WriteU8(static_cast<uint8_t>(morph.type));
        for (const CModelMorphVertex& entry : morph.vertices) {
            archive.WriteU32(
                static_cast<uint32_t>(base.positionOf[static_cast<size_t>(entry.vertex)]));
            WriteFloat3(archive, entry.offset);
        }
    }
    archive.WriteU8(static_cast<uint8_t>(model.morphs.size()));
    for (size_t i = 1; i <= model.morphs.size(); ++i)
        archive.WriteU16(static_cast<uint16_t>(i));
}

void WriteBoneGroups(CArchiveWriter& archive, const CPMDModel& model) {
    archive.WriteU8(static_cast<uint8_t>(model.boneGroups.size()));
    size_t entries = 0;
    for (const CModelBoneGroup& group : model.boneGroups) {
        WriteText(archive, group.name, kGroupNameField);
        entries += group.bones.size();
    }
    archive.WriteU32(static_cast<uint32_t>(entries));
    for (size_t g = 0; g < model.boneGroups.size(); ++g) {
        for (int32_t bone : model.boneGroups[g].bones) {
            bool known = bone >= 0 && bone < model.BoneCount();
            archive.WriteU16(known ? static_cast<uint16_t>(bone) : 0xFFFF);
            archive.WriteU8(static_cast<uint8_t>(g + 1));
        }
    }
}

void WriteRigidBody(CArchiveWriter& archive, const CRigidBody& body) {
    WriteText(archive, body.name, kNameField);
    WriteIndex16(archive, body.bone);
    archive.WriteU8(static_cast<uint8_t>(body.group));
    archive.WriteU16(body.mask);
    archive.WriteU8(static_cast<uint8_t>(body.shape));
    WriteFloat3(archive, body.size);
    WriteFloat3(archive, body.position);
    WriteFloat3(archive, body.rotation);
    archive.WriteF32(body.mass);
    archive.WriteF32(body.linearDamping);
    archive.WriteF32(body.angularDamping);
    archive.WriteF32(body.restitution);
    archive.WriteF32(body.friction);
    archive.WriteU8(static_cast<uint8_t>(body.mode));
}

void WriteJoint(CArchiveWriter& archive, const CJoint& joint) {
    WriteText(archive, joint.name, kNameField);
    archive.WriteI32(joint.bodyA);
    archive.WriteI32(joint.bodyB);
    WriteFloat3(archive, joint.position);
    WriteFloat3(archive, joint.rotation);
    WriteFloat3(archive, joint.positionMin);
    WriteFloat3(archive, joint.positionMax);
    WriteFloat3(archive, joint.rotationMin);
    WriteFloat3(archive, joint.rotationMax);
    WriteFloat3(archive, joint.springPosition);
    WriteFloat3(archive, joint.springRotation);
}

} // namespace

void CPMDModel::Write(CArchiveWriter& archive) const {
    CheckLimits();
    const BaseMorph base = BuildBaseMorph(*this);
    archive.Reserve(FileSize(*this, base));
    WriteHead(archive, vertices.size());
    WriteVertices(archive, vertices);
    WriteTail(archive, base);
}

void CPMDModel::WriteHead(CArchiveWriter& archive, size_t vertexCount) const {
    archive.WriteFixed("Pmd", 3);
    archive.WriteF32(1.0f);
    WriteText(archive, name, kNameField);
    WriteText(archive, comment, kCommentField);
    archive.WriteU32(static_cast<uint32_t>(vertexCount));
}

bool CPMDModel::WriteVertexRange(CArchiveWriter& archive, std::span<const CModelVertex> range) {
    return WriteVertices(archive, range);
}

void CPMDModel::WriteTail(CArchiveWriter& archive) const {
    CheckLimits();
    WriteTail(archive, BuildBaseMorph(*this));
}

void CPMDModel::WriteTail(CArchiveWriter& archive, const BaseMorph& base) const {
    archive.WriteU32(static_cast<uint32_t>(faces.size()));
    // Every index fits: CheckLimits refused more than 65,535 vertices.
    WriteFaces(archive, faces);

    archive.WriteU32(static_cast<uint32_t>(materials.size()));
    for (const CModelMaterial& material : materials)
        WriteMaterial(archive, material);

    archive.WriteU16(static_cast<uint16_t>(bones_.size()));
    for (const CModelBone& bone : bones_)
        WriteBone(archive, bone);

    archive.WriteU16(static_cast<uint16_t>(iks.size()));
    for (const CModelIK& ik : iks)
        WriteIK(archive, ik);

    WriteMorphs(archive, *this, base);
    WriteBoneGroups(archive, *this);

    archive.WriteU8(0); // English flag: this model has no English texts
    for (const std::u16string& toon : toonTextures)
        WriteText(archive, FileNameOf(toon), kToonField);

    archive.WriteU32(static_cast<uint32_t>(rigidBodies.size()));
    for (const CRigidBody& body : rigidBodies)
        WriteRigidBody(archive, body);

    archive.WriteU32(static_cast<uint32_t>(joints.size()));
    for (const CJoint& joint : joints)
        WriteJoint(archive, joint);
}

std::vector<uint8_t> CPMDModel::ToBytes() const {
    CArchiveWriter archive;
    Write(archive);
    return archive.Take();
}

void CPMDModel::WriteFile(const std::string& path) const {
    // Through a small buffer straight into the file: the whole file is never
    // held in memory.
    StreamFileAtomically(path, [this](const CArchiveWriter::SINK& sink) {
        CArchiveWriter archive(sink, FILE_BUFFER_SIZE);
        Write(archive);
        archive.Flush();
    });
}
