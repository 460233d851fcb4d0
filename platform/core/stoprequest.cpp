#include "platform/core/stoprequest.h"

#include <atomic>

namespace {
std::atomic<int> requests{0};
static_assert(std::atomic<int>::is_always_lock_free, "counted in a signal handler");
} // namespace

void CountStopRequest() {
    requests.fetch_add(1, std::memory_order_relaxed);
}

int StopRequests() {
    return requests.load(std::memory_order_relaxed);
}
