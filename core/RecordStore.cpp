#include "core/RecordStore.h"

#include "core/Calendar.h"
#include "core/FileIO.h"
#include "platform/Exceptions.h"
#include "platform/ProgramDir.h"

#include <cerrno>
#include <cstdio>

namespace zeko {

TRecordList DownloadedRecords;

namespace {

// Calls `each` with every whole record of the file, read in one piece.
template <typename Each>
void ForEachStoredRecord(const std::string& fileName, Each each) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(ResolvePathNoCase(fileName), bytes, MaxMonthFileBytes, RaiseMonthFileTooLarge))
        return;
    const size_t whole = bytes.size() / RecordBytes;
    for (size_t i = 0; i < whole; ++i)
        each(TRegulatorRecord::FromBytes(bytes.data() + i * RecordBytes));
}

int64_t FirstSecondOfMonth(int year, int month) {
    return ToSeconds(EncodeDate(year, month, 1));
}

} // namespace

void RaiseMonthFileTooLarge(const std::string& path, uint64_t size) {
    throw EInOutError("Soubor záznamů " + path + " má " + std::to_string(size) +
                          " bajtů, víc než může mít soubor jednoho měsíce (nejvýše " +
                          std::to_string(MaxMonthFileRecords) + " záznamů, " + std::to_string(MaxMonthFileBytes) +
                          " bajtů). Soubor je poškozený nebo cizí a nebyl načten.",
                      EFBIG);
}

void RaiseMonthFileFull(const std::string& path) {
    throw EInOutError("Soubor záznamů " + path + " je plný (" + std::to_string(MaxMonthFileRecords) +
                          " záznamů), další záznamy do něj nelze uložit.",
                      EFBIG);
}

uint32_t RecordAddress(uint32_t n) {
    return n / RingRecordsPerPage * RingPageBytes + n % RingRecordsPerPage * WireRecordBytes;
}

std::string YearFolderName(int year) {
    char text[16];
    std::snprintf(text, sizeof text, "ROK%.4d", year);
    return text;
}

std::string MonthFileName(int month) {
    char text[24];
    std::snprintf(text, sizeof text, "Mesic%.2d.zek", month);
    return text;
}

std::string MonthFilePath(const std::string& dir, int year, int month) {
    return ResolvePathNoCase(JoinPath(JoinPath(dir, YearFolderName(year)), MonthFileName(month)));
}

void ReadRecordFile(TRecordList& List, const std::string& FileName) {
    ForEachStoredRecord(FileName, [&](const TRegulatorRecord& r) { List.push_back(r); });
}

void FreeRecordList(TRecordList& List) {
    List.clear();
    List.shrink_to_fit();
}

void CopyRecordList(const TRecordList& Source, TRecordList& Dest, bool ClearFirst) {
    if (ClearFirst)
        FreeRecordList(Dest);
    Dest.insert(Dest.end(), Source.begin(), Source.end());
}

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
    ForEachStoredRecord(FileName, [&](const TRegulatorRecord& r) {
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

TDaySet ScanRecordDays(const std::string& FileName) {
    TDaySet days;
    ForEachStoredRecord(FileName, [&](const TRegulatorRecord& r) { days.set(r.Day); });
    return days;
}

} // namespace zeko
