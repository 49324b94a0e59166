#pragma once
// Posted window messages between the program's windows. A window that takes
// messages registers under its class name ("THlavniForm"); others find it by that
// name and post to it. Posted messages are delivered later in the main thread
// through MainThread() (the event loop in the program, the pumped queue in tests),
// and never to a window that has gone in the meantime.
#include <cstdint>
#include <string>

namespace zeko {

constexpr uint32_t WM_USER = 0x0400;

struct TMessage {
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;
};

class MessageTarget {
public:
    explicit MessageTarget(std::string className);
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    virtual void HandleMessage(const TMessage& message) = 0;
    const std::string& WindowClassName() const { return className_; }

private:
    std::string className_;
};

// The most recently registered window of that class, or nullptr.
MessageTarget* FindWindowByClass(const std::string& className);
// Queues the message for `target`; false when target is null.
bool PostMessageTo(MessageTarget* target, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Delivers at once, in the calling (main) thread.
void SendMessageTo(MessageTarget* target, uint32_t msg, uintptr_t wParam, intptr_t lParam);

} // namespace zeko
