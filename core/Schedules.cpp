#include "core/Schedules.h"

#include "core/FileIO.h"
#include "core/QuarterHours.h"
#include "core/TextHelpers.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zeko {

TShiftTable DefaultShiftTable = StartShiftTable();
TTariffTable DefaultTariffTable = StartTariffTable();

namespace {

std::string OrProgramFile(const std::string& fileName, const char* name) {
    return fileName.empty() ? ProgramFile(name) : fileName;
}

void ReportLoadError() { MessageDlg(HistoryLoadErrorText, TMsgDlgType::mtError, TMsgDlgButtons::mbOK); }

// The intact records of the file; `failed` set when it cannot be read (then none)
// or holds a damaged record.
THistoryList LoadOrEmpty(const std::string& fileName, size_t bodySize, bool& failed) {
    THistoryList list;
    try {
        failed = !LoadHistory(list, fileName, bodySize);
    } catch (const EInOutError&) {
        failed = true;
        list.clear();
    }
    return list;
}

template <typename Table>
Table TableAt(const THistoryList& list, TDateTime date, const Table& fallback) {
    Table table = fallback;
    if (const THistoryRecord* r = ValidHistoryRecord(list, date))
        table.ReadBody(r->Body.data(), r->Body.size());
    return table;
}

template <typename Table>
Table SelectTable(TDateTime date, const std::string& fileName, const Table& fallback) {
    bool failed = false;
    const THistoryList list = LoadOrEmpty(fileName, Table::BodySize, failed);
    if (failed)
        ReportLoadError();
    return TableAt(list, date, fallback);
}

int EdgeMinute(uint16_t minute) { return QuarterWindowEndMinute(minute / 60, minute % 60, 0); }

// The INI file of `fileName`, its folder created first.
TIniFile OpenIniForWriting(const std::string& fileName) {
    if (!ForceFileDirectory(fileName))
        throw EIniFileException("Nelze vytvořit složku " + ExtractFileDir(fileName));
    return TIniFile(fileName);
}

} // namespace

std::string BandText(uint16_t start, uint16_t end) { return MinutesToHHMM(start) + "-" + MinutesToHHMM(end); }

TShiftTable StartShiftTable() {
    TShiftTable table;
    table.Shifts = {TShiftBand{360, 840}, TShiftBand{840, 1320}, TShiftBand{1320, 360}};
    return table;
}

TTariffTable StartTariffTable() { return TTariffTable{}; }  // every zone not in use

void InitDefaultSchedules() {
    DefaultShiftTable = StartShiftTable();
    DefaultTariffTable = StartTariffTable();
}

bool LoadHistory(THistoryList& List, const std::string& FileName, size_t BodySize) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(ResolvePathNoCase(FileName), bytes))
        return true;
    return ParseHistory(bytes.data(), bytes.size(), BodySize, List);
}

void FreeHistory(THistoryList& List) { List.clear(); }

bool AppendHistoryRecord(const std::string& FileName, const THistoryRecord& Record, bool Rewrite) {
    const std::string path = ResolvePathNoCase(FileName);
    if (!ForceFileDirectory(path))
        return false;
    std::vector<uint8_t> bytes;
    Record.AppendBytes(bytes);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (Rewrite ? O_TRUNC : O_APPEND), 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAllBytes(fd, bytes.data(), bytes.size()) == 0;
    return ::close(fd) == 0 && written;
}

void SaveHistory(const THistoryList& List, const std::string& FileName) {
    if (List.empty())
        return;
    const std::string path = ResolvePathNoCase(FileName);
    if (!ForceFileDirectory(path))
        RaiseInOutError("Nelze vytvořit složku", ExtractFileDir(path), errno);
    std::vector<uint8_t> bytes;
    for (const THistoryRecord& r : List)
        r.AppendBytes(bytes);
    if (const int error = ReplaceFileContent(path, bytes.data(), bytes.size(), true); error != 0)
        RaiseInOutError("Nelze zapsat do souboru", path, error);
}

const THistoryRecord* ValidHistoryRecord(const THistoryList& List, TDateTime Date) {
    const THistoryRecord* before = nullptr;
    const THistoryRecord* after = nullptr;
    static const TDateTime noRecordBefore = EncodeDate(1800, 1, 1), noRecordAfter = EncodeDate(3000, 1, 1);
    TDateTime best = noRecordBefore, earliest = noRecordAfter;
    for (const THistoryRecord& r : List) {
        if (r.ValidFrom <= Date && r.ValidFrom > best) {
            before = &r;
            best = r.ValidFrom;
        }
        if (r.ValidFrom > Date && r.ValidFrom < earliest) {
            after = &r;
            earliest = r.ValidFrom;
        }
    }
    return before ? before : after;
}

bool SelectHistoryRecord(std::vector<uint8_t>& Body, const std::vector<uint8_t>& Default, TDateTime Date,
                         const std::string& FileName) {
    Body = Default;
    bool failed = false;
    const THistoryList list = LoadOrEmpty(FileName, Default.size(), failed);
    if (failed)
        ReportLoadError();
    if (const THistoryRecord* r = ValidHistoryRecord(list, Date))
        Body = r->Body;
    return !failed;
}

TTariffTable SelectTariffTable(TDateTime Date, const std::string& FileName) {
    return SelectTable(Date, OrProgramFile(FileName, TariffHistoryFile), DefaultTariffTable);
}

TShiftTable SelectShiftTable(TDateTime Date, const std::string& FileName) {
    return SelectTable(Date, OrProgramFile(FileName, ShiftHistoryFile), DefaultShiftTable);
}

bool MinuteInBand(uint16_t Start, uint16_t End, int Minute) {
    const int s = EdgeMinute(Start), e = EdgeMinute(End);
    if (s < e)
        return s <= Minute && Minute < e;
    if (s > e)
        return Minute >= s || Minute < e;
    return true;
}

uint8_t ShiftMask(const TShiftTable& Table, int Minute) {
    uint8_t mask = 0;
    for (size_t s = 0; s < Table.Shifts.size(); ++s) {
        const TShiftBand& band = Table.Shifts[s];
        if (band.InUse() && MinuteInBand(band.Start, band.End, Minute))
            mask |= static_cast<uint8_t>(1u << s);
    }
    return mask;
}

uint8_t TariffMask(const TTariffTable& Table, int DayType, int Minute) {
    uint8_t mask = 0;
    const auto& zones = Table.Zones.at(static_cast<size_t>(DayType));
    for (size_t z = 0; z < zones.size(); ++z) {
        if (zones[z].InUse() && MinuteInBand(zones[z].Start, zones[z].End, Minute))
            mask |= static_cast<uint8_t>(1u << (z / TariffLayout::BandsPerTariff));
    }
    return mask;
}

TScheduleLookup::TScheduleLookup(std::string tariffFile, std::string shiftFile)
    : tariffFile_(OrProgramFile(tariffFile, TariffHistoryFile)),
      shiftFile_(OrProgramFile(shiftFile, ShiftHistoryFile)) {}

const THistoryList& TScheduleLookup::History(std::optional<THistoryList>& cache, const std::string& fileName,
                                             size_t bodySize) {
    if (!cache) {
        bool failed = false;
        cache = LoadOrEmpty(fileName, bodySize, failed);
        if (failed && !reported_) {
            reported_ = true;
            ReportLoadError();
        }
    }
    return *cache;
}

template <typename Table>
const Table& TScheduleLookup::Decoded(std::optional<THistoryList>& cache, std::vector<Table>& tables,
                                      const std::string& fileName, TDateTime Date, const Table& fallback) {
    const THistoryList& list = History(cache, fileName, Table::BodySize);
    if (tables.size() != list.size()) {
        tables.clear();
        for (const THistoryRecord& r : list) {
            tables.push_back(fallback);
            tables.back().ReadBody(r.Body.data(), r.Body.size());
        }
    }
    const THistoryRecord* r = ValidHistoryRecord(list, Date);
    return r ? tables[static_cast<size_t>(r - list.data())] : fallback;
}

TTariffTable TScheduleLookup::TariffTableAt(TDateTime Date) {
    return Decoded(tariffs_, tariffTables_, tariffFile_, Date, DefaultTariffTable);
}

TShiftTable TScheduleLookup::ShiftTableAt(TDateTime Date) {
    return Decoded(shifts_, shiftTables_, shiftFile_, Date, DefaultShiftTable);
}

bool TScheduleLookup::ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) {
    Mask = ShiftMask(Decoded(shifts_, shiftTables_, shiftFile_, Date, DefaultShiftTable), Minute);
    return Mask != 0;
}

bool TScheduleLookup::TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) {
    Mask = TariffMask(Decoded(tariffs_, tariffTables_, tariffFile_, Date, DefaultTariffTable), DayType, Minute);
    return Mask != 0;
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key, int Value) {
    WriteIniValue(FileName, Section, Key, static_cast<long long>(Value));
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   long long Value) {
    OpenIniForWriting(FileName).WriteInteger(Section, Key, Value);
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   const std::string& Value) {
    OpenIniForWriting(FileName).WriteString(Section, Key, Value);
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   const char* Value) {
    WriteIniValue(FileName, Section, Key, std::string(Value));
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   double Value) {
    OpenIniForWriting(FileName).WriteFloat(Section, Key, Value);
}

void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key, bool Value) {
    OpenIniForWriting(FileName).WriteBool(Section, Key, Value);
}

std::string ShiftIntervalText(int N, const TShiftTable& Table) {
    const TShiftBand& band = Table.Shifts.at(static_cast<size_t>(N - 1));
    return band.InUse() ? BandText(band.Start, band.End) : "-";
}

std::string TariffIntervalText(int Tariff, int Band, int DayType, const TTariffTable& Table) {
    const TTariffZone& zone = Table.Zone(DayType, Tariff, Band);
    return zone.InUse() ? BandText(zone.Start, zone.End) : "-";
}

} // namespace zeko
