#include "core/SuperTimer.h"

#include "platform/MainThread.h"
#include "platform/Notifier.h"
#include "platform/TickClock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace zeko {

namespace {
// Before a due time the thread sleeps until this close to it, then steps in ms.
constexpr uint32_t SpinWindowMs = 50;
// Longest single wait on a test's clock, so that the test's steps are seen soon.
constexpr int32_t LongestWaitMs = 25;

// Signed distance from `from` to `to` on the wrapping millisecond clock.
int32_t TicksUntil(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }

int NiceOf(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpIdle: return 19;
    case TThreadPriority::tpLowest: return 10;
    case TThreadPriority::tpLower: return 5;
    case TThreadPriority::tpNormal: return 0;
    case TThreadPriority::tpHigher: return -5;
    case TThreadPriority::tpHighest: return -10;
    case TThreadPriority::tpTimeCritical: return -15;
    }
    return 0;
}

// Raising a thread above normal needs privileges the program rarely has; the timer
// then runs at normal priority, which only costs precision under load.
void ApplyPriority(pid_t tid, TThreadPriority priority) {
    if (tid != 0)
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(tid), NiceOf(priority));
}
} // namespace

struct TSuperTimer::State {
    std::mutex mutex;
    std::condition_variable wake;
    bool enabled = false;
    bool terminated = false;
    bool finished = false;
    bool countDown = false;
    uint16_t interval = 1000;
    TThreadPriority priority = TThreadPriority::tpHigher;
    pid_t tid = 0;
    uint32_t nextDue = 0;
    uint32_t baseTime = 0;
    int32_t baseValue = 0;
    int32_t elapsed = 0;
    uint32_t restFrom = 0;    // when the last handler ended: the sleep is timed from here
    uint64_t generation = 0;  // bumped at each enabling, so a stale tick is dropped
};

class TSuperTimer::TTimerThread {
public:
    TTimerThread(TSuperTimer* timer, std::shared_ptr<State> state)
        : thread_([timer, state] { Execute(timer, state); }) {}
    void Join() { thread_.join(); }
    void Detach() { thread_.detach(); }

private:
    // Runs until told to end; touches only the shared state, and the timer only
    // through the hand-over, which the timer cancels before it goes.
    static void Execute(TSuperTimer* timer, const std::shared_ptr<State>& s) {
        std::unique_lock<std::mutex> lock(s->mutex);
        s->tid = static_cast<pid_t>(::syscall(SYS_gettid));
        ApplyPriority(s->tid, s->priority);
        while (true) {
            s->wake.wait(lock, [&] { return s->terminated || s->enabled; });
            if (s->terminated)
                break;
            const uint64_t generation = s->generation;
            if (!WaitUntilDue(lock, *s, generation))
                continue;
            const uint32_t now = timeGetTime();
            s->nextDue = now + s->interval;
            const int32_t run = static_cast<int32_t>(now - s->baseTime);
            s->elapsed = s->countDown ? s->baseValue - run : s->baseValue + run;
            lock.unlock();
            const bool ran = MainThread().Synchronize(timer, [timer, generation] { timer->Tick(generation); });
            lock.lock();
            if (!ran)
                s->restFrom = timeGetTime();
        }
        s->finished = true;
        s->wake.notify_all();
    }

    // Waits for the tick's moment; false when the timer was disabled, re-enabled or
    // ended meanwhile.
    static bool WaitUntilDue(std::unique_lock<std::mutex>& lock, State& s, uint64_t generation) {
        const uint16_t interval = s.interval;
        while (true) {
            if (s.terminated || !s.enabled || s.generation != generation)
                return false;
            uint32_t readyAt = s.nextDue;
            if (interval > SpinWindowMs) {
                const uint32_t sleepEnd = s.restFrom + interval - SpinWindowMs;
                if (TicksUntil(readyAt, sleepEnd) > 0)
                    readyAt = sleepEnd;
            }
            const int32_t remaining = TicksUntil(timeGetTime(), readyAt);
            if (remaining <= 0)
                return true;
            // A test's clock moves only when the test steps it, so it is looked at
            // often. The real clock is slept for: to two ms before the due time, in
            // one wait that enabling, disabling or ending cuts short, and then to the
            // due time itself in one precise sleep, not in steps that keep a
            // processor awake.
            const bool testClock = TickSourceReplaced();
            if (remaining > 2) {
                const int32_t wait = testClock ? std::min(remaining - 1, LongestWaitMs) : remaining - 2;
                s.wake.wait_for(lock, std::chrono::milliseconds(wait));
            } else if (testClock) {
                s.wake.wait_for(lock, std::chrono::microseconds(200));
            } else {
                lock.unlock();
                SleepUntilTick(readyAt);
                lock.lock();
            }
        }
    }

    std::thread thread_;
};

TSuperTimer::TSuperTimer() : state_(std::make_shared<State>()) {
    thread_ = std::make_unique<TTimerThread>(this, state_);
}

TSuperTimer::~TSuperTimer() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->enabled = false;
        state_->terminated = true;
    }
    state_->wake.notify_all();
    MainThreadQueue& queue = MainThread();
    if (inHandler_ && queue.IsMainThread()) {
        // Destroyed by its own OnTimer: the thread waits for this very call, so it
        // cannot be joined here; it ends by itself once the call returns.
        queue.CancelFor(this);
        thread_->Detach();
        return;
    }
    // The thread may enter a hand-over at any moment until it sees `terminated`:
    // cancel until it has ended.
    std::unique_lock<std::mutex> lock(state_->mutex);
    while (!state_->finished) {
        lock.unlock();
        queue.CancelFor(this);
        lock.lock();
        state_->wake.wait_for(lock, std::chrono::milliseconds(1), [&] { return state_->finished; });
    }
    lock.unlock();
    thread_->Join();
}

bool TSuperTimer::Enabled() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->enabled;
}

void TSuperTimer::SetEnabled(bool value) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    State& s = *state_;
    if (value && s.interval == 0)
        value = false;
    if (value == s.enabled)
        return;
    s.enabled = value;
    if (value) {
        s.baseValue = s.elapsed;
        s.baseTime = timeGetTime();
        s.restFrom = s.baseTime;
        s.nextDue = s.baseTime + s.interval;
        ++s.generation;
    }
    s.wake.notify_all();
}

uint16_t TSuperTimer::Interval() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->interval;
}

void TSuperTimer::SetInterval(uint16_t value) {
    if (value == Interval())
        return;
    if (value == 0)
        SetEnabled(false);
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->interval = value;
}

TThreadPriority TSuperTimer::ThreadPriority() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->priority;
}

void TSuperTimer::SetThreadPriority(TThreadPriority value) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->priority = value;
    ApplyPriority(state_->tid, value);
}

bool TSuperTimer::CountDown() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->countDown;
}

void TSuperTimer::SetCountDown(bool value) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    State& s = *state_;
    if (value == s.countDown)
        return;
    s.countDown = value;
    if (s.enabled) {
        s.baseTime = timeGetTime();
        s.baseValue = s.elapsed;
    }
}

int32_t TSuperTimer::ElapsedTime() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->elapsed;
}

void TSuperTimer::SetElapsedTime(int32_t value) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    State& s = *state_;
    s.elapsed = value;
    if (s.enabled) {
        s.baseTime = timeGetTime();
        s.baseValue = value;
    }
}

int32_t TSuperTimer::TickLimit() const { return tickLimit_; }
void TSuperTimer::SetTickLimit(int32_t value) { tickLimit_ = value; }

int32_t TSuperTimer::TickCount() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->interval == 0 ? 0 : state_->elapsed / state_->interval;
}

bool TSuperTimer::RunHandler(const TNotifyEvent& event) {
    const std::shared_ptr<State> state = state_;  // outlives `this` if the handler frees it
    inHandler_ = true;
    if (event) {
        const TNotifyEvent handler = event;  // the member may go with the timer
        try {
            handler(*this);
        } catch (const std::exception& e) {
            // As an event of the main thread would: the user sees the error and the
            // timer goes on.
            MessageDlg(e.what(), TMsgDlgType::mtError);
        }
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    state->restFrom = timeGetTime();
    if (state->terminated)
        return false;
    inHandler_ = false;
    return true;
}

void TSuperTimer::Tick(uint64_t generation) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (!state_->enabled || state_->generation != generation)
            return;
    }
    if (!RunHandler(OnTimer) || !Enabled())
        return;
    const bool stop = CountDown() ? !(TickCount() > tickLimit_ && ElapsedTime() > 0)
                                  : (tickLimit_ >= 1 && TickCount() >= tickLimit_);
    if (stop) {
        SetEnabled(false);
        RunHandler(OnStop);
    }
}

} // namespace zeko
