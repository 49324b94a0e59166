#pragma once
// A periodic timer whose ticks run in the main thread, the stand-in for the timer
// of a hidden window. A thread of its own waits the interval and hands each tick to
// MainThread().Post, so the ticks arrive through the program's event loop (or the
// pumped queue of a test) between other work. At most one tick is waiting at a
// time: a main thread that falls behind gets one late tick, not a pile of them.
// After Stop (or the destructor) returns no further tick runs, also none that was
// already posted.
#include <cstdint>
#include <functional>
#include <memory>

namespace zeko {

class TimerHost {
public:
    explicit TimerHost(std::function<void()> onTick);
    ~TimerHost();
    TimerHost(const TimerHost&) = delete;
    TimerHost& operator=(const TimerHost&) = delete;

    // Starts (or restarts) the ticks every `intervalMs` (at least 1) milliseconds.
    // Start and Stop belong to the main thread; both may be called from a tick.
    void Start(uint32_t intervalMs);
    void Stop();
    bool Running() const;
    uint32_t Interval() const { return interval_; }

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::function<void()> onTick_;
    uint32_t interval_ = 0;
};

} // namespace zeko
