#include "platform/TimerHost.h"

#include "platform/MainThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zeko {

// What the waiting thread and the posted ticks share. `generation` changes with
// every Start and Stop; a thread or tick of an older generation does nothing.
struct TimerHost::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    uint64_t generation = 0;
    bool tickWaiting = false;
    std::thread thread;
};

TimerHost::TimerHost(std::function<void()> onTick)
    : shared_(std::make_shared<Shared>()), onTick_(std::move(onTick)) {}

TimerHost::~TimerHost() { Stop(); }

bool TimerHost::Running() const { return shared_->thread.joinable(); }

void TimerHost::Stop() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ++shared_->generation;
        shared_->tickWaiting = false;
    }
    shared_->wake.notify_all();
    if (shared_->thread.joinable())
        shared_->thread.join();
    MainThread().CancelFor(shared_.get());
}

void TimerHost::Start(uint32_t intervalMs) {
    Stop();
    interval_ = intervalMs < 1 ? 1 : intervalMs;
    uint64_t generation;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        generation = shared_->generation;
    }
    std::shared_ptr<Shared> shared = shared_;
    const auto period = std::chrono::milliseconds(interval_);
    shared_->thread = std::thread([this, shared, generation, period] {
        using Clock = std::chrono::steady_clock;
        auto due = Clock::now() + period;
        std::unique_lock<std::mutex> lock(shared->mutex);
        for (;;) {
            if (shared->wake.wait_until(lock, due, [&] { return shared->generation != generation; }))
                return;
            const auto now = Clock::now();
            due += period;
            if (due <= now)
                due = now + period;  // fell behind: no burst of catch-up ticks
            if (shared->tickWaiting)
                continue;
            shared->tickWaiting = true;
            lock.unlock();
            // Runs in the main thread, as Stop does, so a tick of a stopped timer
            // sees the changed generation and the host is still alive when it matches.
            MainThread().Post(shared.get(), [this, shared, generation] {
                {
                    std::lock_guard<std::mutex> guard(shared->mutex);
                    if (shared->generation != generation)
                        return;
                    shared->tickWaiting = false;
                }
                onTick_();
            });
            lock.lock();
        }
    });
}

} // namespace zeko
