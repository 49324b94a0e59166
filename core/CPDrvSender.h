#pragma once
// The port's sender thread (TCommPortDriver::Transmit): the transmissions handed
// over wait here and go to the line one after the other in a thread of their own.
// Only the port component includes this.
#include "core/CPDrv.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace zeko {

struct TCommPortDriver::TTransmission {
    std::vector<uint8_t> Bytes;
    TDirectionSwitch Direction;
    uint32_t Timeout = 0;
    bool CheckLines = false;
};

class TCommPortDriver::TSender {
public:
    explicit TSender(TCommPortDriver& port) : port_(port), thread_([this] { Run(); }) {}
    // Finishes every transmission handed over, then ends the thread: a telegram
    // that was sent goes out whole, and DTR ends dropped.
    ~TSender() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    TSender(const TSender&) = delete;
    TSender& operator=(const TSender&) = delete;

    void Add(TTransmission t) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back(std::move(t));
        }
        changed_.notify_all();
    }

    void WaitIdle() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return queue_.empty() && !busy_; });
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return !queue_.empty() || ending_; });
            if (queue_.empty())
                return;
            TTransmission t = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
            lock.unlock();
            port_.Perform(t);
            lock.lock();
            busy_ = false;
            changed_.notify_all();
        }
    }

    TCommPortDriver& port_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TTransmission> queue_;
    bool busy_ = false;
    bool ending_ = false;
    std::thread thread_;  // last: it starts once the rest is there
};

} // namespace zeko
