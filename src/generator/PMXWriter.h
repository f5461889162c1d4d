#pragma once
// The generator's model (CPMDModel) written as a PMX 2.0 file instead of a
// PMD one: the same records, with UTF-16 names that are never cut and
// indices as wide as the counts need, so a model of any vertex count fits.
//
// How the PMD records become PMX records:
//   vertices    BDEF1 for a vertex moved by one bone, BDEF2 otherwise; edge
//               scale 0 when the PMD vertex's edge flag (edge off) is set, else 1
//   faces       as they are
//   textures    the file names that the materials' texture and sphere paths end in
//   materials   named "材質1", "材質2", …; colours as in PMD; ground shadow,
//               self shadow and edge drawn when the PMD edge flag is set;
//               black edge of size 1; toon index n → shared toon n (10 or more: none)
//   bones       the PMD type becomes flags (below); tail as a bone index
//               (PMD's 0 or −1 for none become −1); an IK record becomes the
//               IK block of its IK bone, with the per-iteration limit 4 × the
//               PMD weight (radians) and, for links whose bone name contains
//               "ひざ", the knee limit that PMD readers apply on their own
//   morphs      vertex morphs; PMD offsets are relative to the base morph,
//               whose positions are the vertices' own, so they carry over as
//               offsets from the vertex position
//   frames      "Root" with the first bone, "表情" with every morph, then
//               the bone groups (entries naming no bone are left out)
//   bodies      the position becomes absolute: the PMD position is relative
//               to the body's bone
//   joints      6-DOF springs with the PMD values

#include "generator/PMDModel.h"

#include <cstdint>
#include <string>
#include <vector>

// Counts and indices of a PMX file are signed 32-bit at their widest.
inline constexpr size_t kPMXMaxCount = 0x7FFFFFFF;

// The IK limits of knee links, in radians: bending backwards only, up to a
// straight leg less half a degree.
inline constexpr float kPMXKneeMinX = -3.14159265f;
inline constexpr float kPMXKneeMaxX = -0.00872664626f;

// PMX bone flags the writer sets.
enum : uint16_t {
    PMX_BONE_TAIL_IS_BONE = 0x0001,
    PMX_BONE_ROTATE = 0x0002,
    PMX_BONE_MOVE = 0x0004,
    PMX_BONE_VISIBLE = 0x0008,
    PMX_BONE_ENABLED = 0x0010,
    PMX_BONE_IK = 0x0020,
};

// The flags of a bone of the given PMD type (without PMX_BONE_IK, which
// only a bone carrying an IK record gets).
uint16_t PMXBoneFlags(int pmdType);

// The width in bytes (1, 2 or 4) of an index into count records: vertex
// indices are unsigned at 1 and 2 bytes, all other indices signed (−1 is none).
uint8_t PMXVertexIndexSize(size_t count);
uint8_t PMXIndexSize(size_t count);

// Throws CModelLimitError when a count exceeds what a PMX file can hold.
void CheckPMXLimits(const CPMDModel& model);

// The bytes of the whole file. Throws CModelLimitError (CheckPMXLimits),
// std::out_of_range for a record that refers to a vertex, bone, body or
// texture the model does not have, and std::invalid_argument for a model
// PMX cannot express (two IK records on one bone, material face counts that
// do not add up to the faces).
std::vector<uint8_t> PMXBytes(const CPMDModel& model);

// Writes the file atomically (WriteFileAtomically), like CPMDModel::WriteFile:
// on any failure the previous file at path is left as it was.
void WritePMXFile(const CPMDModel& model, const std::string& path);
