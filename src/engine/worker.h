#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quisk {

// A second thread that runs one task at a time: a run uses one to write
// finished blocks, so that the disk copy overlaps the formatting, and the
// check one to look at half of each block of lines.
class Worker {
public:
    Worker();
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Waits until the previous task is done, then starts this one.
    void post(std::function<void()> task);
    // Waits until the current task, if any, is done.
    void wait();
    // Whether a task is running: posting now would wait for it.
    bool busy() const;

private:
    void run();
    void waitUntilIdle(std::unique_lock<std::mutex>& lock);
    bool awaitTask(std::unique_lock<std::mutex>& lock);
    bool spinForTask(std::chrono::steady_clock::duration budget) const;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> task_;
    // Set under the mutex; read without it by busy() and while spinning.
    std::atomic<bool> busy_{false};
    bool stopping_ = false;
    std::chrono::steady_clock::duration spinBudget_{}; // the worker thread's own
    std::thread thread_;
};

} // namespace quisk
