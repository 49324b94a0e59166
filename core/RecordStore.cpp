#include "core/RecordStore.h"

#include "core/Calendar.h"
#include "core/FileIO.h"
#include "platform/Exceptions.h"
#include "platform/ProgramDir.h"

#include <cerrno>
#include <cstdio>

namespace zeko {

TRecordList* DownloadedRecords = nullptr;

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

void ForEachRecordOf(const std::string& FileName, const std::function<void(const TRegulatorRecord&)>& each) {
    ForEachStoredRecord(FileName, each);
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

TDaySet ScanRecordDays(const std::string& FileName) {
    TDaySet days;
    ForEachStoredRecord(FileName, [&](const TRegulatorRecord& r) { days.set(r.Day); });
    return days;
}

} // namespace zeko
