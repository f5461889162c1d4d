#pragma once
// The preview's orbit camera: a target point the model turns about, pitch
// and yaw (and a roll that stays 0), and the eye's distance from the target.
// The eye sits at (0, 0, −distance) looking along +z; the model is moved so
// that the target lies at the origin and is then turned, so dragging turns
// the model in front of a fixed eye. The mouse gestures of the view map onto
// the operations here.

#include <cstdint>
#include <unordered_map>

#include "document/WheelNotches.h"
#include "scene/Matrix4.h"

// A camera as remembered per subject; the field of view is not remembered.
struct CAMERA {
    Float3 target;
    float pitch = 0.0f;
    float yaw = 0.0f;
    float roll = 0.0f;
    float distance = 0.0f;
};

class COrbitCamera {
public:
    static constexpr Float3 DefaultTarget{0.0f, 10.0f, 0.0f};
    static constexpr float DefaultDistance = 50.0f;
    static constexpr float DefaultFieldOfView = 0.4712389f; // 27 degrees
    static constexpr float RadiansPerPixel = 0.017453292f;  // one degree
    static constexpr float PanPerPixel = 0.04f;
    static constexpr float DistancePerNotch = 2.0f;
    static constexpr int WheelNotch = CWheelNotches::Notch;
    static constexpr float NearZ = 1.0f;
    static constexpr float FarZ = 1000.0f;

    COrbitCamera() { Reset(); }

    // Target, angles, distance and field of view to their defaults.
    void Reset();
    // A drag of (dx, dy) pixels: one degree of yaw per pixel to the right,
    // one degree of pitch per pixel down; the roll becomes 0.
    void Rotate(int dx, int dy);
    // A drag of (dx, dy) pixels slides the target in the screen plane by
    // 0.04 model units per pixel, so the model follows the pointer.
    void Pan(int dx, int dy);
    // A wheel turn in eighths of a degree (120 a notch). Every whole notch
    // away from the user brings the eye 2 units closer; smaller steps (as
    // touchpads send) are added up until they make a notch. Returns whether
    // the distance changed.
    bool Wheel(int delta);
    // A preset view: the given angles, roll 0; target and distance stay.
    void SetAngles(float pitch, float yaw);

    CAMERA Get() const { return {target, pitch, yaw, roll, distance}; }
    void Set(const CAMERA& camera);

    // R = Rz(−roll) × Ry(−yaw) × Rx(−pitch).
    Matrix4 Rotation() const;
    // Translation by −target, then R.
    Matrix4 World() const;
    // From (0, 0, −distance) along +z, y up.
    Matrix4 View() const;
    // Perspective with the field of view, near 1, far 1000.
    Matrix4 Projection(float aspect) const;

    Float3 target;
    float pitch = 0.0f;
    float yaw = 0.0f;
    float roll = 0.0f;
    float distance = DefaultDistance;
    float fieldOfView = DefaultFieldOfView;

private:
    CWheelNotches wheel_;
};

// The cameras remembered per subject: the whole model (key null) and each
// part. Switching stores the camera of the subject shown so far and loads
// the one of the new subject, or resets the camera for a subject seen the
// first time.
class CCameraMemory {
public:
    void Select(COrbitCamera& camera, const void* subject);
    // Forgets every camera (a new or opened document).
    void Clear();
    bool Has(const void* subject) const { return cameras_.count(subject) != 0; }

private:
    std::unordered_map<const void*, CAMERA> cameras_;
    const void* shown_ = nullptr;
    bool hasShown_ = false;
};
