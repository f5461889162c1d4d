#pragma once
// Inverse trigonometry that gives the same bits on every build. The C
// library's atan2 and asin differ by an ulp between its 32-bit x86 code (x87
// instructions) and its 64-bit code, so rigid-body angles in model files
// would differ. These use only IEEE double addition, multiplication, division
// and square root, which SSE2 rounds identically everywhere, and round the
// result to float once: within an ulp of the true value, usually exact.

// The angle of (x, y) in [−π, π], with the C library's rules for zeros,
// infinities and NaN.
float PortableAtan2(float y, float x);

// The arc sine in [−π/2, π/2]; NaN outside [−1, 1].
float PortableAsin(float v);
