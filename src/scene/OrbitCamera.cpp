#include "scene/OrbitCamera.h"

void COrbitCamera::Reset() {
    target = DefaultTarget;
    pitch = yaw = roll = 0.0f;
    distance = DefaultDistance;
    fieldOfView = DefaultFieldOfView;
    wheel_.Reset();
}

void COrbitCamera::Rotate(int dx, int dy) {
    pitch += static_cast<float>(dy) * RadiansPerPixel;
    yaw += static_cast<float>(dx) * RadiansPerPixel;
    roll = 0.0f;
}

void COrbitCamera::Pan(int dx, int dy) {
    const Matrix4 m = World() * View();
    Float3 p = TransformCoord(target, m);
    p.x -= PanPerPixel * static_cast<float>(dx);
    p.y += PanPerPixel * static_cast<float>(dy);
    target = TransformCoord(p, m.Inverse());
}

bool COrbitCamera::Wheel(int delta) {
    const int64_t notches = wheel_.Add(delta);
    if (notches == 0)
        return false;
    distance -= DistancePerNotch * static_cast<float>(notches);
    return true;
}

void COrbitCamera::SetAngles(float newPitch, float newYaw) {
    pitch = newPitch;
    yaw = newYaw;
    roll = 0.0f;
}

void COrbitCamera::Set(const CAMERA& camera) {
    target = camera.target;
    pitch = camera.pitch;
    yaw = camera.yaw;
    roll = camera.roll;
    distance = camera.distance;
    wheel_.Reset();
}

Matrix4 COrbitCamera::Rotation() const {
    return Matrix4::RotationZ(-roll) * Matrix4::RotationY(-yaw) * Matrix4::RotationX(-pitch);
}

Matrix4 COrbitCamera::World() const { return Matrix4::Translation(Float3{} - target) * Rotation(); }

Matrix4 COrbitCamera::View() const {
    return Matrix4::LookTo({0.0f, 0.0f, -distance}, {0.0f, 0.0f, 100.0f}, {0.0f, 1.0f, 0.0f});
}

Matrix4 COrbitCamera::Projection(float aspect) const {
    return Matrix4::Perspective(fieldOfView, aspect > 0.0f ? aspect : 1.0f, NearZ, FarZ);
}

void CCameraMemory::Select(COrbitCamera& camera, const void* subject) {
    if (hasShown_) {
        auto shown = cameras_.find(shown_);
        if (shown != cameras_.end())
            shown->second = camera.Get();
    }
    shown_ = subject;
    hasShown_ = true;
    auto found = cameras_.find(subject);
    if (found != cameras_.end()) {
        camera.Set(found->second);
        return;
    }
    camera.Reset();
    cameras_.emplace(subject, camera.Get());
}

void CCameraMemory::Clear() {
    cameras_.clear();
    hasShown_ = false;
    shown_ = nullptr;
}
