// Reader and writer of the document file; the format and its history are
// described in DocumentFile.h. The flat-list layout of versions 512–767 has
// its own reader in FlatListFile.cpp.

#include "document/DocumentFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "document/Archive.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/FlatListFile.h"
#include "document/ReadRepairs.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {

constexpr int FirstFlatListVersion = 512;
constexpr int FirstTreeVersion = 768;
constexpr int FirstEdgeVersion = 769;

// trunc(value) as an int; NaN gives 0 and values beyond ±2^30 are clamped, so
// that the conversion and the sums made with the result are defined.
int TruncateToInt(float value) {
    constexpr float Limit = 1073741824.0f;
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -Limit, Limit));
}

// Before 785 the joint points of a scaled part were stored as if unscaled.
// A point scaled off the grid is put back on its edge.
void MigrateRates(CDotDocument& document, ReadNotes& notes) {
    for (CPart* part : document.CollectParts()) {
        if (!part->parent || part->rate == 1.0f)
            continue;
        auto& dotPart = static_cast<CDotPart&>(*part);
        for (int c = 0; c < 3; ++c) {
            const int p = dotPart.parentPosition[c];
            const float scaled = static_cast<float>(dotPart.bonePosition[c] - p) * part->rate;
            dotPart.bonePosition[c] =
                ClampMigratedPoint(p + TruncateToInt(scaled), part->name, notes);
        }
    }
}

// ikParent and linkedPart of every part from their ids: the first part in
// tree order with the id, none for id 0 or an id no part has. The same as
// resolving each part by a search of the tree, but with one index, so that a
// file of many parts that name missing ids reads in linear time.
void ResolveReferencesById(CDotDocument& document) {
    const std::vector<CPart*> parts = document.CollectParts();
    std::unordered_map<int, CPart*> firstWithId;
    for (CPart* part : parts)
        firstWithId.try_emplace(part->id, part);
    auto find = [&firstWithId](int id) -> CPart* {
        if (id == 0)
            return nullptr;
        auto found = firstWithId.find(id);
        return found == firstWithId.end() ? nullptr : found->second;
    };
    for (CPart* part : parts) {
        part->ikParent = find(part->ikParentId);
        part->linkedPart = find(part->linkedPartId);
    }
}

void ReadTree(CArchiveReader& archive, CDotDocument& document, int version, ReadNotes& notes) {
    ReadDocumentSettings(archive, document, version);
    if (version >= FirstEdgeVersion)
        document.edge = archive.ReadBool();
    const int count = archive.ReadU16();
    CGridBudget grids;
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<CDotPart> part = document.CreatePart(0, std::u16string());
        LoadPartRecord(*part, archive, version, 1, grids);
        document.InsertChild(-1, std::move(part));
    }
    ResolveReferencesById(document);
    if (version < DocumentFileVersion)
        MigrateRates(document, notes);
}

void ReadLegacy(CArchiveReader& archive, CDotDocument& document, int version) {
    std::vector<uint8_t> grid(GridDots);
    archive.ReadBytes(grid.data(), grid.size());
    for (uint8_t& dot : grid)
        dot &= DotIndexMask;
    document.dotSize = archive.ReadF32();
    for (CDotColor& color : document.colors)
        color.Read(archive, version);
    const std::array<int, 3> parentPosition = ReadJointPoint(archive, version);
    document.background = archive.ReadU32();
    document.modelPath = archive.ReadString();

    std::unique_ptr<CDotPart> part = document.CreatePart(1, LoadString(IDS_CENTER));
    part->boneKind = BONE_MOVE;
    part->parentPosition = parentPosition;
    part->SetDots(grid);
    document.InsertChild(-1, std::move(part));
}

// Moves the complete contents of a document that was read into target: the
// tree (its parts now belonging to target), the settings and the placement.
// target's undo list is emptied and its views stay attached.
void TakeOver(CDotDocument& read, CDotDocument& target) {
    target.DeleteContents();
    target.children = std::move(read.children);
    for (CPart* part : target.CollectParts())
        part->document = &target;
    target.dotSize = read.dotSize;
    target.colors = read.colors;
    target.background = read.background;
    target.modelPath = std::move(read.modelPath);
    target.edge = read.edge;
    target.modelOffset = read.modelOffset;
    target.currentPart = read.currentPart;
    target.markedPart = nullptr;
    read.currentPart = nullptr;
    target.SetModifiedFlag(false);
}

} // namespace

void ReadDocumentSettings(CArchiveReader& archive, CDotDocument& document, int version) {
    document.dotSize = archive.ReadF32();
    for (CDotColor& color : document.colors)
        color.Read(archive, version);
    document.background = archive.ReadU32();
    document.modelPath = archive.ReadString();
}

int ReadDocumentFile(std::span<const uint8_t> bytes, CDotDocument& document, ReadNotes* notes) {
    ReadNotes ignored;
    ReadNotes& told = notes ? *notes : ignored;
    CArchiveReader archive(bytes);
    CDotDocument read;
    read.edge = document.edge;
    const int version = archive.ReadU16();
    if (version < FirstFlatListVersion)
        ReadLegacy(archive, read, version);
    else if (version < FirstTreeVersion)
        ReadFlatList(archive, read, version);
    else
        ReadTree(archive, read, version, told);
    MakePartNamesUnique(read, told);
    DropIkParentCycles(read, told);
    read.OnDocumentLoaded();
    TakeOver(read, document);
    return version;
}

std::vector<uint8_t> WriteDocumentFile(const CDotDocument& document) {
    CArchiveWriter archive;
    archive.WriteU16(static_cast<uint16_t>(DocumentFileVersion));
    archive.WriteF32(document.dotSize);
    for (const CDotColor& color : document.colors)
        color.Write(archive);
    archive.WriteU32(document.background);
    archive.WriteString(document.modelPath);
    archive.WriteBool(document.edge);
    if (document.children.size() > 0xFFFF)
        throw CArchiveException("the document has more than 65535 top-level parts");
    // The reader refuses deeper nesting: never write a file that cannot open.
    for (const auto& part : document.children)
        if (SubtreeHeight(*part) > MaxPartDepth)
            throw CArchiveException("parts are nested more than " + std::to_string(MaxPartDepth) +
                                    " deep");
    archive.WriteU16(static_cast<uint16_t>(document.children.size()));
    for (const auto& part : document.children)
        part->Store(archive);
    return archive.Take();
}

void SaveDocumentFile(const CDotDocument& document, const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = WriteDocumentFile(document);
    } catch (const CArchiveException& e) {
        throw CArchiveException(path + ": " + e.what());
    } catch (const std::bad_alloc&) {
        throw CFileMemoryError(path + ": not enough memory to write the document");
    }
    WriteFileAtomically(path, bytes);
}

int LoadDocumentFile(const std::string& path, CDotDocument& document, ReadNotes* notes) {
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        try {
            return ReadDocumentFile(bytes, document, notes);
        } catch (const CArchiveException& e) {
            throw CArchiveException(path + ": " + e.what());
        }
    } catch (const CFileMemoryError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw CFileMemoryError(path + ": not enough memory to read the document");
    }
}
