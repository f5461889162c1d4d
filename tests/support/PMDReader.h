#pragma once
// Test-only reader of PMD 1.0 files: parses every section of a written model
// back into plain records, so tests can check what a file holds without
// counting byte offsets. Text fields are kept as their raw fixed-width bytes;
// PMDText decodes one.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct PMDContents {
    using Float3 = std::array<float, 3>;

    struct VERTEX {
        Float3 position, normal;
        std::array<float, 2> uv;
        uint16_t bone0, bone1;
        uint8_t weight, edge;
    };
    struct MATERIAL {
        std::array<float, 4> diffuse; // red, green, blue, alpha
        float power;
        Float3 specular, ambient;
        uint8_t toonIndex, edge;
        uint32_t faceVertexCount;
        std::string texture; // 20 bytes
    };
    struct BONE {
        std::string name; // 20 bytes
        uint16_t parent, tail;
        uint8_t type;
        uint16_t ikBone;
        Float3 position;
    };
    struct IK {
        uint16_t ikBone, target, iterations;
        float weight;
        std::vector<uint16_t> chain;
    };
    struct MORPH_VERTEX {
        uint32_t vertex; // a vertex index in the base morph, a base position in the others
        Float3 offset;   // a position in the base morph, an offset in the others
    };
    struct MORPH {
        std::string name; // 20 bytes
        uint8_t type;
        std::vector<MORPH_VERTEX> vertices;
    };
    struct GROUP_ENTRY {
        uint16_t bone;
        uint8_t group; // 1-based
    };
    struct RIGID_BODY {
        std::string name; // 20 bytes
        uint16_t bone;
        uint8_t group;
        uint16_t mask;
        uint8_t shape;
        Float3 size, position, rotation;
        float mass, linearDamping, angularDamping, restitution, friction;
        uint8_t mode;
    };
    struct JOINT {
        std::string name; // 20 bytes
        uint32_t bodyA, bodyB;
        Float3 position, rotation, positionMin, positionMax, rotationMin, rotationMax,
            springPosition, springRotation;
    };

    float version;
    std::string name;    // 20 bytes
    std::string comment; // 256 bytes
    std::vector<VERTEX> vertices;
    std::vector<uint16_t> faces;
    std::vector<MATERIAL> materials;
    std::vector<BONE> bones;
    std::vector<IK> iks;
    std::vector<MORPH> morphs; // the "base" morph first when there are any
    std::vector<uint16_t> morphDisplay;
    std::vector<std::string> groupNames; // 50 bytes each
    std::vector<GROUP_ENTRY> groupEntries;
    uint8_t englishFlag;
    std::array<std::string, 10> toonTextures; // 100 bytes each
    std::vector<RIGID_BODY> rigidBodies;
    std::vector<JOINT> joints;
};

// Parses a whole file. Throws CArchiveException when the data is cut short,
// does not start with "Pmd", has an English block, or has bytes left over.
PMDContents ReadPMD(std::span<const uint8_t> bytes);

// The text of a fixed-width field: its bytes up to the first zero, decoded
// from code page 932.
std::u16string PMDText(std::string_view field);
