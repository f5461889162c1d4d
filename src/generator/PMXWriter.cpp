// The PMX 2.0 file writer. Layout, all numbers little-endian, texts as an
// i32 byte count and that many bytes of UTF-16LE:
//
//   header      "PMX ", f32 2.0, u8 8, then the eight settings: encoding 0
//               (UTF-16LE), additional UVs 0, and the index widths of
//               vertices, textures, materials, bones, morphs and rigid bodies;
//               name, English name, comment, English comment
//   vertices    i32 count; position, normal (3 × f32 each), uv (2 × f32),
//               u8 deform (0 BDEF1: bone; 1 BDEF2: bone, bone, f32 weight),
//               f32 edge scale
//   faces       i32 index count; vertex indices
//   textures    i32 count; texts
//   materials   i32 count; name, English name, diffuse rgba, specular rgb,
//               power, ambient rgb (f32 each), u8 draw flags, edge rgba,
//               f32 edge size, texture, sphere, u8 sphere mode, u8 shared
//               toon (1: u8 toon number; 0: texture index), memo, i32 face
//               index count
//   bones       i32 count; name, English name, position, parent, i32 layer,
//               u16 flags, tail bone, and with the IK flag: target, i32 loop
//               count, f32 limit, i32 link count, per link bone, u8 limited,
//               (limited: min and max as 3 × f32)
//   morphs      i32 count; name, English name, u8 panel, u8 kind 1 (vertex),
//               i32 count, per entry vertex and offset (3 × f32)
//   frames      i32 count; name, English name, u8 special, i32 count, per
//               entry u8 kind (0 bone, 1 morph) and index
//   bodies      i32 count; name, English name, bone, u8 group, u16 mask,
//               u8 shape, size, position, rotation, mass, linear and angular
//               damping, restitution, friction, u8 mode
//   joints      i32 count; name, English name, u8 kind 0 (6-DOF spring),
//               body A, body B, position, rotation, position min and max,
//               rotation min and max, spring position and rotation

#include "generator/PMXWriter.h"

#include "document/Archive.h"
#include "document/TextCodec.h"
#include "generator/PMDLimits.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string_view>

namespace {

const char16_t* const kKneeMark = u"ひざ";

std::u16string_view FileNameOf(std::u16string_view path) {
    size_t separator = path.find_last_of(u"/\\");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

void Check(const char* items, size_t count) {
    if (count > kPMXMaxCount)
        throw CModelLimitError("the model", items, count, kPMXMaxCount, "PMX");
}

// Bytes gathered in a small fixed buffer and appended to the archive in one
// go: vertices, face indices and morph offsets are many small values, and one
// append per record instead of one per value keeps PMX as quick as PMD.
class CPacked {
public:
    static constexpr size_t CAPACITY = 4096;

    bool HasRoomFor(size_t size) const { return size_ + size <= CAPACITY; }
    void U8(uint8_t v) { data_[size_++] = v; }
    void U16(uint16_t v) { Put(v); }
    void U32(uint32_t v) { Put(v); }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void Float3(const PMDFloat3& v) {
        F32(v.x);
        F32(v.y);
        F32(v.z);
    }
    // An index of the given width (1, 2 or 4 bytes); −1 becomes all ones.
    void Index(uint32_t v, uint8_t width) {
        if (width == 1)
            U8(static_cast<uint8_t>(v));
        else if (width == 2)
            U16(static_cast<uint16_t>(v));
        else
            U32(v);
    }
    void AppendTo(CArchiveWriter& out) {
        out.WriteBytes(data_, size_);
        size_ = 0;
    }

private:
    template <typename T>
    void Put(T v) {
        for (size_t i = 0; i < sizeof(T); ++i)
            data_[size_ + i] = static_cast<uint8_t>(v >> (8 * i));
        size_ += sizeof(T);
    }

    uint8_t data_[CAPACITY];
    size_t size_ = 0;
};

class CPMXWriter {
public:
    CPMXWriter(const CPMDModel& model, CArchiveWriter& out) : model_(model), out_(out) {
        for (const CModelMaterial& material : model.materials) {
            AddTexture(material.texture);
            AddTexture(material.sphere);
        }
        vertexSize_ = PMXVertexIndexSize(model.vertices.size());
        textureSize_ = PMXIndexSize(textures_.size());
        materialSize_ = PMXIndexSize(model.materials.size());
        boneSize_ = PMXIndexSize(model.Bones().size());
        morphSize_ = PMXIndexSize(model.morphs.size());
        bodySize_ = PMXIndexSize(model.rigidBodies.size());
        ikOfBone_.assign(model.Bones().size(), -1);
        for (size_t i = 0; i < model.iks.size(); ++i) {
            const int32_t bone = model.iks[i].ikBone;
            CheckIndex(bone, model.Bones().size(), "IK bone");
            int32_t& ik = ikOfBone_[static_cast<size_t>(bone)];
            if (ik >= 0)
                throw std::invalid_argument("IK records " + std::to_string(ik) + " and " +
                                            std::to_string(i) + " share IK bone " +
                                            std::to_string(bone));
            ik = static_cast<int32_t>(i);
        }
        size_t faceCount = 0;
        for (const CModelMaterial& material : model.materials)
            faceCount += material.faceVertexCount;
        if (faceCount != model.faces.size())
            throw std::invalid_argument("the materials hold " + std::to_string(faceCount) +
                                        " face indices, but the model has " +
                                        std::to_string(model.faces.size()));
    }

    void Write() {
        // The sizes that dominate, so that writing seldom reallocates.
        out_.Reserve(model_.vertices.size() * (45 + 2 * boneSize_) +
                     model_.faces.size() * vertexSize_ + 4096);
        WriteHeader();
        WriteVertices();
        WriteFaces();
        out_.WriteI32(Count(textures_.size()));
        for (const std::u16string& texture : textures_)
            WriteText(texture);
        out_.WriteI32(Count(model_.materials.size()));
        for (size_t i = 0; i < model_.materials.size(); ++i)
            WriteMaterial(i, model_.materials[i]);
        out_.WriteI32(Count(model_.Bones().size()));
        for (size_t i = 0; i < model_.Bones().size(); ++i)
            WriteBone(model_.Bones()[i], ikOfBone_[i]);
        out_.WriteI32(Count(model_.morphs.size()));
        for (const CModelMorph& morph : model_.morphs)
            WriteMorph(morph);
        WriteFrames();
        out_.WriteI32(Count(model_.rigidBodies.size()));
        for (const CRigidBody& body : model_.rigidBodies)
            WriteBody(body);
        out_.WriteI32(Count(model_.joints.size()));
        for (const CJoint& joint : model_.joints)
            WriteJoint(joint);
    }

private:
    static int32_t Count(size_t count) { return static_cast<int32_t>(count); }

    static void CheckIndex(int64_t index, size_t count, const char* what) {
        if (index < -1 || index >= static_cast<int64_t>(count))
            throw std::out_of_range(std::string(what) + " " + std::to_string(index) +
                                    " outside the " + std::to_string(count) +
                                    " records it refers to");
    }

    void AddTexture(const std::u16string& path) {
        if (path.empty())
            return;
        std::u16string name(FileNameOf(path));
        for (const std::u16string& texture : textures_)
            if (texture == name)
                return;
        textures_.push_back(std::move(name));
    }

    int32_t TextureIndex(const std::u16string& path) const {
        if (path.empty())
            return -1;
        const std::u16string_view name = FileNameOf(path);
        for (size_t i = 0; i < textures_.size(); ++i)
            if (textures_[i] == name)
                return static_cast<int32_t>(i);
        return -1;
    }

    void WriteText(std::u16string_view text) {
        out_.WriteI32(Count(text.size() * 2));
        if constexpr (std::endian::native == std::endian::little) {
            out_.WriteBytes(text.data(), text.size() * 2);
        } else {
            for (char16_t c : text)
                out_.WriteU16(c);
        }
    }

    // A signed index of the given width; −1 (none) or a record of count.
    void WriteIndex(int32_t index, size_t count, uint8_t size, const char* what) {
        CheckIndex(index, count, what);
        if (size == 1)
            out_.WriteU8(static_cast<uint8_t>(static_cast<int8_t>(index)));
        else if (size == 2)
            out_.WriteU16(static_cast<uint16_t>(static_cast<int16_t>(index)));
        else
            out_.WriteI32(index);
    }

    void WriteBoneIndex(int32_t index, const char* what) {
        WriteIndex(index, model_.Bones().size(), boneSize_, what);
    }

    // A vertex index: no −1 here, every index names a vertex.
    void CheckVertex(int64_t index) const {
        if (index < 0 || static_cast<size_t>(index) >= model_.vertices.size())
            throw std::out_of_range("vertex " + std::to_string(index) + " outside the " +
                                    std::to_string(model_.vertices.size()) +
                                    " vertices of the model");
    }

    void PackBone(CPacked& packed, int32_t index) const {
        CheckIndex(index, model_.Bones().size(), "vertex bone");
        packed.Index(static_cast<uint32_t>(index), boneSize_);
    }

    void WriteFloat3(const PMDFloat3& v) {
        out_.WriteF32(v.x);
        out_.WriteF32(v.y);
        out_.WriteF32(v.z);
    }

    void WriteHeader() {
        out_.WriteFixed("PMX ", 4);
        out_.WriteF32(2.0f);
        out_.WriteU8(8);
        for (uint8_t setting : {uint8_t{0}, uint8_t{0}, vertexSize_, textureSize_, materialSize_,
                                boneSize_, morphSize_, bodySize_})
            out_.WriteU8(setting);
        WriteText(model_.name);
        WriteText(u"");
        WriteText(model_.comment);
        WriteText(u"");
    }

    void WriteVertices() {
        out_.WriteI32(Count(model_.vertices.size()));
        CPacked packed;
        for (const CModelVertex& vertex : model_.vertices) {
            if (!packed.HasRoomFor(64))
                packed.AppendTo(out_);
            packed.Float3(vertex.position);
            packed.Float3(vertex.normal);
            packed.F32(vertex.uv.x);
            packed.F32(vertex.uv.y);
            const bool single =
                vertex.weight >= 100 || vertex.bone1 < 0 || vertex.bone1 == vertex.bone0;
            if (single || vertex.weight == 0) {
                packed.U8(0); // BDEF1
                PackBone(packed, single ? vertex.bone0 : vertex.bone1);
            } else {
                packed.U8(1); // BDEF2
                PackBone(packed, vertex.bone0);
                PackBone(packed, vertex.bone1);
                packed.F32(static_cast<float>(vertex.weight) / 100.0f);
            }
            // The PMD flag switches the edge off.
            packed.F32(vertex.edge ? 0.0f : 1.0f);
        }
        packed.AppendTo(out_);
    }

    void WriteFaces() {
        out_.WriteI32(Count(model_.faces.size()));
        if (!model_.faces.empty())
            CheckVertex(*std::max_element(model_.faces.begin(), model_.faces.end()));
        CPacked packed;
        for (uint32_t index : model_.faces) {
            if (!packed.HasRoomFor(4))
                packed.AppendTo(out_);
            packed.Index(index, vertexSize_);
        }
        packed.AppendTo(out_);
    }

    void WriteMaterial(size_t number, const CModelMaterial& material) {
        WriteText(u"材質" + Utf8ToUtf16(std::to_string(number + 1)));
        WriteText(u"");
        const PMDColor& d = material.diffuse;
        const PMDColor& s = material.specular;
        const PMDColor& a = material.ambient;
        for (float value : {d.r, d.g, d.b, d.a, s.r, s.g, s.b, material.power, a.r, a.g, a.b})
            out_.WriteF32(value);
        // Ground shadow, self-shadow map, self shadow and edge, as the PMD
        // edge flag draws them together.
        out_.WriteU8(material.edge ? 0x1E : 0x00);
        for (float edge : {0.0f, 0.0f, 0.0f, 1.0f, 1.0f}) // black, size 1
            out_.WriteF32(edge);
        WriteIndex(TextureIndex(material.texture), textures_.size(), textureSize_, "texture");
        const int32_t sphere = TextureIndex(material.sphere);
        WriteIndex(sphere, textures_.size(), textureSize_, "sphere");
        const bool additive =
            material.sphere.ends_with(u".spa") || material.sphere.ends_with(u".SPA");
        out_.WriteU8(sphere < 0 ? 0 : additive ? 2 : 1);
        if (material.toonIndex < 10) {
            out_.WriteU8(1); // a shared toon
            out_.WriteU8(material.toonIndex);
        } else {
            out_.WriteU8(0);
            WriteIndex(-1, textures_.size(), textureSize_, "toon");
        }
        WriteText(u"");
        out_.WriteI32(static_cast<int32_t>(material.faceVertexCount));
    }

    void WriteBone(const CModelBone& bone, int32_t ikIndex) {
        WriteText(NameText(bone.name));
        WriteText(u"");
        WriteFloat3(bone.position);
        WriteBoneIndex(bone.parent, "parent bone");
        out_.WriteI32(0); // deform layer
        uint16_t flags = PMXBoneFlags(bone.type);
        if (ikIndex >= 0)
            flags |= PMX_BONE_IK;
        out_.WriteU16(flags);
        WriteBoneIndex(bone.tail > 0 ? bone.tail : -1, "tail bone");
        if (ikIndex < 0)
            return;
        const CModelIK& ik = model_.iks[static_cast<size_t>(ikIndex)];
        WriteBoneIndex(ik.target, "IK target");
        out_.WriteI32(ik.iterations);
        out_.WriteF32(ik.weight * 4.0f);
        out_.WriteI32(Count(ik.chain.size()));
        for (int32_t link : ik.chain) {
            WriteBoneIndex(link, "IK link");
            const bool knee =
                link >= 0 &&
                NameText(model_.Bones()[static_cast<size_t>(link)].name).find(kKneeMark) !=
                    std::u16string::npos;
            out_.WriteU8(knee ? 1 : 0);
            if (knee)
                for (float limit : {kPMXKneeMinX, 0.0f, 0.0f, kPMXKneeMaxX, 0.0f, 0.0f})
                    out_.WriteF32(limit);
        }
    }

    void WriteMorph(const CModelMorph& morph) {
        WriteText(NameText(morph.name));
        WriteText(u"");
        out_.WriteU8(static_cast<uint8_t>(morph.type >= 1 && morph.type <= 4 ? morph.type : 4));
        out_.WriteU8(1); // vertex morph
        out_.WriteI32(Count(morph.vertices.size()));
        CPacked packed;
        for (const CModelMorphVertex& entry : morph.vertices) {
            CheckVertex(entry.vertex);
            if (!packed.HasRoomFor(16))
                packed.AppendTo(out_);
            packed.Index(static_cast<uint32_t>(entry.vertex), vertexSize_);
            packed.Float3(entry.offset);
        }
        packed.AppendTo(out_);
    }

    void WriteFrame(std::u16string_view name, std::u16string_view english, bool special,
                    const std::vector<int32_t>& bones, size_t morphs) {
        WriteText(name);
        WriteText(english);
        out_.WriteU8(special ? 1 : 0);
        size_t known = 0;
        for (int32_t bone : bones)
            known += bone >= 0 && bone < model_.BoneCount() ? 1 : 0;
        out_.WriteI32(Count(known + morphs));
        for (int32_t bone : bones)
            if (bone >= 0 && bone < model_.BoneCount()) {
                out_.WriteU8(0);
                WriteBoneIndex(bone, "frame bone");
            }
        for (size_t morph = 0; morph < morphs; ++morph) {
            out_.WriteU8(1);
            WriteIndex(static_cast<int32_t>(morph), model_.morphs.size(), morphSize_,
                       "frame morph");
        }
    }

    void WriteFrames() {
        out_.WriteI32(Count(model_.boneGroups.size() + 2));
        std::vector<int32_t> root;
        if (model_.BoneCount() > 0)
            root.push_back(0);
        WriteFrame(u"Root", u"Root", true, root, 0);
        WriteFrame(u"表情", u"Exp", true, {}, model_.morphs.size());
        for (const CModelBoneGroup& group : model_.boneGroups)
            WriteFrame(group.name, u"", false, group.bones, 0);
    }

    void WriteBody(const CRigidBody& body) {
        WriteText(body.name);
        WriteText(u"");
        WriteBoneIndex(body.bone, "rigid body bone");
        out_.WriteU8(static_cast<uint8_t>(body.group));
        out_.WriteU16(body.mask);
        out_.WriteU8(static_cast<uint8_t>(body.shape));
        WriteFloat3(body.size);
        PMDFloat3 position = body.position;
        if (body.bone >= 0) {
            const PMDFloat3& at = model_.Bones()[static_cast<size_t>(body.bone)].position;
            position = {position.x + at.x, position.y + at.y, position.z + at.z};
        }
        WriteFloat3(position);
        WriteFloat3(body.rotation);
        for (float value :
             {body.mass, body.linearDamping, body.angularDamping, body.restitution, body.friction})
            out_.WriteF32(value);
        out_.WriteU8(static_cast<uint8_t>(body.mode));
    }

    void WriteJoint(const CJoint& joint) {
        WriteText(joint.name);
        WriteText(u"");
        out_.WriteU8(0); // 6-DOF spring
        WriteIndex(joint.bodyA, model_.rigidBodies.size(), bodySize_, "joint body");
        WriteIndex(joint.bodyB, model_.rigidBodies.size(), bodySize_, "joint body");
        for (const PMDFloat3* v :
             {&joint.position, &joint.rotation, &joint.positionMin, &joint.positionMax,
              &joint.rotationMin, &joint.rotationMax, &joint.springPosition, &joint.springRotation})
            WriteFloat3(*v);
    }

    const CPMDModel& model_;
    CArchiveWriter& out_;
    std::vector<std::u16string> textures_;
    std::vector<int32_t> ikOfBone_; // the IK record of each bone, −1 for none
    uint8_t vertexSize_, textureSize_, materialSize_, boneSize_, morphSize_, bodySize_;
};

} // namespace

uint16_t PMXBoneFlags(int pmdType) {
    const uint16_t shown =
        PMX_BONE_TAIL_IS_BONE | PMX_BONE_ROTATE | PMX_BONE_VISIBLE | PMX_BONE_ENABLED;
    switch (pmdType) {
    case CModelBone::TYPE_ROTATE_MOVE:
    case CModelBone::TYPE_IK: return shown | PMX_BONE_MOVE;
    case CModelBone::TYPE_INVISIBLE: return shown & ~PMX_BONE_VISIBLE;
    default: // rotate, under IK, and the types the generator does not make
        return shown;
    }
}

uint8_t PMXVertexIndexSize(size_t count) { return count <= 0x100 ? 1 : count <= 0x10000 ? 2 : 4; }

uint8_t PMXIndexSize(size_t count) { return count <= 0x80 ? 1 : count <= 0x8000 ? 2 : 4; }

void CheckPMXLimits(const CPMDModel& model) {
    Check("vertices", model.vertices.size());
    Check("face indices", model.faces.size());
    Check("materials", model.materials.size());
    Check("bones", model.Bones().size());
    Check("morphs", model.morphs.size());
    Check("display frames", model.boneGroups.size() + 2);
    Check("rigid bodies", model.rigidBodies.size());
    Check("joints", model.joints.size());
    for (const CModelIK& ik : model.iks)
        Check("IK links", ik.chain.size());
    for (const CModelMorph& morph : model.morphs)
        Check("morph entries", morph.vertices.size());
}

std::vector<uint8_t> PMXBytes(const CPMDModel& model) {
    CheckPMXLimits(model);
    CArchiveWriter archive;
    CPMXWriter(model, archive).Write();
    return archive.Take();
}

void WritePMXFile(const CPMDModel& model, const std::string& path) {
    WriteFileAtomically(path, PMXBytes(model));
}
