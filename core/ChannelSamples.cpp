#include "core/ChannelSamples.h"

#include "core/Calendar.h"

namespace zeko {

namespace {

int64_t FirstSecondOfMonth(int year, int month) {
    return ToSeconds(EncodeDate(year, month, 1));
}

} // namespace

TChannelMap ChannelMapOf(const TGraphView& View) {
    TChannelMap map{};
    for (size_t s = 1; s <= GraphSeriesCount; ++s) {
        const uint16_t input = View.InputMap[s - 1];
        if (input < RecordInputs)
            map[input] = static_cast<uint8_t>(s);
    }
    return map;
}

bool MapsAnyInput(const TChannelMap& ChannelMap) {
    for (size_t k = 0; k < RecordInputs; ++k)
        if (ChannelMap[k] != 0)
            return true;
    return false;
}

void ReadMonthFile(const std::string& FileName, TSeriesLists& Lists, const TChannelMap& ChannelMap,
                   TDateTime From, TDateTime To) {
    const int64_t from = ToSeconds(From), to = ToSeconds(To);
    ForEachRecordOf(FileName, [&](const TRegulatorRecord& r) {
        int64_t at = 0;
        if (!RecordSeconds(r, at) || at < from || at > to)
            return;
        TChannelSample sample;
        sample.Hour = r.Hour;
        sample.Minute = r.Minute;
        sample.Second = r.Second;
        sample.Day = r.Day;
        sample.Month = r.Month;
        sample.Year = r.Year;
        sample.Status = r.Status;
        for (size_t k = 0; k < RecordInputs; ++k) {
            const uint8_t series = ChannelMap[k];
            if (series == 0 || series > GraphSeriesCount)
                continue;
            sample.Value = RecordInputValue(r, k);
            Lists[series - 1].push_back(sample);
        }
    });
}

void ReadRecordRange(const TGraphView& View, TSeriesLists& Lists, const std::string& Dir,
                     TDateTime From, TDateTime To) {
    const TChannelMap map = ChannelMapOf(View);
    if (!MapsAnyInput(map))
        return;
    for (const TYearMonth& m : MonthsOfRange(From, To))
        ReadMonthFile(MonthFilePath(Dir, m.Year, m.Month), Lists, map, From, To);
}

std::vector<TYearMonth> MonthsOfRange(TDateTime From, TDateTime To) {
    std::vector<TYearMonth> months;
    const int64_t to = ToSeconds(To);
    const DateParts start = DecodeDate(From);
    int year = start.Year, month = start.Month;
    do {
        months.push_back({year, month});
        NextMonth(month, year, month, year);
    } while (year <= MaxYear && FirstSecondOfMonth(year, month) <= to);
    return months;
}

} // namespace zeko
