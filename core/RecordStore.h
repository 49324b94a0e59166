#pragma once
// The month files of downloaded records and their readers. A month file is a file
// of whole 100-byte records (core/RegulatorRecord.h) without a header, in the order
// in which they were first stored, at <program dir>/ROK<yyyy>/Mesic<mm>.zek. Folder
// and file names are found without regard to letter case. A torn record at the end
// of a file (its length no multiple of 100) is not read.
//
// The readers run in the main thread and do not wait for a running save
// (core/RecordSaving.h); they read whole records only. The readers of per-channel
// samples are core/ChannelSamples.h.
#include "core/RecordMemory.h"
#include "core/RegulatorRecord.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeko {

using TRecordList = std::vector<TRegulatorRecord>;

// Size of a stored record throughout the program.
constexpr int RecordSize = static_cast<int>(RecordBytes);
// The records read so far by the download (the conversation's, while the main
// window keeps one; nullptr otherwise); main thread only.
extern TRecordList* DownloadedRecords;

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
// Calls `each` with every whole record of the file in file order; nothing when the
// file does not exist. EInOutError when it exists but cannot be read.
void ForEachRecordOf(const std::string& FileName, const std::function<void(const TRegulatorRecord&)>& each);

// The day-of-month bytes of all records of the file; empty when it does not exist.
using TDaySet = std::bitset<256>;
TDaySet ScanRecordDays(const std::string& FileName);

} // namespace zeko
