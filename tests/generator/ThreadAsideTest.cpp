// Helper threads placed away from their creator's core: they run their work
// once and end up free to use every core the creator may.

#include "generator/ThreadAside.h"

#include <gtest/gtest.h>

#include <sched.h>

TEST(ThreadAside, RunsItsWorkAndGivesBackEveryCoreOfItsCreator) {
    cpu_set_t creator;
    ASSERT_EQ(::sched_getaffinity(0, sizeof creator, &creator), 0);
    // Also from a thread that may use only some cores: the helper takes
    // back those, not more.
    for (int restricted = 0; restricted < 2; ++restricted) {
        SCOPED_TRACE(restricted);
        std::thread outer([&] {
            cpu_set_t allowed = creator;
            if (restricted && CPU_COUNT(&creator) > 2) {
                for (int c = 0, kept = 0; c < CPU_SETSIZE; ++c)
                    if (CPU_ISSET(c, &allowed) && ++kept > 2)
                        CPU_CLR(c, &allowed);
                ASSERT_EQ(::sched_setaffinity(0, sizeof allowed, &allowed), 0);
            }
            int runs = 0;
            cpu_set_t seen;
            CPU_ZERO(&seen);
            std::thread helper = StartThreadAside([&] {
                ++runs;
                ::sched_getaffinity(0, sizeof seen, &seen);
            });
            helper.join();
            EXPECT_EQ(runs, 1);
            EXPECT_TRUE(CPU_EQUAL(&seen, &allowed));
        });
        outer.join();
    }
}
