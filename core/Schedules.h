#pragma once
// The tariff and shift schedules: the history files (core/HistoryFormat.h), the
// choice of the table valid at a date, the tariffs and shifts a minute of day lies
// in, the interval texts of the tables and reports, and the one-value INI writer
// of the schedule commands.
//
// The evaluation takes one TScheduleLookup per evaluation: it reads each history
// file once, and a file that cannot be read is reported once ("Chyba při načítání
// historie tarifů/směn!" with the file and the reason) and counts as empty, so the
// default table applies. A damaged record (core/HistoryFormat.h,
// ReadHistoryRecords) is reported the same way, with its place, and never used;
// the intact records before and after it still are. Where
// no history record applies, the program-wide DefaultTariffTable and
// DefaultShiftTable are used; nothing here changes them.
#include "core/HistoryFormat.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zeko {

class TIniFile;

constexpr const char* TariffHistoryFile = "Tarify.his";
constexpr const char* ShiftHistoryFile = "Smeny.his";
constexpr const char* HistoryLoadErrorText = "Chyba při načítání historie tarifů/směn!";

// The tables set at start: shifts 6:00-14:00, 14:00-22:00, 22:00-6:00 and no
// tariff band in use. Main thread only.
extern TShiftTable DefaultShiftTable;
extern TTariffTable DefaultTariffTable;
TShiftTable StartShiftTable();
TTariffTable StartTariffTable();
void InitDefaultSchedules();  // both defaults := the start tables

// A history file as it was read: the errno of a file that exists but could not be
// read (0 when it was read or is missing) and its damaged places.
struct THistoryLoad {
    std::string FileName;
    size_t BodySize = 0;
    int ReadError = 0;
    THistoryDamageList Damage;
    bool Whole() const { return ReadError == 0 && Damage.empty(); }
};

// Appends the intact records of the file, whose bodies are BodySize bytes (see
// ReadHistoryRecords); nothing when it does not exist or cannot be read.
THistoryLoad ReadHistoryFile(THistoryList& List, const std::string& FileName, size_t BodySize);
// The same; false when a damaged record was met, EInOutError when the file cannot
// be read.
bool LoadHistory(THistoryList& List, const std::string& FileName, size_t BodySize);

// What is wrong with a file that was not read whole: its name, then one line per
// damaged place (the first few) or the reason it could not be read.
std::string HistoryFaultText(const THistoryLoad& Load);
// The error box's text: HistoryLoadErrorText, then HistoryFaultText of each file
// that was not read whole.
std::string HistoryLoadMessage(const std::vector<THistoryLoad>& Loads);
void FreeHistory(THistoryList& List);
// Appends one record (with Rewrite, or when the file is missing, to a new empty
// file; the folder is created when missing). False on any failure.
bool AppendHistoryRecord(const std::string& FileName, const THistoryRecord& Record, bool Rewrite);
// Replaces the file by the records of List, in order; an empty List leaves the file
// as it is. The new content is written beside the file and renamed over it, so a
// failure (EInOutError) leaves the old file whole.
void SaveHistory(const THistoryList& List, const std::string& FileName);

// The record valid at Date: the latest one that starts at or before Date, else the
// earliest one after it; on equal dates the first in the list. nullptr for none.
const THistoryRecord* ValidHistoryRecord(const THistoryList& List, TDateTime Date);

// Body := Default, then the body of the record of the file valid at Date over it;
// records whose body is not of Default's size are damage. A file that cannot be
// read is reported and leaves Body at Default; a damaged record is reported and
// the valid record is chosen among the intact ones. The answer is false when
// something was reported.
bool SelectHistoryRecord(std::vector<uint8_t>& Body, const std::vector<uint8_t>& Default, TDateTime Date,
                         const std::string& FileName);
// The same as tables; the file names default to those of the program directory.
TTariffTable SelectTariffTable(TDateTime Date, const std::string& FileName = "");
TShiftTable SelectShiftTable(TDateTime Date, const std::string& FileName = "");

// Whether a minute of day lies in a band: both edges are first moved to the end of
// their quarter-hour window (06:00 -> 06:07); then start < end: start <= m < end;
// start > end (over midnight): m >= start or m < end; start = end: always.
bool MinuteInBand(uint16_t Start, uint16_t End, int Minute);
// Bit s - 1 for each shift s in use that holds Minute.
uint8_t ShiftMask(const TShiftTable& Table, int Minute);
// Bit t - 1 for each tariff t with a zone in use of DayType (0, 1) that holds Minute.
uint8_t TariffMask(const TTariffTable& Table, int DayType, int Minute);

class TScheduleLookup {
public:
    // Empty names: "Tarify.his" and "Smeny.his" of the program directory.
    explicit TScheduleLookup(std::string tariffFile = "", std::string shiftFile = "");

    TTariffTable TariffTableAt(TDateTime Date);
    TShiftTable ShiftTableAt(TDateTime Date);
    // Mask of the shifts holding Minute in the table valid at Date; true when any.
    bool ShiftMaskAt(int Minute, uint8_t& Mask, TDateTime Date);
    // Mask of the tariffs of DayType holding Minute in the table valid at Date.
    bool TariffMaskAt(int Minute, uint8_t& Mask, int DayType, TDateTime Date);

    bool Reported() const { return reported_; }

private:
    // Both files at the first use of either, so that what is wrong with them is
    // told in one box.
    void LoadBoth();
    // The decoded table of the list valid at Date: a month's evaluation asks for
    // one per record, so the bodies are decoded once, at loading.
    template <typename Table>
    const Table& Decoded(const THistoryList& list, const std::vector<Table>& tables, TDateTime Date,
                         const Table& fallback);

    std::string tariffFile_, shiftFile_;
    bool loaded_ = false;
    THistoryList tariffs_, shifts_;
    std::vector<TTariffTable> tariffTables_;
    std::vector<TShiftTable> shiftTables_;
    bool reported_ = false;
};

// Writes one value into an INI file, creating the file's folder when missing: an
// integer, a text, a floating-point number or a Boolean ("1"/"0"). The INI class's
// errors (EIniFileException) reach the caller.
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key, int Value);
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   long long Value);
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   const std::string& Value);
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   const char* Value);
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key,
                   double Value);
void WriteIniValue(const std::string& FileName, const std::string& Section, const std::string& Key, bool Value);
// Several values at once: `write` sets them in the file (its folder created when
// missing), which is then written once.
void WriteIniValues(const std::string& FileName, const std::function<void(TIniFile&)>& write);

// "hh:mm-hh:mm" of a band's start and end minutes of the day.
std::string BandText(uint16_t start, uint16_t end);
// "hh:mm-hh:mm" of shift N (1..3); "-" when it is not in use.
std::string ShiftIntervalText(int N, const TShiftTable& Table);
// The same for band Band (1..4) of tariff Tariff (1..3) of the day type.
std::string TariffIntervalText(int Tariff, int Band, int DayType, const TTariffTable& Table);

} // namespace zeko
