// The preview's frame rule: fast frames for changes, one smooth frame once
// the view has been still, smooth repaints when nothing changed.

#include <gtest/gtest.h>

#include "scene/FramePolicy.h"

namespace {

using namespace std::chrono_literals;
using Frame = CFramePolicy::Frame;
constexpr auto Delay = CFramePolicy::SmoothDelay;
const CFramePolicy::Time T0 = CFramePolicy::Time{} + 1000s;

// One frame begun and shown at the given time; its kind.
Frame Draw(CFramePolicy& policy, CFramePolicy::Time at) {
    const Frame frame = policy.BeginFrame();
    policy.EndFrame(at);
    return frame;
}

} // namespace

TEST(FramePolicyTest, AChangeIsDrawnFastThenSmoothOnceAfterTheDelay) {
    CFramePolicy policy;
    EXPECT_EQ(Frame::Smooth, Draw(policy, T0)) << "the first frame, nothing changed";
    EXPECT_FALSE(policy.UntilSmooth(T0));
    policy.Change(T0);
    EXPECT_FALSE(policy.UntilSmooth(T0)) << "the change waits for its fast frame first";
    EXPECT_EQ(Frame::Fast, Draw(policy, T0 + 5ms));
    ASSERT_TRUE(policy.UntilSmooth(T0 + 5ms));
    EXPECT_EQ(Delay, *policy.UntilSmooth(T0 + 5ms)) << "counted from the end of the fast frame";
    EXPECT_EQ(Delay - 50ms, *policy.UntilSmooth(T0 + 55ms));
    EXPECT_EQ(0ms, *policy.UntilSmooth(T0 + 5ms + Delay));
    EXPECT_EQ(0ms, *policy.UntilSmooth(T0 + 10s)) << "overdue is due, not negative";
    EXPECT_EQ(Frame::Smooth, Draw(policy, T0 + 5ms + Delay));
    EXPECT_FALSE(policy.SmoothPending());
    EXPECT_FALSE(policy.UntilSmooth(T0 + 10s)) << "only one smooth frame";
}

TEST(FramePolicyTest, ChangesDuringTheDelayPostponeTheSmoothFrame) {
    CFramePolicy policy;
    // A drag: a change every 16 ms, each answered by a fast frame.
    auto t = T0;
    for (int i = 0; i < 10; ++i, t += 16ms) {
        policy.Change(t);
        EXPECT_EQ(Frame::Fast, Draw(policy, t + 4ms));
        EXPECT_EQ(Delay, *policy.UntilSmooth(t + 4ms));
    }
    // Several changes before one frame: still one fast frame, then smooth
    // after the delay from the last.
    policy.Change(t);
    policy.Change(t + 50ms);
    EXPECT_EQ(Frame::Fast, Draw(policy, t + 51ms));
    EXPECT_EQ(Delay, *policy.UntilSmooth(t + 51ms));
    // A change timed before the fast frame ended does not move the wait
    // back.
    policy.Change(t + 40ms);
    EXPECT_EQ(Frame::Fast, Draw(policy, t + 45ms));
    EXPECT_EQ(Delay - 9ms, *policy.UntilSmooth(t + 60ms));
}

TEST(FramePolicyTest, ARepaintWithNothingChangedIsSmoothAndEndsTheWait) {
    CFramePolicy policy;
    policy.Change(T0);
    EXPECT_EQ(Frame::Fast, Draw(policy, T0));
    // An expose during the delay: nothing changed since the fast frame.
    EXPECT_EQ(Frame::Smooth, Draw(policy, T0 + 30ms));
    EXPECT_FALSE(policy.UntilSmooth(T0 + Delay));
    EXPECT_EQ(Frame::Smooth, Draw(policy, T0 + 1s)) << "repaints stay smooth";
}

TEST(FramePolicyTest, ASmoothFrameAskedForCoversAPendingChange) {
    CFramePolicy policy;
    policy.Change(T0);
    EXPECT_EQ(Frame::Smooth, policy.BeginFrame(true));
    policy.EndFrame(T0 + 30ms);
    EXPECT_FALSE(policy.SmoothPending());
    EXPECT_EQ(Frame::Smooth, Draw(policy, T0 + 40ms)) << "the change was drawn";
    // A change after it starts the cycle again.
    policy.Change(T0 + 50ms);
    EXPECT_EQ(Frame::Fast, Draw(policy, T0 + 60ms));
    EXPECT_TRUE(policy.SmoothPending());
}
