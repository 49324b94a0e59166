#include "platform/InputNotifier.h"

#include "platform/MainThread.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace zeko {

// What the watching thread and the posted calls share. `generation` changes with
// every Start and Stop; a thread or call of an older generation does nothing.
struct InputNotifier::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t generation = 0;
    bool callRan = false;
    bool drained = false;
    std::atomic<uint32_t> restMs{40};
    int wakeFd = -1;  // written by Stop, so that the wait on the descriptor ends
    std::thread thread;
};

InputNotifier::InputNotifier(std::function<bool()> onInput)
    : shared_(std::make_shared<Shared>()), onInput_(std::move(onInput)) {}

InputNotifier::~InputNotifier() { Stop(); }

bool InputNotifier::Running() const { return shared_->thread.joinable(); }

void InputNotifier::SetRest(uint32_t restMs) { shared_->restMs.store(restMs); }

void InputNotifier::Stop() {
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        ++shared_->generation;
    }
    shared_->changed.notify_all();
    if (shared_->wakeFd >= 0) {
        const uint64_t one = 1;
        (void)!::write(shared_->wakeFd, &one, sizeof one);
    }
    if (shared_->thread.joinable())
        shared_->thread.join();
    if (shared_->wakeFd >= 0) {
        ::close(shared_->wakeFd);
        shared_->wakeFd = -1;
    }
    MainThread().CancelFor(shared_.get());
}

void InputNotifier::Start(int fd, uint32_t restMs) {
    Stop();
    if (fd < 0)
        return;
    shared_->restMs.store(restMs);
    shared_->wakeFd = ::eventfd(0, EFD_CLOEXEC);
    if (shared_->wakeFd < 0)
        return;  // no watch: the polling timer alone takes the bytes up
    uint64_t generation;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        generation = shared_->generation;
    }
    std::shared_ptr<Shared> shared = shared_;
    shared_->thread = std::thread([this, shared, generation, fd] {
        const auto stopped = [&] { return shared->generation != generation; };
        const auto rest = [&] {
            std::unique_lock<std::mutex> lock(shared->mutex);
            return shared->changed.wait_for(lock, std::chrono::milliseconds(shared->restMs.load()), stopped);
        };
        for (;;) {
            pollfd fds[2] = {{fd, POLLIN, 0}, {shared->wakeFd, POLLIN, 0}};
            const int ready = ::poll(fds, 2, -1);
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                if (stopped())
                    return;
            }
            if (ready < 0 && errno == EINTR)
                continue;
            const bool broken = ready < 0 || (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
            // A descriptor whose device went away is handed to the call too: the
            // reader finds out and closes it.
            if ((fds[0].revents & POLLIN) != 0 || broken) {
                std::unique_lock<std::mutex> lock(shared->mutex);
                shared->callRan = false;
                lock.unlock();
                MainThread().Post(shared.get(), [this, shared, generation] {
                    {
                        std::lock_guard<std::mutex> guard(shared->mutex);
                        if (shared->generation != generation)
                            return;
                    }
                    const bool drained = onInput_();
                    std::lock_guard<std::mutex> guard(shared->mutex);
                    shared->callRan = true;
                    shared->drained = drained;
                    shared->changed.notify_all();
                });
                lock.lock();
                shared->changed.wait(lock, [&] { return shared->callRan || stopped(); });
                if (stopped())
                    return;
                if (shared->drained && !broken)
                    continue;
            }
            if (rest())
                return;
        }
    });
}

} // namespace zeko
