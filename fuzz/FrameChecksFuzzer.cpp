// libFuzzer target of the link layer's frame handling (see FrameChecks.h).
#include "fuzz/FrameChecks.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!zeko::fuzz::FrameChecks(data, size))
        std::abort();
    return 0;
}
