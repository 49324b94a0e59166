#pragma once
// The millisecond tick counters: unsigned 32-bit milliseconds of the monotonic
// clock, wrapping after 49.7 days; compare them only by unsigned subtraction.
#include <atomic>
#include <cstdint>

namespace zeko {

uint32_t GetTickCount();
uint32_t timeGetTime();  // the same clock; the name the direction-switch waits use

// Milliseconds from `since` to `now`, correct across a wrap of the counter.
inline uint32_t TicksBetween(uint32_t since, uint32_t now) { return now - since; }

void Sleep(uint32_t milliseconds);

// Sleeps, without keeping a processor busy, until more than `microseconds` have
// passed on the monotonic clock since `since` (a reading of MonotonicMicroseconds);
// at once when they have passed already. The thread's timer slack is taken down
// first, so the wake-up comes within some tens of microseconds of the deadline: the
// bus direction guards of the serial line rely on it.
uint64_t MonotonicMicroseconds();
void SleepPast(uint64_t since, uint32_t microseconds);
// Sleeps in the same way until the real tick counter reads `tick` (less than 24
// days ahead); at once when it has already.
void SleepUntilTick(uint32_t tick);

// Tests replace the clock with one they step by hand; nullptr restores the real one.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual uint32_t Now() = 0;
};
void SetTickSource(TickSource* source);
// True while a test's clock stands in for the real one: a wait for a tick must then
// look at the clock often, as it moves only when the test steps it.
bool TickSourceReplaced();

// A timer or port thread may read it while the test steps it.
class ManualTickSource : public TickSource {
public:
    explicit ManualTickSource(uint32_t start = 0) : now_(start) {}
    uint32_t Now() override { return now_.load(); }
    void Advance(uint32_t ms) { now_.fetch_add(ms); }
    void Set(uint32_t ms) { now_.store(ms); }

private:
    std::atomic<uint32_t> now_;
};

} // namespace zeko
