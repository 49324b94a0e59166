#include "platform/TickClock.h"

#include <atomic>
#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

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

uint64_t MonotonicMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void SleepPast(uint64_t since, uint32_t microseconds) {
    // The default slack of 50 us would let each guard run that much long.
    thread_local const bool tightened = [] { return prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0; }();
    (void)tightened;
    // One microsecond past the mark: "more than", as the guards are specified.
    const uint64_t deadline = since + microseconds + 1;
    const timespec at{static_cast<time_t>(deadline / 1000000u), static_cast<long>(deadline % 1000000u) * 1000L};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

void SleepUntilTick(uint32_t tick) {
    const uint64_t now = MonotonicMicroseconds();
    const auto ahead = static_cast<int32_t>(tick - static_cast<uint32_t>(now / 1000u));
    if (ahead > 0)
        SleepPast((now / 1000u + static_cast<uint64_t>(ahead)) * 1000u - 1u, 0);
}

void SetTickSource(TickSource* s) { source.store(s); }

bool TickSourceReplaced() { return source.load() != nullptr; }

} // namespace zeko
