#include "worker.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace quisk {
namespace {

using Clock = std::chrono::steady_clock;

// The longest a worker looks for its next task before it sleeps.
constexpr auto kMostSpin = std::chrono::microseconds(50);

void pauseBriefly() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

} // namespace

Worker::Worker() : thread_([this] { run(); }) {}

Worker::~Worker() {
    {
        std::unique_lock lock(mutex_);
        waitUntilIdle(lock);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Worker::post(std::function<void()> task) {
    {
        std::unique_lock lock(mutex_);
        waitUntilIdle(lock);
        task_ = std::move(task);
        busy_.store(true, std::memory_order_release);
    }
    changed_.notify_all();
}

void Worker::wait() {
    std::unique_lock lock(mutex_);
    waitUntilIdle(lock);
}

void Worker::waitUntilIdle(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return !busy_.load(std::memory_order_relaxed); });
}

bool Worker::busy() const { return busy_.load(std::memory_order_acquire); }

bool Worker::spinForTask(Clock::duration budget) const {
    const auto until = Clock::now() + budget;
    while (Clock::now() < until) {
        for (int i = 0; i < 32; ++i) {
            if (busy_.load(std::memory_order_acquire))
                return true;
            pauseBriefly();
        }
    }
    return false;
}

// Waits for the next task; false once the worker is to stop. A run hands
// its blocks over every few tens of microseconds, about what it takes to
// wake a sleeping thread (more in a virtual machine), so the worker first
// looks for the task for up to twice its last wait, within kMostSpin. After
// a long wait it goes to sleep at once: spinning would only burn the time.
bool Worker::awaitTask(std::unique_lock<std::mutex>& lock) {
    const auto start = Clock::now();
    if (spinBudget_ > Clock::duration::zero()) {
        lock.unlock();
        spinForTask(spinBudget_);
        lock.lock();
    }
    changed_.wait(lock, [this] { return busy_.load(std::memory_order_relaxed) || stopping_; });
    const auto waited = Clock::now() - start;
    spinBudget_ = waited < kMostSpin ? std::min<Clock::duration>(2 * waited, kMostSpin)
                                     : Clock::duration::zero();
    return busy_.load(std::memory_order_relaxed);
}

void Worker::run() {
    std::unique_lock lock(mutex_);
    while (awaitTask(lock)) {
        lock.unlock();
        task_();
        lock.lock();
        task_ = nullptr;
        busy_.store(false, std::memory_order_release);
        changed_.notify_all();
    }
}

} // namespace quisk
