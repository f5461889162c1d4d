#include "generator/ThreadAside.h"

#include <atomic>
#include <memory>
#include <pthread.h>
#include <sched.h>

std::thread StartThreadAside(std::function<void()> work) {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const bool known = ::sched_getaffinity(0, sizeof allowed, &allowed) == 0;
    // The new thread waits until it has been moved, so that it cannot give
    // itself every core back before the move and then be held to the others.
    auto placed = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([work = std::move(work), allowed, known, placed] {
        placed->wait(false);
        if (known)
            ::sched_setaffinity(0, sizeof allowed, &allowed);
        work();
    });
    const int here = ::sched_getcpu();
    if (known && here >= 0 && here < CPU_SETSIZE && CPU_ISSET(here, &allowed) &&
        CPU_COUNT(&allowed) > 1) {
        cpu_set_t elsewhere = allowed;
        CPU_CLR(here, &elsewhere);
        ::pthread_setaffinity_np(thread.native_handle(), sizeof elsewhere, &elsewhere);
    }
    placed->store(true, std::memory_order_release);
    placed->notify_one();
    return thread;
}
