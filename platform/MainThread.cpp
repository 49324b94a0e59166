#include "platform/MainThread.h"


#include <chrono>

namespace zeko {
namespace {
MainThreadQueue* installed = nullptr;
} // namespace

MainThreadQueue& MainThread() {
    static PumpedMainThread fallback;
    return installed ? *installed : fallback;
}

void SetMainThread(MainThreadQueue* queue) { installed = queue; }

bool PumpedMainThread::Synchronize(const void* owner, std::function<void()> call) {
    if (IsMainThread()) {
        call();
        return true;
    }
    auto state = std::make_shared<int>(0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.push_back({owner, std::move(call), state});
        changed_.notify_all();
    }
    Wake();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return *state != 0; });
    return *state == 1;
}

void PumpedMainThread::Post(const void* owner, std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        items_.push_back({owner, std::move(call), nullptr});
        changed_.notify_all();
    }
    Wake();
}

void PumpedMainThread::CancelFor(const void* owner) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (auto it = items_.begin(); it != items_.end();) {
        if (it->owner == owner) {
            if (it->state)
                *it->state = 2;
            it = items_.erase(it);
        } else {
            ++it;
        }
    }
    changed_.notify_all();
    if (!IsMainThread())
        changed_.wait(lock, [&] { return !(busy_ && running_ == owner); });
}

int PumpedMainThread::Pump() {
    int ran = 0;
    size_t budget;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        budget = items_.size();  // calls queued by these calls wait for the next pump
    }
    while (budget-- > 0) {
        Item item;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (items_.empty())
                break;
            item = std::move(items_.front());
            items_.pop_front();
            running_ = item.owner;
            busy_ = true;
        }
        item.call();
        ++ran;
        std::lock_guard<std::mutex> lock(mutex_);
        busy_ = false;
        running_ = nullptr;
        if (item.state)
            *item.state = 1;
        changed_.notify_all();
    }
    return ran;
}

bool PumpedMainThread::PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return done();
        if (Pump() == 0) {
            // Nothing queued: wait briefly for a call, or for done() to turn true
            // through some other thread.
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait_for(lock, std::chrono::milliseconds(2), [&] { return !items_.empty(); });
        }
    }
    return true;
}

size_t PumpedMainThread::Pending() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return items_.size();
}

} // namespace zeko
