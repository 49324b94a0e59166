#pragma once
// A watch on a descriptor's input whose calls run in the main thread: the stand-in
// for the system telling a window that bytes have come, so that they are taken up
// when they arrive rather than at the next tick of a polling timer. A thread of its
// own waits until the descriptor is readable and hands one call to
// MainThread().Post; it watches again only after that call has run, so at most one
// call waits at a time however many bytes come.
//
// The call answers whether it has read the descriptor dry. When it has not (a
// reader that leaves an incomplete packet in the line's queue), or when the
// descriptor reports a hang-up or an error (a device that went away; the call runs
// then too, so that the reader finds out), the watch rests `restMs` before it looks
// again, so that nothing spins on bytes nobody takes; the polling timer beside it
// picks such bytes up meanwhile.
// After Stop (or the destructor) returns no further call runs, also none already posted.
#include <cstdint>
#include <functional>
#include <memory>

namespace zeko {

class InputNotifier {
public:
    explicit InputNotifier(std::function<bool()> onInput);
    ~InputNotifier();
    InputNotifier(const InputNotifier&) = delete;
    InputNotifier& operator=(const InputNotifier&) = delete;

    // Start and Stop belong to the main thread; Stop may be called from the call.
    // The descriptor stays open at least until Stop has returned.
    void Start(int fd, uint32_t restMs);
    void Stop();
    bool Running() const;
    // Takes effect at the next rest.
    void SetRest(uint32_t restMs);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::function<bool()> onInput_;
};

} // namespace zeko
