#pragma once
// A window that keeps every message it is given.
#include "platform/WindowMessages.h"

#include <vector>

namespace zeko::test {

struct MessageRecorder : MessageTarget {
    explicit MessageRecorder(const char* className) : MessageTarget(className) {}
    void HandleMessage(const TMessage& m) override { got.push_back(m); }
    std::vector<TMessage> got;
};

} // namespace zeko::test
