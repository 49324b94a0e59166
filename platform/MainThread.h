#pragma once
// The hand-over of work to the main thread. A worker thread (a timer thread, the
// saving thread) calls Synchronize and is blocked until the main thread has run the
// call; Post queues a call without waiting. The program binds this to its event
// loop; tests use PumpedMainThread and pump it themselves.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zeko {

class MainThreadQueue {
public:
    virtual ~MainThreadQueue() = default;

    // Runs `call` in the main thread and waits for it. Answers false when the call
    // was cancelled (CancelFor with the same owner) before it ran. Called in the
    // main thread itself it runs the call at once.
    virtual bool Synchronize(const void* owner, std::function<void()> call) = 0;
    // Queues `call` for the main thread and returns at once.
    virtual void Post(const void* owner, std::function<void()> call) = 0;
    // Drops every call of `owner` not yet run and releases its waiting threads;
    // a call already running in the main thread is finished first (unless the
    // caller is that call itself).
    virtual void CancelFor(const void* owner) = 0;

    bool IsMainThread() const { return std::this_thread::get_id() == mainId_; }
    void SetMainThreadId(std::thread::id id) { mainId_ = id; }

protected:
    std::thread::id mainId_ = std::this_thread::get_id();
};

// The program-wide queue; until one is installed, a PumpedMainThread owned by the
// platform layer serves (the thread that first asks counts as the main thread).
MainThreadQueue& MainThread();
void SetMainThread(MainThreadQueue* queue);

// Queue pumped by hand: tests and tools call Pump() or PumpUntil() in the main thread.
class PumpedMainThread : public MainThreadQueue {
public:
    bool Synchronize(const void* owner, std::function<void()> call) override;
    void Post(const void* owner, std::function<void()> call) override;
    void CancelFor(const void* owner) override;

    // Runs every call queued so far; answers how many ran.
    int Pump();
    // Pumps until `done` holds or `timeoutMs` has passed; answers done().
    bool PumpUntil(const std::function<bool()>& done, uint32_t timeoutMs);
    size_t Pending() const;

protected:
    // Called after a call has been queued, outside the queue's lock, in the thread
    // that queued it; an event loop overrides it to schedule a Pump().
    virtual void Wake() {}

private:
    struct Item {
        const void* owner;
        std::function<void()> call;
        std::shared_ptr<int> state;  // 0 waiting, 1 done, 2 cancelled; null for posts
    };
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> items_;
    const void* running_ = nullptr;
    bool busy_ = false;
};

} // namespace zeko
