#pragma once
// The straightforward sources of an evaluation, which the program's own
// (app/evaluation/EvaluationSources.h) must agree with: the month files read again for every
// range, the history files for every record. The tests compare the results of
// both; the benchmark measures what reading each file once saves.
#include "app/evaluation/EvaluationSources.h"

#include <string>
#include <utility>

namespace zeko::test {

// ReadRecordRange on every call.
class TMonthFileReader : public TRecordSource {
public:
    explicit TMonthFileReader(std::string dir) : dir_(std::move(dir)) {}
    void ReadRange(const TGraphView& View, TSeriesLists& Lists, TDateTime From, TDateTime To) override {
        ReadRecordRange(View, Lists, dir_, From, To);
    }

private:
    std::string dir_;
};

// The masks with the history files read again for every call.
class THistoryFileSchedules : public TScheduleSource {
public:
    THistoryFileSchedules(std::string tariffFile, std::string shiftFile)
        : tariffFile_(std::move(tariffFile)), shiftFile_(std::move(shiftFile)) {}
    bool ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) override {
        return TScheduleLookup(tariffFile_, shiftFile_).ShiftMaskAt(Minute, Mask, Date);
    }
    bool TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) override {
        return TScheduleLookup(tariffFile_, shiftFile_).TariffMaskAt(Minute, Mask, DayType, Date);
    }

private:
    std::string tariffFile_, shiftFile_;
};

} // namespace zeko::test
