#include "scene/FramePolicy.h"

#include <algorithm>

void CFramePolicy::Change(Time now) {
    changed_ = true;
    smoothPending_ = true;
    still_ = std::max(still_, now);
}

CFramePolicy::Frame CFramePolicy::BeginFrame(bool smoothAsked) {
    fastFrame_ = changed_ && !smoothAsked;
    changed_ = false;
    if (fastFrame_)
        return Frame::Fast;
    smoothPending_ = false;
    return Frame::Smooth;
}

void CFramePolicy::EndFrame(Time now) {
    if (fastFrame_)
        still_ = std::max(still_, now);
}

std::optional<CFramePolicy::Clock::duration> CFramePolicy::UntilSmooth(Time now) const {
    // A change not drawn yet gets its fast frame first, whose end starts
    // the wait.
    if (!smoothPending_ || changed_)
        return std::nullopt;
    return std::max(Clock::duration::zero(), still_ + SmoothDelay - now);
}
