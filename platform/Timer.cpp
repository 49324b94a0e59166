#include "platform/Timer.h"

#include "platform/TimerHost.h"

#include <algorithm>

namespace zeko {

namespace {

class HostTicker : public TimerService::Ticker {
public:
    explicit HostTicker(std::function<void()> onTick) : host_(std::move(onTick)) {}
    void Start(uint32_t intervalMs) override { host_.Start(intervalMs); }
    void Stop() override { host_.Stop(); }

private:
    TimerHost host_;
};

class HostTimerService : public TimerService {
public:
    std::unique_ptr<Ticker> CreateTicker(std::function<void()> onTick) override {
        return std::make_unique<HostTicker>(std::move(onTick));
    }
};

TimerService* installed = nullptr;

} // namespace

TimerService& Timers() {
    static HostTimerService threads;
    return installed ? *installed : threads;
}

void SetTimerService(TimerService* service) { installed = service; }

// ---------------------------------------------------------------- TTimer

TTimer::TTimer() = default;

TTimer::~TTimer() {
    if (ticker_)
        ticker_->Stop();
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    Update();
}

void TTimer::SetInterval(uint32_t value) {
    if (value == interval_)
        return;
    interval_ = value;
    Update();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update() {
    const bool ticking = enabled_ && interval_ > 0 && onTimer_;
    if (!ticking) {
        if (ticker_)
            ticker_->Stop();
        return;
    }
    if (!ticker_)
        ticker_ = Timers().CreateTicker([this] {
            // A copy: the handler may replace itself or stop the timer.
            if (std::function<void()> handler = onTimer_)
                handler();
        });
    ticker_->Start(interval_);
}

// ---------------------------------------------------------------- TRepeatTimer

void TRepeatTimer::Start(uint32_t firstDelay, uint32_t interval, std::function<bool()> holding,
                         std::function<void()> click) {
    if (!timer_)
        timer_ = std::make_unique<TTimer>();
    timer_->SetEnabled(false);
    timer_->SetInterval(firstDelay);
    timer_->SetOnTimer([this, interval, holding = std::move(holding), click = std::move(click)] {
        timer_->SetInterval(interval);
        if (!holding())
            return;
        try {
            click();
        } catch (...) {
            Stop();
            throw;
        }
    });
    timer_->SetEnabled(true);
}

void TRepeatTimer::Stop() {
    if (timer_)
        timer_->SetEnabled(false);
}

void TRepeatTimer::Free() { timer_.reset(); }

// ---------------------------------------------------------------- ManualTimerService

class ManualTimerService::ManualTicker : public TimerService::Ticker {
public:
    ManualTicker(ManualTimerService& service, std::function<void()> onTick)
        : service_(service), onTick_(std::move(onTick)) {
        service_.tickers_.push_back(this);
    }
    ~ManualTicker() override {
        auto& list = service_.tickers_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    void Start(uint32_t intervalMs) override {
        interval_ = std::max<uint32_t>(1, intervalMs);
        due_ = service_.now_ + interval_;
        running_ = true;
    }
    void Stop() override { running_ = false; }

    ManualTimerService& service_;
    std::function<void()> onTick_;
    uint32_t interval_ = 0;
    uint32_t due_ = 0;
    bool running_ = false;
};

ManualTimerService::ManualTimerService() = default;

ManualTimerService::~ManualTimerService() = default;

std::unique_ptr<TimerService::Ticker> ManualTimerService::CreateTicker(std::function<void()> onTick) {
    return std::make_unique<ManualTicker>(*this, std::move(onTick));
}

void ManualTimerService::Advance(uint32_t ms) {
    const uint32_t end = now_ + ms;
    for (;;) {
        ManualTicker* next = nullptr;
        for (ManualTicker* t : tickers_)
            if (t->running_ && t->due_ <= end && (!next || t->due_ < next->due_))
                next = t;
        if (!next)
            break;
        now_ = next->due_;
        next->due_ += next->interval_;
        // The handler may stop, restart or free its own ticker.
        std::function<void()> tick = next->onTick_;
        tick();
    }
    now_ = end;
}

int ManualTimerService::RunningCount() const {
    return static_cast<int>(std::count_if(tickers_.begin(), tickers_.end(), [](const ManualTicker* t) { return t->running_; }));
}

} // namespace zeko
