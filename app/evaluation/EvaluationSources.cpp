#include "app/evaluation/EvaluationSources.h"

#include "core/Calendar.h"

namespace zeko {

namespace {

// Series 1..4 show inputs 0..3, so that a file is read once for every channel.
TChannelMap AllInputs() {
    TChannelMap map{};
    for (size_t k = 0; k < RecordInputs; ++k)
        map[k] = static_cast<uint8_t>(k + 1);
    return map;
}

int64_t SampleSeconds(const TChannelSample& s) {
    return ToSeconds(EncodeDate(ExpandYear(s.Year), s.Month, s.Day) +
                     EncodeTime(s.Hour, s.Minute, s.Second));
}

} // namespace

const TMonthFileCache::TMonthSamples& TMonthFileCache::Month(const TYearMonth& month) {
    const int key = month.Year * 12 + month.Month;
    auto found = months_.find(key);
    if (found != months_.end())
        return found->second;
    TSeriesLists lists;
    ReadMonthFile(MonthFilePath(dir_, month.Year, month.Month), lists, AllInputs(), EncodeDate(MinYear, 1, 1),
                  EncodeDate(MaxYear, 12, 31) + EncodeTime(23, 59, 59));
    TMonthSamples samples;
    for (size_t k = 0; k < RecordInputs; ++k)
        samples.Inputs[k] = std::move(lists[k]);
    // Only records with a valid stamp were read, so every stamp encodes.
    samples.Seconds.reserve(samples.Inputs[0].size());
    for (const TChannelSample& s : samples.Inputs[0])
        samples.Seconds.push_back(SampleSeconds(s));
    return months_.emplace(key, std::move(samples)).first->second;
}

void TMonthFileCache::ReadRange(const TGraphView& View, TSeriesLists& Lists, TDateTime From, TDateTime To) {
    const TChannelMap map = ChannelMapOf(View);
    if (!MapsAnyInput(map))
        return;
    const int64_t from = ToSeconds(From), to = ToSeconds(To);
    for (const TYearMonth& m : MonthsOfRange(From, To)) {
        const TMonthSamples& month = Month(m);
        for (size_t i = 0; i < month.Seconds.size(); ++i) {
            if (month.Seconds[i] < from || month.Seconds[i] > to)
                continue;
            for (size_t k = 0; k < RecordInputs; ++k)
                if (map[k] != 0)
                    Lists[map[k] - 1].push_back(month.Inputs[k][i]);
        }
    }
}

bool TLookupSchedules::ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) {
    return lookup_.ShiftMaskAt(Minute, Mask, Date);
}

bool TLookupSchedules::TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) {
    return lookup_.TariffMaskAt(Minute, Mask, DayType, Date);
}

} // namespace zeko
