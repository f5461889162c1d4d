#include "rigging/Bone.h"

CPart::BONE GetBone(const CPart& part) {
    CPart::BONE bone;
    bone.name = part.name;
    bone.boneKind = part.boneKind;
    bone.morph = part.morph;
    bone.linkedPart = part.linkedPart;
    bone.angle = part.angle;
    bone.ikRange = part.ikRange;
    bone.ikName = part.ikName;
    bone.ikParent = part.ikParent;
    return bone;
}

void ApplyBone(CPart& part, const CPart::BONE& bone) {
    part.name = bone.name;
    part.boneKind = bone.boneKind;
    part.morph = bone.morph;
    part.SetLinkedPart(bone.linkedPart);
    part.angle = bone.angle;
    part.ikRange = bone.ikRange;
    part.ikName = bone.ikName;
    part.SetIkParent(bone.ikParent);
}
