#include "generator/PMDModel.h"

#include <bit>
#include <stdexcept>
#include <utility>

CRigidBody::CRigidBody(std::u16string_view name, int32_t group)
    : name(name), group(group), mask(0xFFFF) {
    if (group >= 0 && group < 16)
        mask = static_cast<uint16_t>(mask & ~(1u << group));
}

CPMDModel::CPMDModel() {
    for (size_t i = 0; i < toonTextures.size(); ++i) {
        size_t n = i + 1;
        toonTextures[i] = u"toon";
        toonTextures[i] += static_cast<char16_t>(u'0' + n / 10);
        toonTextures[i] += static_cast<char16_t>(u'0' + n % 10);
        toonTextures[i] += u".bmp";
    }
}

CModelBone& CPMDModel::AddBone(std::u16string_view name) {
    NameId id = ToNameId(name);
    boneIndex_.try_emplace(id, BoneCount());
    return bones_.emplace_back(id);
}

int CPMDModel::FindBone(std::u16string_view name) const {
    // A text that was never entered cannot name a bone.
    std::optional<NameId> id = FindNameId(name);
    if (!id)
        return -1;
    auto found = boneIndex_.find(*id);
    return found == boneIndex_.end() ? -1 : found->second;
}

CModelBone& CPMDModel::Bone(int index) {
    return const_cast<CModelBone&>(std::as_const(*this).Bone(index));
}

const CModelBone& CPMDModel::Bone(int index) const {
    if (index < 0 || index >= BoneCount())
        throw std::out_of_range("bone index " + std::to_string(index) + " outside the " +
                                std::to_string(BoneCount()) + " bones of the model");
    return bones_[static_cast<size_t>(index)];
}

CModelIK& CPMDModel::AddIK(int ikBone, int target, int iterations, float weight) {
    CModelIK& ik = iks.emplace_back();
    ik.ikBone = ikBone;
    ik.target = target;
    ik.iterations = iterations;
    ik.weight = weight;
    return ik;
}

CModelMorph& CPMDModel::AddMorph(std::u16string_view name, int type) {
    CModelMorph& morph = morphs.emplace_back();
    morph.name = ToNameId(name);
    morph.type = type;
    return morph;
}

CModelBoneGroup& CPMDModel::AddBoneGroup(std::u16string_view name) {
    CModelBoneGroup& group = boneGroups.emplace_back();
    group.name = name;
    return group;
}

CRigidBody& CPMDModel::AddRigidBody(std::u16string_view name, int group) {
    return rigidBodies.emplace_back(name, group);
}

CJoint& CPMDModel::AddJoint(std::u16string_view name) { return joints.emplace_back(name); }

bool AllFinite(std::span<const CModelVertex> vertices) {
    uint32_t bad = 0;
    for (const CModelVertex& vertex : vertices)
        bad |= NonFinite(vertex);
    return bad == 0;
}
