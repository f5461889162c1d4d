#include "support/PMXReader.h"

#include "document/Archive.h"

#include <functional>
#include <string>

namespace {

using Float3 = PMXContents::Float3;

class CPMXReader {
public:
    explicit CPMXReader(std::span<const uint8_t> bytes) : in_(bytes) {}

    PMXContents Read() {
        PMXContents file;
        auto magic = in_.ReadSpan(4);
        if (std::string(magic.begin(), magic.end()) != "PMX ")
            Fail("not a PMX file: it does not start with \"PMX \"");
        file.version = in_.ReadF32();
        if (file.version != 2.0f || in_.ReadU8() != 8)
            Fail("not a PMX 2.0 header");
        for (uint8_t& setting : file.settings)
            setting = in_.ReadU8();
        if (file.settings[0] != 0 || file.settings[1] != 0)
            Fail("only UTF-16 texts without additional UVs are read");
        for (size_t i = 2; i < 8; ++i)
            if (file.settings[i] != 1 && file.settings[i] != 2 && file.settings[i] != 4)
                Fail("an index width of " + std::to_string(file.settings[i]));
        sizes_ = file.settings;
        file.name = Text();
        file.englishName = Text();
        file.comment = Text();
        file.englishComment = Text();
        file.vertices = Records<PMXContents::VERTEX>(&CPMXReader::Vertex);
        vertexCount_ = file.vertices.size();
        file.faces = Records<uint32_t>([](CPMXReader& r) { return r.VertexIndex(); });
        file.textures = Records<std::u16string>(&CPMXReader::Text);
        file.materials = Records<PMXContents::MATERIAL>(&CPMXReader::Material);
        file.bones = Records<PMXContents::BONE>(&CPMXReader::Bone);
        file.morphs = Records<PMXContents::MORPH>(&CPMXReader::Morph);
        file.frames = Records<PMXContents::FRAME>(&CPMXReader::Frame);
        file.rigidBodies = Records<PMXContents::RIGID_BODY>(&CPMXReader::Body);
        file.joints = Records<PMXContents::JOINT>(&CPMXReader::Joint);
        if (!in_.AtEnd())
            Fail(std::to_string(in_.Remaining()) + " bytes after the last joint");
        CheckReferences(file);
        return file;
    }

private:
    [[noreturn]] static void Fail(const std::string& what) { throw CArchiveException(what); }

    // A count, then that many records; every record takes at least one byte,
    // so a corrupt count fails before a huge allocation.
    template <typename T, typename ReadOne>
    std::vector<T> Records(ReadOne readOne) {
        const int32_t count = in_.ReadI32();
        if (count < 0)
            Fail("a negative count");
        in_.Require(static_cast<size_t>(count), "records");
        std::vector<T> records;
        records.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i)
            records.push_back(std::invoke(readOne, *this));
        return records;
    }

    std::u16string Text() {
        const int32_t bytes = in_.ReadI32();
        if (bytes < 0 || bytes % 2 != 0)
            Fail("a text of " + std::to_string(bytes) + " bytes");
        auto span = in_.ReadSpan(static_cast<size_t>(bytes));
        std::u16string text;
        for (size_t i = 0; i < span.size(); i += 2)
            text += static_cast<char16_t>(span[i] | span[i + 1] << 8);
        return text;
    }

    Float3 F3() { return {in_.ReadF32(), in_.ReadF32(), in_.ReadF32()}; }

    // A signed index of the width in setting slot.
    int32_t Index(size_t slot) {
        switch (sizes_[slot]) {
        case 1: return static_cast<int8_t>(in_.ReadU8());
        case 2: return static_cast<int16_t>(in_.ReadU16());
        default: return in_.ReadI32();
        }
    }

    uint32_t VertexIndex() {
        uint32_t v = sizes_[2] == 1 ? in_.ReadU8() : sizes_[2] == 2 ? in_.ReadU16() : in_.ReadU32();
        if (v >= vertexCount_)
            Fail("vertex index " + std::to_string(v) + " outside the vertices");
        return v;
    }
    int32_t TextureIndex() { return Index(3); }
    int32_t BoneIndex() { return Index(5); }

    PMXContents::VERTEX Vertex() {
        PMXContents::VERTEX v{};
        v.position = F3();
        v.normal = F3();
        v.uv = {in_.ReadF32(), in_.ReadF32()};
        v.deform = in_.ReadU8();
        if (v.deform == 0) {
            v.bone0 = BoneIndex();
            v.bone1 = -1;
            v.weight = 1;
        } else if (v.deform == 1) {
            v.bone0 = BoneIndex();
            v.bone1 = BoneIndex();
            v.weight = in_.ReadF32();
        } else {
            Fail("deform kind " + std::to_string(v.deform));
        }
        v.edgeScale = in_.ReadF32();
        return v;
    }

    PMXContents::MATERIAL Material() {
        PMXContents::MATERIAL m{};
        m.name = Text();
        Text();
        for (float& f : m.diffuse)
            f = in_.ReadF32();
        m.specular = F3();
        m.power = in_.ReadF32();
        m.ambient = F3();
        m.flags = in_.ReadU8();
        for (float& f : m.edgeColour)
            f = in_.ReadF32();
        m.edgeSize = in_.ReadF32();
        m.texture = TextureIndex();
        m.sphere = TextureIndex();
        m.sphereMode = in_.ReadU8();
        m.sharedToon = in_.ReadU8();
        m.toon = m.sharedToon ? in_.ReadU8() : TextureIndex();
        Text(); // memo
        m.faceVertexCount = in_.ReadU32();
        return m;
    }

    PMXContents::BONE Bone() {
        PMXContents::BONE b;
        b.name = Text();
        Text();
        b.position = F3();
        b.parent = BoneIndex();
        b.layer = in_.ReadI32();
        b.flags = in_.ReadU16();
        if (!(b.flags & 0x0001) || (b.flags & 0x3F00))
            Fail("bone flags the writer never sets");
        b.tail = BoneIndex();
        if (b.flags & 0x0020) {
            b.ikTarget = BoneIndex();
            b.ikLoops = in_.ReadI32();
            b.ikLimit = in_.ReadF32();
            b.ikLinks = Records<PMXContents::IK_LINK>([](CPMXReader& r) {
                PMXContents::IK_LINK link{};
                link.bone = r.BoneIndex();
                link.limited = r.in_.ReadU8() != 0;
                if (link.limited) {
                    link.min = r.F3();
                    link.max = r.F3();
                }
                return link;
            });
        }
        return b;
    }

    PMXContents::MORPH Morph() {
        PMXContents::MORPH m;
        m.name = Text();
        Text();
        m.panel = in_.ReadU8();
        if (in_.ReadU8() != 1)
            Fail("a morph that is not a vertex morph");
        m.offsets = Records<PMXContents::MORPH_OFFSET>([](CPMXReader& r) {
            PMXContents::MORPH_OFFSET o;
            o.vertex = r.VertexIndex();
            o.offset = r.F3();
            return o;
        });
        return m;
    }

    PMXContents::FRAME Frame() {
        PMXContents::FRAME f;
        f.name = Text();
        f.englishName = Text();
        f.special = in_.ReadU8();
        f.entries = Records<PMXContents::FRAME_ENTRY>([](CPMXReader& r) {
            PMXContents::FRAME_ENTRY e;
            e.kind = r.in_.ReadU8();
            e.index = e.kind == 0 ? r.BoneIndex() : r.Index(6);
            return e;
        });
        return f;
    }

    PMXContents::RIGID_BODY Body() {
        PMXContents::RIGID_BODY b{};
        b.name = Text();
        Text();
        b.bone = BoneIndex();
        b.group = in_.ReadU8();
        b.mask = in_.ReadU16();
        b.shape = in_.ReadU8();
        b.size = F3();
        b.position = F3();
        b.rotation = F3();
        for (float* f : {&b.mass, &b.linearDamping, &b.angularDamping, &b.restitution, &b.friction})
            *f = in_.ReadF32();
        b.mode = in_.ReadU8();
        return b;
    }

    PMXContents::JOINT Joint() {
        PMXContents::JOINT j{};
        j.name = Text();
        Text();
        j.kind = in_.ReadU8();
        if (j.kind != 0)
            Fail("a joint that is not a 6-DOF spring");
        j.bodyA = Index(7);
        j.bodyB = Index(7);
        for (Float3* v : {&j.position, &j.rotation, &j.positionMin, &j.positionMax, &j.rotationMin,
                          &j.rotationMax, &j.springPosition, &j.springRotation})
            *v = F3();
        return j;
    }

    // Every signed index is −1 or names a record of its table.
    static void CheckReferences(const PMXContents& file) {
        auto check = [](int32_t index, size_t count, const char* what) {
            if (index < -1 || index >= static_cast<int64_t>(count))
                Fail(std::string(what) + " " + std::to_string(index) + " names no record");
        };
        const size_t bones = file.bones.size();
        for (const auto& v : file.vertices) {
            check(v.bone0, bones, "vertex bone");
            check(v.bone1, bones, "vertex bone");
        }
        for (const auto& m : file.materials) {
            check(m.texture, file.textures.size(), "texture");
            check(m.sphere, file.textures.size(), "sphere");
        }
        for (const auto& b : file.bones) {
            check(b.parent, bones, "parent");
            check(b.tail, bones, "tail");
            check(b.ikTarget, bones, "IK target");
            for (const auto& link : b.ikLinks)
                check(link.bone, bones, "IK link");
        }
        for (const auto& f : file.frames)
            for (const auto& e : f.entries)
                check(e.index, e.kind == 0 ? bones : file.morphs.size(), "frame entry");
        for (const auto& b : file.rigidBodies)
            check(b.bone, bones, "body bone");
        for (const auto& j : file.joints) {
            check(j.bodyA, file.rigidBodies.size(), "joint body");
            check(j.bodyB, file.rigidBodies.size(), "joint body");
        }
    }

    CArchiveReader in_;
    std::array<uint8_t, 8> sizes_{};
    size_t vertexCount_ = 0;
};

} // namespace

PMXContents ReadPMX(std::span<const uint8_t> bytes) { return CPMXReader(bytes).Read(); }
