#pragma once
// A timer whose ticks are timed by a thread of its own, so they keep their rhythm
// while the main thread is busy; each tick runs OnTimer in the main thread through
// MainThread().Synchronize, with the timer as the hand-over's owner, and the thread
// waits for the handler before it times the next tick. The last 50 ms before a due
// time are waited out in steps of a millisecond, so ticks come within about a
// millisecond of their due time.
//
// Every property and event is used from the main thread. Destroying the timer ends
// its thread: a hand-over still waiting is cancelled (its handler never runs), also
// when the timer is destroyed from inside its own OnTimer.
#include <cstdint>
#include <functional>
#include <memory>

namespace zeko {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TSuperTimer {
public:
    using TNotifyEvent = std::function<void(TSuperTimer& Sender)>;

    TSuperTimer();
    ~TSuperTimer();
    TSuperTimer(const TSuperTimer&) = delete;
    TSuperTimer& operator=(const TSuperTimer&) = delete;

    bool Enabled() const;
    // Enabling starts the running time from ElapsedTime and times the first tick one
    // Interval from now. A timer with Interval 0 stays disabled.
    void SetEnabled(bool value);
    uint16_t Interval() const;
    // Milliseconds between ticks, from the next tick on; 0 disables the timer.
    void SetInterval(uint16_t value);
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority value);
    bool CountDown() const;
    void SetCountDown(bool value);

    // Running time in ms (counted up from 0, or the time left when counting down),
    // as of the last tick.
    int32_t ElapsedTime() const;
    void SetElapsedTime(int32_t value);
    // Ticks after which the timer stops itself; -1 = no limit.
    int32_t TickLimit() const;
    void SetTickLimit(int32_t value);
    // ElapsedTime div Interval (0 while Interval is 0).
    int32_t TickCount() const;

    TNotifyEvent OnTimer;  // each tick, in the main thread
    TNotifyEvent OnStop;   // when the timer stops itself (tick limit or count-down end)

    struct State;  // shared with the timer thread

private:
    void Tick(uint64_t generation);
    // Runs an event in the main thread; false when the timer was destroyed by it.
    bool RunHandler(const TNotifyEvent& event);

    std::shared_ptr<State> state_;
    class TTimerThread;
    std::unique_ptr<TTimerThread> thread_;
    int32_t tickLimit_ = -1;
    bool inHandler_ = false;
};

} // namespace zeko
