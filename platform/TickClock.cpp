#include "platform/TickClock.h"

#include <atomic>
#include <ctime>

namespace zeko {
namespace {
std::atomic<TickSource*> source{nullptr};

uint32_t MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                 static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}
} // namespace

uint32_t GetTickCount() {
    TickSource* s = source.load();
    return s ? s->Now() : MonotonicMs();
}

uint32_t timeGetTime() { return GetTickCount(); }

void Sleep(uint32_t milliseconds) {
    timespec ts{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

void SetTickSource(TickSource* s) { source.store(s); }

} // namespace zeko
