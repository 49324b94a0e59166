#pragma once
// The class library's timer component: OnTimer runs in the main thread every
// Interval milliseconds while the timer is enabled, has an interval and has a
// handler. Changing the interval or enabling the timer starts the wait afresh, also
// from inside OnTimer.
//
// The ticks come from the program's timer service: one TimerHost per timer (a
// thread that hands each tick to the main thread) unless a test installs a clock it
// steps by hand (ManualTimerService).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zeko {

class TimerService {
public:
    // One periodic tick source; Start restarts it with a new period.
    class Ticker {
    public:
        virtual ~Ticker() = default;
        virtual void Start(uint32_t intervalMs) = 0;
        virtual void Stop() = 0;
    };

    virtual ~TimerService() = default;
    virtual std::unique_ptr<Ticker> CreateTicker(std::function<void()> onTick) = 0;
};

// The installed service; nullptr puts the thread-driven one back.
TimerService& Timers();
void SetTimerService(TimerService* service);

class TTimer {
public:
    TTimer();
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t value);  // 0 stops the ticks
    void SetOnTimer(std::function<void()> handler);

private:
    void Update();

    std::unique_ptr<TimerService::Ticker> ticker_;
    std::function<void()> onTimer_;
    bool enabled_ = true;
    uint32_t interval_ = 1000;
};

// Clicks a held control again and again: the first repeat `firstDelay` ms after
// Start, then one every `interval` ms, each only while `holding()` says the
// control is still held (a pointer slid off pauses the repeats). A click that
// throws stops the repeats and the exception passes on.
class TRepeatTimer {
public:
    void Start(uint32_t firstDelay, uint32_t interval, std::function<bool()> holding, std::function<void()> click);
    void Stop();  // the timer is kept for the next Start
    void Free();  // the timer is freed too
    bool Running() const { return timer_ && timer_->Enabled(); }

private:
    std::unique_ptr<TTimer> timer_;  // made on first use
};

// A clock for tests: time stands still until Advance moves it, running every tick
// that falls due on the way in the order of the due times.
class ManualTimerService : public TimerService {
public:
    ManualTimerService();
    ~ManualTimerService() override;
    std::unique_ptr<Ticker> CreateTicker(std::function<void()> onTick) override;

    uint32_t Now() const { return now_; }
    void Advance(uint32_t ms);
    // Tickers that are started (tests check that nothing is left ticking).
    int RunningCount() const;

private:
    class ManualTicker;
    std::vector<ManualTicker*> tickers_;
    uint32_t now_ = 0;
};

} // namespace zeko
