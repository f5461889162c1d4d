#pragma once
// Test-only reader of PMX 2.0 files: parses what the writer produces (UTF-16
// texts, no additional UVs, BDEF1 and BDEF2 weights, vertex morphs, bone
// IK blocks) back into plain records, with the index widths of the header.
// Anything else (other weights, morph kinds, joint kinds) is an error.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct PMXContents {
    using Float3 = std::array<float, 3>;

    struct VERTEX {
        Float3 position, normal;
        std::array<float, 2> uv;
        uint8_t deform; // 0 BDEF1, 1 BDEF2
        int32_t bone0, bone1;
        float weight; // of bone0
        float edgeScale;
    };
    struct MATERIAL {
        std::u16string name;
        std::array<float, 4> diffuse;
        Float3 specular;
        float power;
        Float3 ambient;
        uint8_t flags;
        std::array<float, 4> edgeColour;
        float edgeSize;
        int32_t texture, sphere;
        uint8_t sphereMode, sharedToon;
        int32_t toon; // the shared toon number or a texture index
        uint32_t faceVertexCount;
    };
    struct IK_LINK {
        int32_t bone;
        bool limited;
        Float3 min, max;
    };
    struct BONE {
        std::u16string name;
        Float3 position;
        int32_t parent, layer;
        uint16_t flags;
        int32_t tail;
        // With the IK flag:
        int32_t ikTarget = -1, ikLoops = 0;
        float ikLimit = 0;
        std::vector<IK_LINK> ikLinks;
    };
    struct MORPH_OFFSET {
        uint32_t vertex;
        Float3 offset;
    };
    struct MORPH {
        std::u16string name;
        uint8_t panel;
        std::vector<MORPH_OFFSET> offsets;
    };
    struct FRAME_ENTRY {
        uint8_t kind; // 0 bone, 1 morph
        int32_t index;
    };
    struct FRAME {
        std::u16string name, englishName;
        uint8_t special;
        std::vector<FRAME_ENTRY> entries;
    };
    struct RIGID_BODY {
        std::u16string name;
        int32_t bone;
        uint8_t group;
        uint16_t mask;
        uint8_t shape;
        Float3 size, position, rotation;
        float mass, linearDamping, angularDamping, restitution, friction;
        uint8_t mode;
    };
    struct JOINT {
        std::u16string name;
        uint8_t kind;
        int32_t bodyA, bodyB;
        Float3 position, rotation, positionMin, positionMax, rotationMin, rotationMax,
            springPosition, springRotation;
    };

    float version;
    std::array<uint8_t, 8> settings; // encoding, UVs, then the six index widths
    std::u16string name, englishName, comment, englishComment;
    std::vector<VERTEX> vertices;
    std::vector<uint32_t> faces;
    std::vector<std::u16string> textures;
    std::vector<MATERIAL> materials;
    std::vector<BONE> bones;
    std::vector<MORPH> morphs;
    std::vector<FRAME> frames;
    std::vector<RIGID_BODY> rigidBodies;
    std::vector<JOINT> joints;
};

// Parses a whole file. Throws CArchiveException when the data is cut short,
// does not start with "PMX " 2.0, uses what the writer never writes, refers
// to a record that does not exist, or has bytes left over.
PMXContents ReadPMX(std::span<const uint8_t> bytes);
