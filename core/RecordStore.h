#pragma once
// The month files of downloaded records and their readers. A month file is a file
// of whole 100-byte records (core/RegulatorRecord.h) without a header, in the order
// in which they were first stored, at <program dir>/ROK<yyyy>/Mesic<mm>.zek. Folder
// and file names are found without regard to letter case. A torn record at the end
// of a file (its length no multiple of 100) is not read.
//
// The readers run in the main thread and do not wait for a running save
// (core/RecordSaving.h); they read whole records only.
#include "core/GraphView.h"
#include "core/RegulatorRecord.h"
#include "platform/DateTime.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

using TRecordList = std::vector<TRegulatorRecord>;

// Size of a stored record throughout the program.
constexpr int RecordSize = static_cast<int>(RecordBytes);
// The records read so far by the download; main thread only.
extern TRecordList DownloadedRecords;

// Places of the regulator's record ring; pages of 528 bytes hold 19 records of 27.
constexpr uint32_t RingRecords = 75325;
constexpr uint32_t RingPageBytes = 528;
constexpr uint32_t RingRecordsPerPage = 19;
constexpr uint32_t WireRecordBytes = 27;
// Byte address of record n in the regulator's record memory.
uint32_t RecordAddress(uint32_t n);

// The most records one month file can hold. The regulator stores a record every
// quarter hour, so a month of its clock brings at most 31 × 96 = 2976 records with
// stamps of their own; more come only when its clock was set back into a month
// already stored, and one download brings at most the whole ring. A full ring,
// 75,325 records (7,532,500 bytes), is 25 months of quarter hours: room for all a
// real regulator can put into one month, while a larger file is damage or no month
// file at all. Such a file is refused rather than read into memory whole (half a
// minute and a gigabyte for a file of some), and a save never makes a file larger.
constexpr uint32_t MaxMonthFileRecords = RingRecords;
constexpr uint64_t MaxMonthFileBytes = uint64_t(MaxMonthFileRecords) * RecordBytes;
// The errors of a month file over that bound, naming the file: one found so large
// (EInOutError, no record of it read), and one a save would have to make larger.
[[noreturn]] void RaiseMonthFileTooLarge(const std::string& path, uint64_t size);
[[noreturn]] void RaiseMonthFileFull(const std::string& path);

// "ROK2024", "Mesic03.zek" as the saver names them.
std::string YearFolderName(int year);
std::string MonthFileName(int month);
// <dir>/ROK<yyyy>/Mesic<mm>.zek with each part that exists in another letter case
// taken as it exists; `dir` is the program directory (ProgramDir()) as a rule.
std::string MonthFilePath(const std::string& dir, int year, int month);

// Appends every whole record of the file to List; nothing when it does not exist.
// EInOutError when it exists but cannot be read, or is larger than a month file can
// be (then nothing is appended). The same holds for every reader below.
void ReadRecordFile(TRecordList& List, const std::string& FileName);
void FreeRecordList(TRecordList& List);
void CopyRecordList(const TRecordList& Source, TRecordList& Dest, bool ClearFirst);

// One value of one input at one record time.
struct TChannelSample {
    uint16_t Hour = 0, Minute = 0, Second = 0;
    uint16_t Day = 0, Month = 0, Year = 0;  // Year: two digits, as stored
    uint16_t Status = 0;                    // the record's status word
    double Value = 0;
    uint8_t Flag = 0;
};
using TSampleList = std::vector<TChannelSample>;
// List s - 1 holds the samples of series s.
using TSeriesLists = std::array<TSampleList, GraphSeriesCount>;
// Entry k (input 0..3): the series 1..9 that shows input k, 0 for none; the
// remaining entries are not used.
using TChannelMap = std::array<uint8_t, GraphSeriesCount>;

// The inputs the view shows; a later series that names the same input wins.
TChannelMap ChannelMapOf(const TGraphView& View);
// True when the map names a series for any input.
bool MapsAnyInput(const TChannelMap& ChannelMap);

// For each record of the file with From <= time <= To (whole seconds, both ends
// included) appends one sample per mapped input, in input order, to its series'
// list. Records whose stamp is no valid date and time are skipped; a missing file
// adds nothing.
void ReadMonthFile(const std::string& FileName, TSeriesLists& Lists, const TChannelMap& ChannelMap,
                   TDateTime From, TDateTime To);
// The months whose files a range reads: from the month of From through the last
// month whose first day is not after To (at least the month of From).
struct TYearMonth {
    int Year = 0, Month = 0;
};
std::vector<TYearMonth> MonthsOfRange(TDateTime From, TDateTime To);
// Reads the month files of `Dir` (the program directory) of MonthsOfRange(From, To);
// nothing when the view maps no input.
void ReadRecordRange(const TGraphView& View, TSeriesLists& Lists, const std::string& Dir,
                     TDateTime From, TDateTime To);

// The day-of-month bytes of all records of the file; empty when it does not exist.
using TDaySet = std::bitset<256>;
TDaySet ScanRecordDays(const std::string& FileName);

} // namespace zeko
