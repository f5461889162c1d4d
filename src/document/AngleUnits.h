#pragma once
// The factors between the radians a part stores and the degrees the dialogs
// show. They are single-precision constants, not π/180 computed anew, so that
// a value shown and stored again gives the same bits as before.

inline constexpr float DegreesPerRadian = 57.295776f;
inline constexpr float RadiansPerDegree = 0.017453292f;

inline float ToDegrees(float radians) { return radians * DegreesPerRadian; }
inline float ToRadians(float degrees) { return degrees * RadiansPerDegree; }
