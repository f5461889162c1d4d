// IK records and morphs of CGenerator.

#include "generator/Generator.h"

#include "document/DotPart.h"
#include "document/TextCodec.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace {

// Ankles get a fixed, finer IK, whatever their range.
constexpr int ANKLE_IK_ITERATIONS = 40;
constexpr float ANKLE_IK_WEIGHT = 0.5f;

// Four iterations per chain level (in 64 bits: a range set through the API
// may be any int; the limit check refuses what the file cannot hold).
int RangeIterations(int32_t range) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{4} * range, INT32_MIN, INT32_MAX));
}

std::string Quoted(const std::u16string& name) { return "\"" + Utf16ToUtf8(name) + "\""; }

} // namespace

int CGenerator::RequireBone(const CPart& owner, const CPart& needed) {
    const int bone = model.FindBone(needed.name);
    if (bone >= 0)
        return bone;
    std::string message = "the IK " + Quoted(owner.ikName) + " of part " + Quoted(owner.name);
    if (&owner == &needed)
        message += " needs a bone of that part, but it has none (its bone kind gives it no bone)";
    else
        message += " needs a bone for part " + Quoted(needed.name) +
                   " in its chain, but that part has none (its bone kind gives it no bone)";
    throw CGeneratorError(message);
}

void CGenerator::CreateIKs() {
    const std::u16string leftAnkle = LoadString(IDS_LEFT_ANKLE);
    const std::u16string rightAnkle = LoadString(IDS_RIGHT_ANKLE);
    for (const PART_INFO& info : parts) {
        const CDotPart& part = *info.part;
        if (part.boneKind == BONE_HIDDEN || part.ikName.empty())
            continue;
        const int ikBone = model.BoneCount();
        CModelBone& bone = model.AddBone(part.ikName);
        bone.type = CModelBone::TYPE_IK;
        bone.position = {info.position[0], info.position[1], info.position[2]};

        const int target = RequireBone(part, part);
        model.Bone(target).type = CModelBone::TYPE_UNDER_IK;

        if (const CPart* ikParent = part.ikParent)
            model.Bone(ikBone).parent =
                model.FindBone(ikParent->ikName.empty() ? ikParent->name : ikParent->ikName);

        const bool ankle = part.name == leftAnkle || part.name == rightAnkle;
        CModelIK& ik = ankle ? model.AddIK(ikBone, target, ANKLE_IK_ITERATIONS, ANKLE_IK_WEIGHT)
                             : model.AddIK(ikBone, target, RangeIterations(part.ikRange), 1.0f);

        // The chain: ikRange ancestors from the parent up; hidden ones count
        // but are not linked.
        const CPart* ancestor = part.parent;
        for (int level = 0; level < part.ikRange && ancestor;
             ++level, ancestor = ancestor->parent) {
            if (ancestor->boneKind == BONE_HIDDEN)
                continue;
            const int link = RequireBone(part, *ancestor);
            model.Bone(link).type = CModelBone::TYPE_UNDER_IK;
            ik.chain.push_back(link);
        }
        model.boneGroups[static_cast<size_t>(ikGroup)].bones.push_back(ikBone);
    }
}

void CGenerator::CreateMorphs() {
    // morphOf[p]: the morph of the nearest part at or above part p that is a
    // morph part, or -1.
    std::vector<int> morphIndex(parts.size(), -1);
    for (size_t i = 0; i < parts.size(); ++i)
        if (parts[i].part->morph) {
            morphIndex[i] = static_cast<int>(model.morphs.size());
            model.AddMorph(parts[i].part->name, CModelMorph::TYPE_OTHER);
        }
    if (model.morphs.empty())
        return;
    std::vector<int> morphPart(parts.size(), -1);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].part->morph)
            morphPart[i] = static_cast<int>(i);
        else if (parts[i].parentIndex >= 0)
            morphPart[i] = morphPart[static_cast<size_t>(parts[i].parentIndex)];
    }

    // Part by part, in vertex order.
    for (size_t i = 0; i < parts.size(); ++i) {
        const int owner = morphPart[i];
        if (owner < 0)
            continue;
        const PART_INFO& info = parts[static_cast<size_t>(owner)];
        CModelMorph& morph =
            model.morphs[static_cast<size_t>(morphIndex[static_cast<size_t>(owner)])];
        for (size_t v = partVertexStart[i]; v < partVertexStart[i + 1]; ++v) {
            PMDFloat3& position = model.vertices[v].position;
            const PMDFloat3 d{info.position[0] - position.x, info.position[1] - position.y,
                              info.position[2] - position.z};
            if (info.part->linkedPart) {
                // Shown collapsed into its joint point; the morph unfolds it.
                position = {position.x + d.x, position.y + d.y, position.z + d.z};
                morph.vertices.push_back({static_cast<int32_t>(v), {-d.x, -d.y, -d.z}});
            } else {
                morph.vertices.push_back({static_cast<int32_t>(v), d});
            }
        }
    }

    // A morph with a linked part also folds the linked part (and everything
    // below it) into the linked part's joint point.
    std::unordered_map<const CPart*, size_t> indexOf;
    for (size_t i = 0; i < parts.size(); ++i)
        indexOf.emplace(parts[i].part, i);
    for (size_t m = 0; m < parts.size(); ++m) {
        const CPart* linked = parts[m].part->morph ? parts[m].part->linkedPart : nullptr;
        if (!linked)
            continue;
        const auto found = indexOf.find(linked);
        if (found == indexOf.end())
            continue; // not in the tree: it has no vertices
        const PART_INFO& target = parts[found->second];
        CModelMorph& morph = model.morphs[static_cast<size_t>(morphIndex[m])];
        // The subtree's parts follow each other, and so do their vertices.
        const size_t end = partVertexStart[static_cast<size_t>(target.subtreeEnd)];
        for (size_t v = partVertexStart[found->second]; v < end; ++v) {
            const PMDFloat3& position = model.vertices[v].position;
            morph.vertices.push_back(
                {static_cast<int32_t>(v),
                 {target.position[0] - position.x, target.position[1] - position.y,
                  target.position[2] - position.z}});
        }
    }
}
