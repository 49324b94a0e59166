// Merging a full record ring into the month files and reading a year back.
#include "core/ChannelSamples.h"
#include "core/RecordMemory.h"
#include "core/RecordSamples.h"
#include "core/RecordSaving.h"
#include "core/RecordStore.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace zeko;

namespace {

// A full ring: 75,325 quarter-hour records from 1 Jan 2022, about 26 months.
TRecordList FullRing() {
    TRecordList ring;
    ring.reserve(RingRecords);
    const int64_t start = ToSeconds(EncodeDate(2022, 1, 1) + EncodeTime(0, 7, 31));
    for (uint32_t i = 0; i < RingRecords; ++i) {
        const TDateTime t = FromSeconds(start + int64_t(i) * 900);
        const DateParts d = DecodeDate(t);
        const TimeParts tm = DecodeTime(t);
        TRegulatorRecord r = test::MakeRecord(d.Year - 2000, d.Month, d.Day, tm.Hour, tm.Minute, tm.Second,
                                              static_cast<uint16_t>(i % 500), i);
        r.Constants = {2.5f, 2.5f, 2.5f, 1.0f};
        ring.push_back(r);
    }
    return ring;
}

void Empty(const test::TempDir& folder) {
    for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
        std::filesystem::remove_all(e.path());
}

const TRecordList& Ring() {
    static const TRecordList ring = FullRing();
    return ring;
}

// Times merging the ring, into empty month files or into the files of a merge of the
// same ring before.
void TimeRingMerges(benchmark::State& state, bool intoEmptyFiles) {
    test::TempDir folder(true);  // the program directory
    TRecordList first = Ring();
    SaveRecords(first, "");
    for (auto _ : state) {
        state.PauseTiming();
        if (intoEmptyFiles)
            Empty(folder);
        TRecordList list = Ring();
        state.ResumeTiming();
        SaveRecords(list, "");
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * RingRecords);
}

void BM_MergeFullRingIntoEmptyFiles(benchmark::State& state) { TimeRingMerges(state, true); }
BENCHMARK(BM_MergeFullRingIntoEmptyFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MergeFullRingAgain(benchmark::State& state) { TimeRingMerges(state, false); }
BENCHMARK(BM_MergeFullRingAgain)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadYearThroughRange(benchmark::State& state) {
    test::TempDir folder(true);
    TRecordList list = Ring();
    SaveRecords(list, "");
    TGraphView view;
    view.InputMap[0] = 0;
    view.InputMap[1] = 1;
    view.InputMap[2] = 2;
    size_t samples = 0;
    for (auto _ : state) {
        TSeriesLists lists;
        ReadRecordRange(view, lists, folder.Path(), EncodeDate(2023, 1, 1), EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 59));
        samples = lists[0].size();
        benchmark::DoNotOptimize(lists);
    }
    state.counters["records"] = static_cast<double>(samples);
}
BENCHMARK(BM_ReadYearThroughRange)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
