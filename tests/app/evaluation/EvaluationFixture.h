#pragma once
// Month files, schedule histories and channels for the evaluation tests, written
// through the record store and the history writer into a program directory of the
// test's own (app/evaluation/EvaluationRecords.h).
#include "app/evaluation/DayEvaluation.h"
#include "app/evaluation/EvaluationRecords.h"
#include "app/evaluation/PeriodEvaluation.h"
#include "core/Holidays.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "core/Schedules.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace zeko::test {

inline TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s);
}

inline TVstupyInfo MakeChannel(uint16_t id, uint8_t unitCode = 0, int dayStartHour = 0) {
    TVstupyInfo c;
    c.Id = id;
    c.Kind = "ZEKO";
    c.ChannelNumber = static_cast<uint8_t>(id + 1);
    c.UnitCode = unitCode;
    c.DayStartHour = dayStartHour;
    c.DeviceType = "ZEKO";
    return c;
}

// The results of one evaluation, apart from the program-wide ones.
struct TOwnResults {
    TDayResult Day;
    TPeriodAccumulators Period;
    TMonthPeriodInfo MonthInfo;
    TMonthResult Month;
    TYearResult Year;
    TPeriodTargets Targets() { return {Day, Period, MonthInfo, Month, Year}; }
};

class EvaluationTest : public ::testing::Test {
protected:
    EvaluationTest() : dir_(true) {}
    ~EvaluationTest() override {
        PouzivejSvatky = true;
        RegulatorMeasurementId = 0;
        HolidayList.clear();
        InitDefaultSchedules();
        Devices = nullptr;
    }

    // A record of 20yy-mm-dd hh:mi:ss whose inputs 1..4 have the values given.
    void Add(int y, int mo, int d, int h, int mi, int s, std::array<uint16_t, 4> values) {
        records_.push_back(ValueRecord(y, mo, d, h, mi, s, values));
    }
    // Every input with the same value.
    void Add(int y, int mo, int d, int h, int mi, int s, uint16_t value) {
        Add(y, mo, d, h, mi, s, {value, value, value, value});
    }
    // Stores the records added so far into the month files.
    void Save() { SaveRecords(records_, ""); }

    // Evaluates [Start, Start + 1 day) of the channel from the program directory.
    int EvaluateDay(const TVstupyInfo& channel, TDateTime start, bool skipSchedules = false) {
        TEvaluationSession session(ProgramDir(), settings_);
        return session.Evaluator().EvaluatePeriod(channel, channel.DayStartHour, start, start + 1, skipSchedules,
                                                  own_.Day, own_.Period);
    }
    void ComputeMonth(TDateTime first, const TVstupyInfo& channel, int customRows = 0) {
        TEvaluationSettings settings = settings_;
        settings.MonthPeriod = {static_cast<uint8_t>(customRows > 0 ? 1 : 0), static_cast<uint8_t>(customRows)};
        const DateParts d = DecodeDate(first);
        TEvaluationSession session(ProgramDir(), settings);
        TPeriodEvaluator(session.Evaluator(), own_.Targets()).ComputeMonth(d.Day, d.Month, d.Year, channel);
    }
    void ComputeYear(int month, int year, const TVstupyInfo& channel, int months) {
        TEvaluationSession session(ProgramDir(), settings_);
        TPeriodEvaluator(session.Evaluator(), own_.Targets()).ComputeYear(1, month, year, channel, months);
    }

    const TDayResult& Day() const { return own_.Day; }
    double Quarter(int row, int slot) const { return own_.Day.DayQuarterValues[row - 1][slot - 1]; }
    int QuarterCount(int row, int slot) const { return own_.Day.DayQuarterCounts[row - 1][slot - 1]; }
    double HourValue(int row) const { return own_.Day.DayHourValues[row - 1]; }

    TempDir dir_;
    TRecordList records_;
    TOwnResults own_;
    // Holidays used, channel 0 the regulator's own measurement, the built-in quantities.
    TEvaluationSettings settings_;
};

} // namespace zeko::test
