#pragma once
// The in-memory form of a model in the PMD polygon model format (version 1.0)
// and its writer. The generator fills one CPMDModel, writes it once and drops
// it; nothing ever reads a model back.
//
// Records are plain values. Collections whose records are handed out by the
// Add operations are deques, so a returned reference stays valid while more
// records are added. Bones are reachable only through the model's operations,
// because the model keeps an index from bone names to bone positions.
//
// The format's English block is never written (the model has no English
// texts), so the records carry no English names and the English flag is 0.

#include "generator/NameIds.h"

#include <array>
#include <bit>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CArchiveWriter;

struct PMDFloat2 {
    float x = 0, y = 0;
    bool operator==(const PMDFloat2&) const = default;
};

struct PMDFloat3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const PMDFloat3&) const = default;
};

// Red, green, blue and alpha.
struct PMDColor {
    float r = 1, g = 1, b = 1, a = 1;
    bool operator==(const PMDColor&) const = default;
};

struct CModelVertex {
    PMDFloat3 position;
    PMDFloat3 normal;
    PMDFloat2 uv;
    int32_t bone0 = -1; // the bones that move the vertex, -1 for none
    int32_t bone1 = -1;
    uint8_t weight = 100; // weight of bone0 in percent
    bool edge = false;

    CModelVertex() = default;
    // A vertex moved by one bone alone, as the generator makes them.
    CModelVertex(PMDFloat3 position, PMDFloat3 normal, PMDFloat2 uv, int32_t bone)
        : position(position), normal(normal), uv(uv), bone0(bone) {}
};

struct CModelMaterial {
    PMDColor diffuse;
    PMDColor ambient;  // only red, green and blue are written
    PMDColor specular; // only red, green and blue are written
    float power = 1;   // specular exponent
    uint8_t toonIndex = 0;
    bool edge = true;
    std::u16string texture;       // path of the texture image; only its file name is written
    std::u16string sphere;        // written instead of texture when texture is empty
    uint32_t faceVertexCount = 0; // face indices (three per triangle) of this material
};

struct CModelBone {
    // PMD bone types used by the generator.
    static constexpr int TYPE_ROTATE = 0;
    static constexpr int TYPE_ROTATE_MOVE = 1;
    static constexpr int TYPE_IK = 2;
    static constexpr int TYPE_UNDER_IK = 4;
    static constexpr int TYPE_INVISIBLE = 7;

    // Fixed at creation: the model's name index relies on it.
    const NameId name;
    int32_t parent = -1; // bone index, -1 for none
    int32_t tail = 0;    // index of the bone the tip points to, 0 for none
    int32_t type = TYPE_ROTATE_MOVE;
    int32_t ikBone = 0; // written into the IK-parent field
    PMDFloat3 position;

    explicit CModelBone(NameId name) : name(name) {}
};

struct CModelIK {
    int32_t ikBone = 0; // bone index of the IK bone
    int32_t target = 0; // bone index of the bone pulled to it
    int32_t iterations = 0;
    float weight = 0;           // angle limit per iteration
    std::vector<int32_t> chain; // bone indices, from the target's parent upward
};

struct CModelMorphVertex {
    int32_t vertex = 0; // index into the model's vertices
    PMDFloat3 offset;   // displacement when the morph is fully applied
};

struct CModelMorph {
    // PMD morph categories. TYPE_BASE belongs to the morph the writer adds.
    static constexpr int TYPE_BASE = 0;
    static constexpr int TYPE_EYEBROW = 1;
    static constexpr int TYPE_EYE = 2;
    static constexpr int TYPE_LIP = 3;
    static constexpr int TYPE_OTHER = 4;

    NameId name = NameId::Empty;
    int32_t type = TYPE_OTHER;
    std::vector<CModelMorphVertex> vertices;
};

// A display frame of bones.
struct CModelBoneGroup {
    std::u16string name;
    // Bone indices in display order. An index outside the model's bones is
    // written as 0xFFFF.
    std::vector<int32_t> bones;
};

struct CRigidBody {
    static constexpr int SHAPE_SPHERE = 0;
    static constexpr int SHAPE_BOX = 1;
    static constexpr int SHAPE_CAPSULE = 2;
    static constexpr int MODE_FOLLOW_BONE = 0;
    static constexpr int MODE_PHYSICS = 1;
    static constexpr int MODE_PHYSICS_BONE_POSITION = 2;

    std::u16string name;
    int32_t bone = -1;
    int32_t group; // collision group, 0..15
    uint16_t mask; // groups it collides with
    int32_t shape = SHAPE_SPHERE;
    PMDFloat3 size; // width or radius, height, depth
    PMDFloat3 position;
    PMDFloat3 rotation; // radians
    float mass = 0;
    float linearDamping = 0;
    float angularDamping = 0;
    float restitution = 0;
    float friction = 0;
    int32_t mode = MODE_PHYSICS;

    // A body in group that collides with every group but its own.
    CRigidBody(std::u16string_view name, int32_t group);
};

struct CJoint {
    std::u16string name;
    int32_t bodyA = 0; // rigid body indices
    int32_t bodyB = 0;
    PMDFloat3 position;
    PMDFloat3 rotation;
    PMDFloat3 positionMin;
    PMDFloat3 positionMax;
    PMDFloat3 rotationMin{-0.15f, -0.15f, -0.15f};
    PMDFloat3 rotationMax{0.15f, 0.15f, 0.15f};
    PMDFloat3 springPosition;
    PMDFloat3 springRotation;

    explicit CJoint(std::u16string_view name) : name(name) {}
};

// 1 when one of the eight numbers of a vertex is an infinity or NaN (all
// its exponent bits set), else 0: no branch per number, since the vertices
// are most of a model.
inline uint32_t NonFinite(const CModelVertex& vertex) {
    constexpr uint32_t exponent = 0x7F800000u;
    uint32_t bad = 0;
    for (float v : {vertex.position.x, vertex.position.y, vertex.position.z, vertex.normal.x,
                    vertex.normal.y, vertex.normal.z, vertex.uv.x, vertex.uv.y})
        bad |= (std::bit_cast<uint32_t>(v) & exponent) == exponent;
    return bad;
}

// Whether the eight numbers of every vertex are finite.
bool AllFinite(std::span<const CModelVertex> vertices);

class CPMDModel {
public:
    // An empty model whose ten toon textures are the shared toon01.bmp to
    // toon10.bmp, which PMD readers map to their built-in toon images; every
    // material's toon index 0 refers to the first of them.
    CPMDModel();

    std::u16string name;
    std::u16string comment;
    std::vector<CModelVertex> vertices;
    // Vertex indices, three per triangle, grouped by material in material order.
    // Held at 32 bits so that one model can be written as PMD (16-bit indices,
    // which the vertex limit check guarantees) or as PMX (any vertex count).
    std::vector<uint32_t> faces;
    std::deque<CModelMaterial> materials;
    std::deque<CModelIK> iks;
    // The morphs without the "base" morph, which the writer adds.
    std::deque<CModelMorph> morphs;
    std::deque<CModelBoneGroup> boneGroups;
    std::array<std::u16string, 10> toonTextures;
    std::deque<CRigidBody> rigidBodies;
    std::deque<CJoint> joints;

    // Appends a bone named name (type 1, no parent, tail 0, at the origin).
    CModelBone& AddBone(std::u16string_view name);
    // The index of the first bone named name, or -1.
    int FindBone(std::u16string_view name) const;
    // The bone at index; throws std::out_of_range when there is none.
    CModelBone& Bone(int index);
    const CModelBone& Bone(int index) const;
    int BoneCount() const { return static_cast<int>(bones_.size()); }
    const std::deque<CModelBone>& Bones() const { return bones_; }

    CModelIK& AddIK(int ikBone, int target, int iterations, float weight);
    CModelMorph& AddMorph(std::u16string_view name, int type);
    CModelBoneGroup& AddBoneGroup(std::u16string_view name);
    CRigidBody& AddRigidBody(std::u16string_view name, int group);
    CJoint& AddJoint(std::u16string_view name);

    // Throws CModelLimitError (PMDLimits.h) when a count exceeds what its
    // field in the file can hold. Write calls it first.
    void CheckLimits() const;

    // Appends the whole file to archive. Everything that can fail is checked
    // before the first byte is appended: CModelLimitError for a count the
    // format cannot hold, std::out_of_range for a morph that moves a vertex
    // the model does not have.
    void Write(CArchiveWriter& archive) const;
    // Write in three pieces, for a file whose vertices are written while the
    // model is built: the header with the vertex count (HEAD_SIZE bytes),
    // vertices, VERTEX_SIZE bytes each, and the rest, which checks what
    // Write checks before its first byte.
    static constexpr size_t HEAD_SIZE = 287;
    static constexpr size_t VERTEX_SIZE = 38;
    void WriteHead(CArchiveWriter& archive, size_t vertexCount) const;
    // Returns whether every number of the range is finite (AllFinite),
    // found on the way.
    static bool WriteVertexRange(CArchiveWriter& archive, std::span<const CModelVertex> range);
    void WriteTail(CArchiveWriter& archive) const;
    // The bytes of the whole file, as Write makes them.
    std::vector<uint8_t> ToBytes() const;
    // The size of the buffer WriteFile and the generator serialise through.
    static constexpr size_t FILE_BUFFER_SIZE = size_t(1) << 16;

    // Writes the file atomically (WriteFileAtomically): on any failure the
    // previous file at path is left as it was. Throws what Write throws and
    // CArchiveException when the file cannot be written.
    void WriteFile(const std::string& path) const;

    struct BaseMorph; // the writer's list of the vertices morphs move

private:
    void WriteTail(CArchiveWriter& archive, const BaseMorph& base) const;

    std::deque<CModelBone> bones_;
    // Each bone name's first index in bones_.
    std::unordered_map<NameId, int> boneIndex_;
};
