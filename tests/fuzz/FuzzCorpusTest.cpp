#include "fuzz/FrameChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(FuzzCorpus, FrameChecksHoldForEveryKeptInput) {
    const std::filesystem::path folder = std::filesystem::path(ZEKO_FUZZ_CORPUS) / "frame_checks";
    size_t inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto data = ReadFile(entry.path());
        EXPECT_TRUE(zeko::fuzz::FrameChecks(data.data(), data.size())) << entry.path();
        ++inputs;
    }
    EXPECT_GT(inputs, 0u);
}
