#pragma once
// What kind of frame the preview draws, and when. A frame caused by a change
// (the camera moved, the scene or the size changed) is drawn fast: single-
// sampled, straight into the window, so that a drag, a wheel zoom or an edit
// is answered at once. When nothing has changed for SmoothDelay, one smooth
// (multisampled) frame is drawn; a repaint with nothing changed, such as an
// expose, is smooth at once.
//
// The delay counts from the later of the last change and the end of the last
// fast frame, so a fast frame that takes long does not leave the smooth one
// due the moment it is shown. Times are passed in, so the rule runs without
// a display or a real clock.

#include <chrono>
#include <optional>

class CFramePolicy {
public:
    using Clock = std::chrono::steady_clock;
    using Time = Clock::time_point;

    // Longer than the gap between the events of one gesture (mouse moves
    // come every 8–16 ms, the notches of a turned wheel and a key's
    // auto-repeat some 30–100 ms apart), so that no smooth frame, several
    // times as costly as a fast one, slips in mid-gesture and holds up the
    // next answer; short enough that the picture sharpens as soon as the
    // hand stops.
    static constexpr std::chrono::milliseconds SmoothDelay{120};

    enum class Frame { Fast, Smooth };

    // Something shown changed at now: the next frame is fast, and the smooth
    // frame waits until SmoothDelay after this.
    void Change(Time now);
    // The kind of frame to draw now. A smooth frame (one with nothing
    // changed, or one asked for) ends the wait for it.
    Frame BeginFrame(bool smoothAsked = false);
    // The frame begun last was shown at now.
    void EndFrame(Time now);

    // Whether a smooth frame is still to come.
    bool SmoothPending() const { return smoothPending_; }
    // Time left until the smooth frame is due (zero once it is due);
    // nothing when none is pending or a change still waits for its fast
    // frame (the wait starts when that frame ends).
    std::optional<Clock::duration> UntilSmooth(Time now) const;

private:
    Time still_{};
    bool changed_ = false;
    bool smoothPending_ = false;
    bool fastFrame_ = false;
};
