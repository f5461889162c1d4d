#include "document/PhysicsProperty.h"

#include "document/DotPart.h"
#include "document/OptionalRecord.h"

namespace {

template <class T>
bool RecordDiffers(const T* a, const T* b) {
    if (!a || !b)
        return a != b;
    return !(*a == *b);
}

} // namespace

CPhysicsProperty::CPhysicsProperty(const RIGID_BODY_PARAMS* body, const JOINT_PARAMS* link)
    : rigidBody(CopyRecord(body)), joint(CopyRecord(link)) {}

CPhysicsProperty::CPhysicsProperty(const CPhysicsProperty& other)
    : CPhysicsProperty(other.rigidBody.get(), other.joint.get()) {}

CPhysicsProperty& CPhysicsProperty::operator=(const CPhysicsProperty& other) {
    if (this != &other) {
        rigidBody = CopyRecord(other.rigidBody.get());
        joint = CopyRecord(other.joint.get());
    }
    return *this;
}

CPhysicsProperty CPhysicsProperty::Of(const CDotPart& part) {
    return CPhysicsProperty(part.rigidBody.get(), part.joint.get());
}

void CPhysicsProperty::ApplyTo(CDotPart& part) const {
    AssignRecord(part.rigidBody, rigidBody.get());
    AssignRecord(part.joint, joint.get());
}

bool RigidBodyDiffers(const RIGID_BODY_PARAMS* a, const RIGID_BODY_PARAMS* b) {
    return RecordDiffers(a, b);
}

bool JointDiffers(const JOINT_PARAMS* a, const JOINT_PARAMS* b) { return RecordDiffers(a, b); }
