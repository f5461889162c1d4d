#pragma once
// Document files of every version and layout, built byte by byte for tests
// (there are no outside sample files). Used by the core and the CLI tests.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "document/Archive.h"

namespace test {

// Palette entry i (1–31) of the files built here: a colour that differs per
// entry, alpha 0.25 (written from 560) and the material flag on odd entries
// (written from 528).
inline uint32_t PaletteColor(int i) {
    return static_cast<uint32_t>(i | (2 * i) << 8 | (3 * i) << 16);
}
inline bool PaletteMaterial(int i) { return i % 2 == 1; }
constexpr float PaletteAlpha = 0.25f;

inline void PutPalette(CArchiveWriter& w, int version) {
    for (int i = 1; i <= 31; ++i) {
        w.WriteU32(PaletteColor(i));
        if (version >= 560)
            w.WriteF32(PaletteAlpha);
        if (version >= 528)
            w.WriteBool(PaletteMaterial(i));
    }
}

inline void PutTriple(CArchiveWriter& w, const std::array<int, 3>& p) {
    for (int c : p)
        w.WriteU8(static_cast<uint8_t>(c));
}

// A grid whose dots all have value (runs of 256).
inline void PutFilledGrid(CArchiveWriter& w, uint8_t value) {
    for (int i = 0; i < 128; ++i) {
        w.WriteU8(0);
        w.WriteU8(value);
    }
}

// A grid with only the dot at index 0 set to value.
inline void PutOneDotGrid(CArchiveWriter& w, uint8_t value) {
    w.WriteU8(1);
    w.WriteU8(value);
    for (int i = 0; i < 127; ++i) {
        w.WriteU8(0);
        w.WriteU8(0);
    }
    w.WriteU8(255);
    w.WriteU8(0);
}

struct SETTINGS_BYTES {
    float dotSize = 0.75f;
    uint32_t background = 0x00123456;
    std::u16string modelPath = u"C:\\モデル\\a.pmd";
};

inline void PutSettings(CArchiveWriter& w, int version, const SETTINGS_BYTES& s) {
    w.WriteF32(s.dotSize);
    PutPalette(w, version);
    w.WriteU32(s.background);
    w.WriteString(s.modelPath);
}

// One part record of the tree layout (768 and later).
struct TREE_PART {
    std::u16string name = u"part";
    int id = 1;
    int parentId = 0;
    int flags = 0x80 | 1; // no dots, BONE_MOVE
    std::array<float, 3> angle{0.0f, 0.0f, 0.0f};
    int ikRange = 0;
    std::u16string ikName;
    int ikParentId = 0;
    std::array<int, 3> bone{32, 32, 32};
    std::array<int, 3> own{32, 32, 32};
    int dotValue = 0; // the grid is filled with it when flag bit 7 is clear
    float rate = 1.0f;
    std::vector<float> rigidBody; // written when flag bit 2 is set (5 values)
    std::vector<float> joint;     // written when flag bit 3 is set (18 values)
    std::vector<TREE_PART> children;
    int linkedPartId = 0;
};

inline void PutTreePart(CArchiveWriter& w, const TREE_PART& p, int version) {
    w.WriteString(p.name);
    w.WriteU16(static_cast<uint16_t>(p.id));
    w.WriteU16(static_cast<uint16_t>(p.parentId));
    w.WriteU8(static_cast<uint8_t>(p.flags));
    for (float a : p.angle)
        w.WriteF32(a);
    w.WriteU16(static_cast<uint16_t>(p.ikRange));
    w.WriteString(p.ikName);
    w.WriteU16(static_cast<uint16_t>(p.ikParentId));
    PutTriple(w, p.bone);
    PutTriple(w, p.own);
    if (!(p.flags & 0x80))
        PutFilledGrid(w, static_cast<uint8_t>(p.dotValue));
    w.WriteF32(p.rate);
    if (p.flags & 0x04)
        for (float v : p.rigidBody)
            w.WriteF32(v);
    if (p.flags & 0x08)
        for (float v : p.joint)
            w.WriteF32(v);
    w.WriteU16(static_cast<uint16_t>(p.children.size()));
    for (const TREE_PART& child : p.children)
        PutTreePart(w, child, version);
    if (version >= 769)
        w.WriteU16(static_cast<uint16_t>(p.linkedPartId));
}

inline std::vector<uint8_t> TreeFile(int version, const std::vector<TREE_PART>& parts,
                                     bool edge = false, const SETTINGS_BYTES& settings = {}) {
    CArchiveWriter w;
    w.WriteU16(static_cast<uint16_t>(version));
    PutSettings(w, version, settings);
    if (version >= 769)
        w.WriteBool(edge);
    w.WriteU16(static_cast<uint16_t>(parts.size()));
    for (const TREE_PART& part : parts)
        PutTreePart(w, part, version);
    return w.Take();
}

// The flat-list layout (512–767).
struct BONE_BYTES {
    BONE_BYTES(std::u16string name_, int id_, int parentId_ = 0, int flags_ = 0)
        : name(std::move(name_)), id(id_), parentId(parentId_), flags(flags_) {}

    std::u16string name;
    int id = 1;
    int parentId = 0;
    int flags = 0;
    std::array<float, 3> angle{0.0f, 0.0f, 0.0f};
    int ikRange = 0;
    std::u16string ikName;
    int ikParentId = 0; // written from 528
};

struct GRID_BYTES {
    std::u16string name;
    uint8_t dotValue = 1; // the dot at index 0 has it, the rest is empty
    std::vector<std::pair<int, std::array<int, 3>>> records; // part id, joint point
};

inline std::vector<uint8_t> FlatFile(int version, const std::vector<BONE_BYTES>& bones,
                                     const std::vector<GRID_BYTES>& grids,
                                     const SETTINGS_BYTES& settings = {}) {
    CArchiveWriter w;
    w.WriteU16(static_cast<uint16_t>(version));
    PutSettings(w, version, settings);
    w.WriteU16(static_cast<uint16_t>(bones.size()));
    for (const BONE_BYTES& b : bones) {
        w.WriteString(b.name);
        w.WriteU16(static_cast<uint16_t>(b.id));
        w.WriteU16(static_cast<uint16_t>(b.parentId));
        w.WriteU8(static_cast<uint8_t>(b.flags));
        for (float a : b.angle)
            w.WriteF32(a);
        w.WriteU16(static_cast<uint16_t>(b.ikRange));
        w.WriteString(b.ikName);
        if (version >= 528)
            w.WriteU16(static_cast<uint16_t>(b.ikParentId));
    }
    w.WriteU16(static_cast<uint16_t>(grids.size()));
    for (const GRID_BYTES& g : grids) {
        w.WriteString(g.name);
        PutOneDotGrid(w, g.dotValue);
        w.WriteU16(static_cast<uint16_t>(g.records.size()));
        for (const auto& [id, point] : g.records) {
            w.WriteU16(static_cast<uint16_t>(id));
            PutTriple(w, point);
        }
    }
    return w.Take();
}

// The legacy single-part layout (below 512): every dot at index i has the
// value (i % 7) | 0xE0 (the high bits must be dropped on reading).
inline std::vector<uint8_t> LegacyFile(int version, const std::array<int, 3>& joint,
                                       const SETTINGS_BYTES& settings = {}) {
    CArchiveWriter w;
    w.WriteU16(static_cast<uint16_t>(version));
    for (int i = 0; i < 32768; ++i)
        w.WriteU8(static_cast<uint8_t>((i % 7) | 0xE0));
    w.WriteF32(settings.dotSize);
    for (int i = 1; i <= 31; ++i)
        w.WriteU32(PaletteColor(i));
    PutTriple(w, joint);
    w.WriteU32(settings.background);
    w.WriteString(settings.modelPath);
    return w.Take();
}

} // namespace test
