#include "engine/worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace quisk {
namespace {

using namespace std::chrono_literals;

// Tasks are handed over both at once (the worker is still looking for the
// next one) and after pauses long enough for it to sleep. Either way each
// runs once, in order, and sees what the tasks before it wrote: the vector
// is not guarded by anything but the hand-over.
TEST(Worker, RunsEveryTaskInOrderWhetherPostedAtOnceOrAfterAPause) {
    std::vector<int> done;
    {
        Worker worker;
        for (int i = 0; i < 2000; ++i) {
            if (i % 100 == 0)
                std::this_thread::sleep_for(2ms);
            worker.post([&done, i] { done.push_back(i); });
        }
        worker.wait();
        ASSERT_EQ(done.size(), 2000u);
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(done[static_cast<std::size_t>(i)], i);
    }
}

TEST(Worker, IsBusyFromThePostUntilItsTaskHasFinished) {
    Worker worker;
    EXPECT_FALSE(worker.busy());
    std::atomic<bool> release{false};
    worker.post([&release] {
        while (!release.load())
            std::this_thread::yield();
    });
    EXPECT_TRUE(worker.busy());
    std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(worker.busy());
    release = true;
    worker.wait();
    EXPECT_FALSE(worker.busy());
}

// Going out of scope just after a task, while the worker may still be
// looking for the next one, finishes the task and stops the thread.
TEST(Worker, StopsAfterItsLastTaskWhenDestroyedRightAway) {
    for (int round = 0; round < 200; ++round) {
        int ran = 0;
        {
            Worker worker;
            worker.post([&ran] { ++ran; });
            worker.post([&ran] { ++ran; });
        }
        ASSERT_EQ(ran, 2);
    }
}

} // namespace
} // namespace quisk
