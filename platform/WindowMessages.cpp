#include "platform/WindowMessages.h"

#include "platform/MainThread.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace zeko {
namespace {

struct Registry {
    std::mutex mutex;
    std::vector<MessageTarget*> windows;  // in order of registration
};

Registry& Windows() {
    static Registry registry;
    return registry;
}

bool IsRegistered(MessageTarget* target) {
    Registry& r = Windows();
    std::lock_guard<std::mutex> lock(r.mutex);
    return std::find(r.windows.begin(), r.windows.end(), target) != r.windows.end();
}

} // namespace

MessageTarget::MessageTarget(std::string className) : className_(std::move(className)) {
    Registry& r = Windows();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.windows.push_back(this);
}

MessageTarget::~MessageTarget() {
    {
        Registry& r = Windows();
        std::lock_guard<std::mutex> lock(r.mutex);
        r.windows.erase(std::remove(r.windows.begin(), r.windows.end(), this), r.windows.end());
    }
    MainThread().CancelFor(this);
}

MessageTarget* FindWindowByClass(const std::string& className) {
    Registry& r = Windows();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto it = r.windows.rbegin(); it != r.windows.rend(); ++it)
        if ((*it)->WindowClassName() == className)
            return *it;
    return nullptr;
}

bool PostMessageTo(MessageTarget* target, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (target == nullptr)
        return false;
    const TMessage message{msg, wParam, lParam};
    MainThread().Post(target, [target, message] {
        // Cancelled posts never run; the check guards a target that went while
        // the call was already on its way.
        if (IsRegistered(target))
            target->HandleMessage(message);
    });
    return true;
}

void SendMessageTo(MessageTarget* target, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    if (target != nullptr)
        target->HandleMessage(TMessage{msg, wParam, lParam});
}

} // namespace zeko
