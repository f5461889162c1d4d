#include "generator/PMDLimits.h"

#include "document/TextCodec.h"
#include "generator/PMDModel.h"

std::string FormatCount(size_t count) {
    std::string digits = std::to_string(count);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

CModelLimitError::CModelLimitError(const std::string& subject, const std::string& items,
                                   size_t count, size_t maximum, const std::string& format)
    : std::runtime_error(subject + " has " + FormatCount(count) + " " + items + ", " +
                         FormatCount(count - maximum) + " more than the " + FormatCount(maximum) +
                         " a " + format + " file can hold"),
      items_(items), format_(format), count_(count), maximum_(maximum) {}

namespace {

void Check(const std::string& subject, const char* items, size_t count, size_t maximum) {
    if (count > maximum)
        throw CModelLimitError(subject, items, count, maximum);
}

// "the IK record of bone "左足ＩＫ"", or of its number when its bone is unknown.
std::string IKSubject(const CPMDModel& model, size_t index, const char* what) {
    int bone = model.iks[index].ikBone;
    if (bone >= 0 && bone < model.BoneCount())
        return std::string("the ") + what + " of bone \"" +
               Utf16ToUtf8(NameText(model.Bone(bone).name)) + "\"";
    return std::string("the ") + what + " of IK record " + std::to_string(index);
}

} // namespace

void CPMDModel::CheckLimits() const {
    const std::string model = "the model";
    Check(model, "vertices", vertices.size(), kPMDMaxVertices);
    Check(model, "bones", bones_.size(), kPMDMaxBones);
    Check(model, "IK records", iks.size(), kPMDMaxIKs);
    Check(model, "morphs", morphs.size(), kPMDMaxMorphs);
    Check(model, "bone groups", boneGroups.size(), kPMDMaxBoneGroups);
    for (size_t i = 0; i < iks.size(); ++i) {
        const CModelIK& ik = iks[i];
        if (ik.chain.size() > kPMDMaxIKChain)
            Check(IKSubject(*this, i, "IK chain"), "links", ik.chain.size(), kPMDMaxIKChain);
        if (ik.iterations > 0 && static_cast<size_t>(ik.iterations) > kPMDMaxIKIterations)
            Check(IKSubject(*this, i, "IK record"), "iterations",
                  static_cast<size_t>(ik.iterations), kPMDMaxIKIterations);
    }
}
