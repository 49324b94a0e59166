// The libFuzzer program of one fuzz entry (FuzzEntries.h); the build names the entry
// in ZEKO_FUZZ_ENTRY. An entry that answers false found a broken rule.
#include "fuzz/FuzzEntries.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!zeko::fuzz::ZEKO_FUZZ_ENTRY(data, size))
        std::abort();
    return 0;
}
