#pragma once

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
    bool busy();

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> task_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace quisk
