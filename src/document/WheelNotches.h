#pragma once
// Wheel deltas (120 a notch) added up until they make whole notches, so that a
// touchpad's small deltas count too. Any delta is safe: the sum is taken wide
// and the remainder stays below one notch, with the sign of the deltas.

#include <cstdint>

class CWheelNotches {
public:
    static constexpr int Notch = 120;
    // The whole notches now complete (negative for negative deltas).
    int64_t Add(int delta) {
        const int64_t total = int64_t{remainder_} + delta;
        const int64_t notches = total / Notch; // toward zero
        remainder_ = static_cast<int>(total - notches * Notch);
        return notches;
    }
    void Reset() { remainder_ = 0; }

private:
    int remainder_ = 0;
};
