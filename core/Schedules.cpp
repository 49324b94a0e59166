#include "core/Schedules.h"

#include "core/FileIO.h"
#include "core/QuarterHours.h"
#include "core/TextHelpers.h"
#include "platform/Exceptions.h"
#include "platform/FileErrorText.h"
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

void ReportLoadError(const std::vector<THistoryLoad>& loads) {
    MessageDlg(HistoryLoadMessage(loads), TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
}

// The intact records of the file, none when it cannot be read.
THistoryList LoadOrEmpty(const std::string& fileName, size_t bodySize, THistoryLoad& load) {
    THistoryList list;
    load = ReadHistoryFile(list, fileName, bodySize);
    return list;
}

std::string FaultText(const THistoryDamage& d, size_t bodySize) {
    switch (d.Fault) {
    case THistoryFault::BodyLength:
        return "délka dat " + std::to_string(d.Found) + " místo " + std::to_string(bodySize);
    case THistoryFault::Marker: return "značka " + std::to_string(d.Found) + " místo " + std::to_string(HistoryMarker);
    case THistoryFault::ValidFrom: return "datum platnosti není platné datum";
    case THistoryFault::CutShort: break;
    }
    return "soubor končí uprostřed záznamu";
}

// Damaged places named one by one; a file of nothing but damage says how many more.
constexpr size_t DamageLinesShown = 3;

template <typename Table>
Table TableAt(const THistoryList& list, TDateTime date, const Table& fallback) {
    Table table = fallback;
    if (const THistoryRecord* r = ValidHistoryRecord(list, date))
        table.ReadBody(r->Body.data(), r->Body.size());
    return table;
}

template <typename Table>
Table SelectTable(TDateTime date, const std::string& fileName, const Table& fallback) {
    THistoryLoad load;
    const THistoryList list = LoadOrEmpty(fileName, Table::BodySize, load);
    if (!load.Whole())
        ReportLoadError({load});
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

THistoryLoad ReadHistoryFile(THistoryList& List, const std::string& FileName, size_t BodySize) {
    THistoryLoad load;
    load.FileName = ResolvePathNoCase(FileName);
    load.BodySize = BodySize;
    std::vector<uint8_t> bytes;
    try {
        if (!ReadWholeFile(load.FileName, bytes))
            return load;
    } catch (const EInOutError& e) {
        load.ReadError = e.ErrorCode != 0 ? e.ErrorCode : EIO;
        return load;
    }
    load.Damage = ReadHistoryRecords(bytes.data(), bytes.size(), BodySize, List);
    return load;
}

bool LoadHistory(THistoryList& List, const std::string& FileName, size_t BodySize) {
    const THistoryLoad load = ReadHistoryFile(List, FileName, BodySize);
    if (load.ReadError != 0)
        RaiseInOutError("Nelze číst soubor", load.FileName, load.ReadError);
    return load.Damage.empty();
}

std::string HistoryFaultText(const THistoryLoad& Load) {
    std::string text = Load.FileName;
    if (Load.ReadError != 0)
        return text + "\nSoubor nelze přečíst. " + ReadFailureText(Load.ReadError);
    for (size_t i = 0; i < Load.Damage.size() && i < DamageLinesShown; ++i) {
        const THistoryDamage& d = Load.Damage[i];
        // the no-break space keeps the count beside its words when the message box wraps
        text += "\nPoškozený záznam na pozici " + std::to_string(d.Offset) +
                " (vynecháno bajtů:\u00a0" + std::to_string(d.Length) + "): " + FaultText(d, Load.BodySize) + ".";
    }
    if (Load.Damage.size() > DamageLinesShown)
        text += "\nDalší poškozená místa: " + std::to_string(Load.Damage.size() - DamageLinesShown) + ".";
    return text + "\nPoškozená místa nebyla použita.";
}

std::string HistoryLoadMessage(const std::vector<THistoryLoad>& Loads) {
    std::string text = HistoryLoadErrorText;
    for (const THistoryLoad& load : Loads)
        if (!load.Whole())
            text += "\n" + HistoryFaultText(load);
    return text;
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
    THistoryLoad load;
    const THistoryList list = LoadOrEmpty(FileName, Default.size(), load);
    if (!load.Whole())
        ReportLoadError({load});
    if (const THistoryRecord* r = ValidHistoryRecord(list, Date))
        Body = r->Body;
    return load.Whole();
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

namespace {

// Each record's body decoded once, beside its record.
template <typename Table>
std::vector<Table> DecodeAll(const THistoryList& list, const Table& fallback) {
    std::vector<Table> tables(list.size(), fallback);
    for (size_t i = 0; i < list.size(); ++i)
        tables[i].ReadBody(list[i].Body.data(), list[i].Body.size());
    return tables;
}

} // namespace

void TScheduleLookup::LoadBoth() {
    if (loaded_)
        return;
    loaded_ = true;
    std::vector<THistoryLoad> loads(2);
    tariffs_ = LoadOrEmpty(tariffFile_, TTariffTable::BodySize, loads[0]);
    shifts_ = LoadOrEmpty(shiftFile_, TShiftTable::BodySize, loads[1]);
    tariffTables_ = DecodeAll(tariffs_, DefaultTariffTable);
    shiftTables_ = DecodeAll(shifts_, DefaultShiftTable);
    if (!loads[0].Whole() || !loads[1].Whole()) {
        reported_ = true;
        ReportLoadError(loads);
    }
}

template <typename Table>
const Table& TScheduleLookup::Decoded(const THistoryList& list, const std::vector<Table>& tables, TDateTime Date,
                                      const Table& fallback) {
    const THistoryRecord* r = ValidHistoryRecord(list, Date);
    return r ? tables[static_cast<size_t>(r - list.data())] : fallback;
}

TTariffTable TScheduleLookup::TariffTableAt(TDateTime Date) {
    LoadBoth();
    return Decoded(tariffs_, tariffTables_, Date, DefaultTariffTable);
}

TShiftTable TScheduleLookup::ShiftTableAt(TDateTime Date) {
    LoadBoth();
    return Decoded(shifts_, shiftTables_, Date, DefaultShiftTable);
}

bool TScheduleLookup::ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date) {
    LoadBoth();
    Mask = ShiftMask(Decoded(shifts_, shiftTables_, Date, DefaultShiftTable), Minute);
    return Mask != 0;
}

bool TScheduleLookup::TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date) {
    LoadBoth();
    Mask = TariffMask(Decoded(tariffs_, tariffTables_, Date, DefaultTariffTable), DayType, Minute);
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

void WriteIniValues(const std::string& FileName, const std::function<void(TIniFile&)>& write) {
    TIniFile ini = OpenIniForWriting(FileName);
    ini.BeginUpdate();
    write(ini);
    ini.EndUpdate();
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
