// The flat-list layout of document files 512–767: bone entries that name
// their parents by id, then grids that name their parts through joint
// records. The tree is built from the parent ids; a grid goes to the part of
// its shallowest record, or to a new child of that part when the part already
// has a grid from this file.
//
// The data is hostile: parent ids may form cycles or long chains, and ids and
// names may repeat. Cycles are cut, depth is bounded by MaxPartDepth, and the
// lookups that the grid entries repeat (part by id, free id, unique name) use
// indexes built here, so that the work stays proportional to the file.

#include "document/FlatListFile.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/RunLength.h"

namespace {

constexpr int FirstIkParentIdVersion = 528;
constexpr int FirstBoneKindVersion = 560;
constexpr int TopLevel = -1; // parent index of a top-level entry
constexpr int Dropped = -2;  // parent index of an entry left out of the tree

struct BONE_ENTRY {
    std::unique_ptr<CDotPart> owned; // until the part enters the tree
    CDotPart* part = nullptr;
    int parent = Dropped; // index of the parent entry, TopLevel or Dropped
    int depth = 0;        // 1 at the top level; −1 when dropped
};

BONE_ENTRY ReadBoneEntry(CArchiveReader& archive, CDotDocument& document, int version) {
    std::u16string name = archive.ReadString();
    const int id = archive.ReadU16();
    BONE_ENTRY entry;
    entry.owned = document.CreatePart(id, std::move(name));
    CDotPart& part = *entry.owned;
    entry.part = &part;
    part.parentId = archive.ReadU16();
    const uint8_t flags = archive.ReadU8();
    if (version >= FirstBoneKindVersion) {
        part.boneKind = flags & 0x03;
        part.morph = (flags & 0x10) ? 1 : 0;
    } else {
        part.boneKind = flags ? BONE_MOVE : BONE_ROTATE;
    }
    for (float& a : part.angle)
        a = archive.ReadF32();
    part.ikRange = archive.ReadU16();
    part.ikName = archive.ReadString();
    if (version >= FirstIkParentIdVersion)
        part.ikParentId = archive.ReadU16();
    part.bonePosition = {-1, -1, -1}; // not known until a grid entry names it
    return entry;
}

// The root of x's set, with path compression (iterative).
int FindRoot(std::vector<int>& sets, int x) {
    int root = x;
    while (sets[root] != root)
        root = sets[root];
    while (sets[x] != root) {
        const int next = sets[x];
        sets[x] = root;
        x = next;
    }
    return root;
}

// Links every entry to the first entry (in file order) with its parent id,
// then puts the entries that hang from the top level into the tree in file
// order. An entry whose parent id matches no entry, or whose parent lies
// below it (a cycle), is left out with everything below it.
void BuildTree(std::vector<BONE_ENTRY>& entries, CDotDocument& document) {
    const int count = static_cast<int>(entries.size());
    std::unordered_map<int, int> firstWithId;
    for (int i = 0; i < count; ++i)
        firstWithId.try_emplace(entries[i].part->id, i);

    // Entry i is still a root of the forest when its turn comes, so linking
    // it under t makes a cycle exactly when t's root is i.
    std::vector<int> sets(entries.size());
    for (int i = 0; i < count; ++i)
        sets[i] = i;
    for (int i = 0; i < count; ++i) {
        BONE_ENTRY& entry = entries[i];
        if (entry.part->parentId == 0) {
            entry.parent = TopLevel;
            continue;
        }
        auto found = firstWithId.find(entry.part->parentId);
        if (found == firstWithId.end() || FindRoot(sets, found->second) == i)
            continue; // stays Dropped
        entry.parent = found->second;
        sets[i] = found->second;
    }

    // Depths along each chain, resolved once per entry.
    std::vector<int> chain;
    for (int i = 0; i < count; ++i) {
        chain.clear();
        int x = i;
        int depth = 0;
        for (;;) {
            if (entries[x].depth != 0) {
                depth = entries[x].depth;
                break;
            }
            chain.push_back(x);
            if (entries[x].parent == TopLevel)
                break;
            if (entries[x].parent == Dropped) {
                depth = -1;
                break;
            }
            x = entries[x].parent;
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            entries[*it].depth = depth < 0 ? -1 : ++depth;
        if (depth > MaxPartDepth)
            throw CArchiveException("parts are nested more than " + std::to_string(MaxPartDepth) +
                                    " deep");
    }

    for (BONE_ENTRY& entry : entries) {
        if (entry.depth < 0)
            continue;
        CPartParent& holder = entry.parent == TopLevel ? static_cast<CPartParent&>(document)
                                                       : *entries[entry.parent].part;
        holder.InsertChild(-1, std::move(entry.owned));
    }
}

// IK parents of the parts in the tree: before 528 the parent when it has an
// IK name; from 528 the first entry in the tree with the IK parent id (0
// means none, even when some entry has the id 0).
void ResolveIkParents(std::vector<BONE_ENTRY>& entries, int version) {
    std::unordered_map<int, CDotPart*> firstWithId;
    for (const BONE_ENTRY& entry : entries)
        if (entry.depth > 0)
            firstWithId.try_emplace(entry.part->id, entry.part);
    for (BONE_ENTRY& entry : entries) {
        if (entry.depth <= 0)
            continue;
        CDotPart& part = *entry.part;
        if (version < FirstIkParentIdVersion) {
            part.SetIkParent(part.parent && !part.parent->ikName.empty() ? part.parent : nullptr);
        } else {
            auto found =
                part.ikParentId != 0 ? firstWithId.find(part.ikParentId) : firstWithId.end();
            part.ikParent = found != firstWithId.end() ? found->second : nullptr;
        }
    }
}

// The tree lookups the grid entries need, kept up to date as parts are added:
// the first part in tree order with an id, the depth of a part, the smallest
// free id and unique names. Parts are only ever added, as leaves, so depths
// stay valid and the free id and the next number tried for a name never go
// down.
class CPartIndex {
public:
    explicit CPartIndex(const CDotDocument& document) {
        for (CPart* part : document.CollectParts()) // parents before children
            Add(static_cast<CDotPart&>(*part));
    }

    void Add(CDotPart& part) {
        byId_.try_emplace(part.id, &part);
        names_.insert(part.name);
        depths_[&part] = part.parent ? Depth(part.parent) + 1 : 1;
    }
    CDotPart* FindById(int id) const {
        auto found = byId_.find(id);
        return found == byId_.end() ? nullptr : found->second;
    }
    // 1 at the top level.
    int Depth(const CPart* part) const { return depths_.at(part); }
    int FreeId() {
        while (byId_.contains(nextFreeId_))
            ++nextFreeId_;
        if (nextFreeId_ > MaxPartId)
            throw CArchiveException("a grid needs a part of its own, but every part id is taken");
        return nextFreeId_;
    }
    // The base itself when unused, otherwise the base followed by the first
    // number from 1 up that gives an unused name.
    std::u16string UniqueName(const std::u16string& base) {
        if (!names_.contains(base))
            return base;
        int& n = nextNumber_.try_emplace(base, 1).first->second;
        for (;; ++n) {
            std::u16string name = base;
            for (char c : std::to_string(n))
                name += static_cast<char16_t>(c);
            if (!names_.contains(name))
                return name;
        }
    }

private:
    std::unordered_map<int, CDotPart*> byId_;
    std::unordered_map<const CPart*, int> depths_;
    std::unordered_set<std::u16string> names_;
    std::unordered_map<std::u16string, int> nextNumber_;
    int nextFreeId_ = 1;
};

struct JOINT_RECORD {
    CDotPart* part = nullptr;
    std::array<int, 3> point{};
    int depth = INT_MAX; // of part; null parts sort last
};

// Reads one grid entry and gives its grid and joint points to the parts.
void ReadGridEntry(CArchiveReader& archive, CDotDocument& document, int version, CPartIndex& index,
                   std::unordered_set<const CDotPart*>& withGrid, std::vector<uint8_t>& grid,
                   CGridBudget& grids) {
    const std::u16string name = archive.ReadString();
    ReadRunLengthDots(archive, std::span<uint8_t, RLE_GRID_SIZE>(grid.data(), RLE_GRID_SIZE));
    const size_t count = archive.ReadU16();
    archive.Require(count * 5, "joint records");
    std::vector<JOINT_RECORD> records(count);
    for (JOINT_RECORD& record : records) {
        record.part = index.FindById(archive.ReadU16());
        record.point = ReadJointPoint(archive, version);
        if (record.part)
            record.depth = index.Depth(record.part);
    }
    // Ancestors before their descendants (by depth: a strict order that any
    // sort accepts, unlike the partial ancestry order itself).
    std::stable_sort(
        records.begin(), records.end(),
        [](const JOINT_RECORD& a, const JOINT_RECORD& b) { return a.depth < b.depth; });

    CDotPart* receiver = nullptr;
    if (records.empty() || !records.front().part) {
        // A grid that names no part becomes a hidden part of its own.
        std::unique_ptr<CDotPart> part =
            document.CreatePart(index.FreeId(), index.UniqueName(name));
        part->boneKind = BONE_HIDDEN;
        receiver = part.get();
        document.InsertChild(-1, std::move(part));
        index.Add(*receiver);
    } else {
        CDotPart* root = records.front().part;
        receiver = root;
        if (withGrid.contains(root)) {
            if (records.front().depth >= MaxPartDepth)
                throw CArchiveException("parts are nested more than " +
                                        std::to_string(MaxPartDepth) + " deep at byte " +
                                        std::to_string(archive.Position()));
            std::unique_ptr<CDotPart> part =
                document.CreatePart(index.FreeId(), index.UniqueName(name));
            part->parentId = root->id;
            part->boneKind = root->boneKind;
            part->bonePosition = records.front().point;
            receiver = part.get();
            root->InsertChild(-1, std::move(part));
            index.Add(*receiver);
        }
        receiver->parentPosition = records.front().point;
        for (size_t i = 1; i < records.size(); ++i)
            if (records[i].part)
                records[i].part->bonePosition = records[i].point;
    }
    withGrid.insert(receiver);
    receiver->SetDots(grid);
    if (receiver->HasDots())
        grids.Take();
}

// Joint points no grid entry gave: the origin at the top level, the parent's
// own joint point below it.
void FillUnknownJointPoints(CDotDocument& document) {
    for (CPart* part : document.CollectParts()) {
        auto& dotPart = static_cast<CDotPart&>(*part);
        const auto& point = dotPart.bonePosition;
        if (std::none_of(point.begin(), point.end(), [](int c) { return c < 0; }))
            continue;
        if (part->parent)
            dotPart.bonePosition = static_cast<const CDotPart&>(*part->parent).parentPosition;
        else
            dotPart.bonePosition = {0, 0, 0};
    }
}

} // namespace

void ReadFlatList(CArchiveReader& archive, CDotDocument& document, int version) {
    ReadDocumentSettings(archive, document, version);

    const int boneCount = archive.ReadU16();
    std::vector<BONE_ENTRY> entries;
    for (int i = 0; i < boneCount; ++i)
        entries.push_back(ReadBoneEntry(archive, document, version));
    BuildTree(entries, document);
    ResolveIkParents(entries, version);
    entries.clear(); // parts left out of the tree go now

    CPartIndex index(document);
    std::unordered_set<const CDotPart*> withGrid;
    std::vector<uint8_t> grid(GridDots);
    CGridBudget grids;
    const int gridCount = archive.ReadU16();
    for (int i = 0; i < gridCount; ++i)
        ReadGridEntry(archive, document, version, index, withGrid, grid, grids);

    FillUnknownJointPoints(document);
}
