#include "signal_cleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace quisk {
namespace {

// The handler may run on any thread at any moment, so the registry is a
// fixed table: a slot is claimed, its path copied in, and only then marked
// active; the handler reads active slots only.
struct Slot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> active{false};
    char path[PATH_MAX] = {};
};

static_assert(std::atomic<bool>::is_always_lock_free, "read from a signal handler");

constexpr int kSlots = 16;
Slot slots[kSlots];

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeAndReraise(int signal) {
    for (Slot& slot : slots)
        if (slot.active.load(std::memory_order_acquire))
            ::unlink(slot.path);
    // The signal is blocked while its handler runs: it is delivered with the
    // default action, ending the program, as soon as the handler returns.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    ::sigemptyset(&dfl.sa_mask);
    ::sigaction(signal, &dfl, nullptr);
    ::raise(signal);
}

} // namespace

void removeTemporariesOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeAndReraise;
    ::sigfillset(&action.sa_mask);
    for (int signal : kSignals) {
        struct sigaction previous {};
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

int registerTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (!slots[i].claimed.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
        slots[i].active.store(true, std::memory_order_release);
        return i;
    }
    return -1;
}

void forgetTemporary(int slot) {
    if (slot < 0 || slot >= kSlots)
        return;
    slots[slot].active.store(false, std::memory_order_release);
    slots[slot].claimed.store(false, std::memory_order_release);
}

} // namespace quisk
