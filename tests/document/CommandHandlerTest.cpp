// A target's handler table: one entry answers both running a command and
// describing it, a run of ids shares one entry, and a command the target
// does not take now is left to the next target in both cases alike.

#include <gtest/gtest.h>

#include <vector>

#include "document/CommandTarget.h"

namespace {

struct Counter {
    int value = 0;
    int limit = 3;
    std::vector<unsigned> ran;
};

using Handler = CCommandHandler<Counter>;

constexpr unsigned Increment = 10;
constexpr unsigned FirstSlot = 20; // 20 … 23
constexpr unsigned Reset = 30;

constexpr Handler Handlers[] = {
    {.id = Increment,
     .run = [](Counter& c, unsigned) { ++c.value; },
     .update = [](const Counter& c, unsigned,
                  CCommandState& state) { state.enabled = c.value < c.limit; }},
    {.id = FirstSlot,
     .count = 4,
     .takes = [](const Counter& c,
                 unsigned id) { return static_cast<int>(id - FirstSlot) < c.limit; },
     .run = [](Counter& c, unsigned id) { c.ran.push_back(id); },
     .update =
         [](const Counter& c, unsigned id, CCommandState& state) {
             state.checked = c.value == static_cast<int>(id - FirstSlot);
         }},
    {.id = Reset, .run = [](Counter& c, unsigned) { c.value = 0; }},
};

bool RunOn(Counter& c, unsigned id) { return RunCommand<Counter>(Handlers, c, id); }
bool UpdateOn(const Counter& c, unsigned id, CCommandState& state) {
    return UpdateCommand<Counter>(Handlers, c, id, state);
}

TEST(CommandHandlerTest, OneEntryRunsAndDescribesItsCommand) {
    Counter c;
    CCommandState state;
    ASSERT_TRUE(UpdateOn(c, Increment, state));
    EXPECT_TRUE(state.enabled);
    c.limit = 0;
    ASSERT_TRUE(UpdateOn(c, Increment, state));
    EXPECT_FALSE(state.enabled);
    EXPECT_TRUE(RunOn(c, Increment)) << "the state does not stop a direct run";
    EXPECT_EQ(c.value, 1);

    // An entry without a state function is enabled, even in a state that was
    // used before.
    state.enabled = false;
    ASSERT_TRUE(UpdateOn(c, Reset, state));
    EXPECT_TRUE(state.enabled);
    EXPECT_TRUE(RunOn(c, Reset));
    EXPECT_EQ(c.value, 0);
}

TEST(CommandHandlerTest, ARunOfIdsSharesAnEntryAndDeclinedIdsPassOn) {
    Counter c;
    c.value = 2;
    for (unsigned id = FirstSlot; id < FirstSlot + 3; ++id) {
        CCommandState state;
        ASSERT_TRUE(UpdateOn(c, id, state)) << id;
        EXPECT_EQ(state.checked, id == FirstSlot + 2) << id;
        EXPECT_TRUE(RunOn(c, id)) << id;
    }
    EXPECT_EQ(c.ran, (std::vector<unsigned>{20, 21, 22}));

    // Slot 23 is in the run but not taken now: neither run nor described.
    CCommandState state;
    EXPECT_FALSE(RunOn(c, FirstSlot + 3));
    EXPECT_FALSE(UpdateOn(c, FirstSlot + 3, state));
    EXPECT_EQ(c.ran.size(), 3u);
    // Ids next to the run and unknown ids are not handled.
    EXPECT_FALSE(RunOn(c, FirstSlot - 1));
    EXPECT_FALSE(RunOn(c, FirstSlot + 4));
    EXPECT_FALSE(UpdateOn(c, 0, state));
}

} // namespace
