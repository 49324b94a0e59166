// Every kept input of every fuzz corpus (fuzz/corpus/<name>) goes through its entry
// again in each build, so what a fuzzer once found stays found.
#include "fuzz/FuzzEntries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Corpus {
    const char* folder;
    bool (*entry)(const uint8_t*, size_t);
};

class FuzzCorpus : public ::testing::TestWithParam<Corpus> {};

TEST_P(FuzzCorpus, EveryKeptInputKeepsTheRules) {
    const std::filesystem::path folder = std::filesystem::path(ZEKO_FUZZ_CORPUS) / GetParam().folder;
    size_t inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto data = ReadFile(entry.path());
        EXPECT_TRUE(GetParam().entry(data.data(), data.size())) << entry.path();
        ++inputs;
    }
    EXPECT_GT(inputs, 0u);
}

INSTANTIATE_TEST_SUITE_P(Entries, FuzzCorpus,
                         ::testing::Values(Corpus{"frame_checks", zeko::fuzz::FrameChecks},
                                           Corpus{"month_file_merge", zeko::fuzz::MonthFileMerge},
                                           Corpus{"ini_reader", zeko::fuzz::IniReader},
                                           Corpus{"history_reader", zeko::fuzz::HistoryReader},
                                           Corpus{"grid_property_stream", zeko::fuzz::GridPropertyStream},
                                           Corpus{"settings_file", zeko::fuzz::SettingsFileLoader},
                                           Corpus{"device_list", zeko::fuzz::DeviceListReader},
                                           Corpus{"jpeg_decoder", zeko::fuzz::JpegDecoder},
                                           Corpus{"registry_store", zeko::fuzz::RegistryStore},
                                           Corpus{"reply_decoders", zeko::fuzz::ReplyDecoders}),
                         [](const ::testing::TestParamInfo<Corpus>& info) { return std::string(info.param.folder); });

} // namespace
