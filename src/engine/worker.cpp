#include "worker.h"

namespace quisk {

Worker::Worker() : thread_([this] { run(); }) {}

Worker::~Worker() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Worker::post(std::function<void()> task) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        task_ = std::move(task);
        busy_ = true;
    }
    changed_.notify_all();
}

void Worker::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
}

bool Worker::busy() {
    std::lock_guard lock(mutex_);
    return busy_;
}

void Worker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_)
            return;
        lock.unlock();
        task_();
        lock.lock();
        task_ = nullptr;
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace quisk
