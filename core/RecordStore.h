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

// "ROK2024", "Mesic03.zek" as the saver names them.
std::string YearFolderName(int year);
std::string MonthFileName(int month);
// <dir>/ROK<yyyy>/Mesic<mm>.zek with each part that exists in another letter case
// taken as it exists; `dir` is the program directory (ProgramDir()) as a rule.
std::string MonthFilePath(const std::string& dir, int year, int month);

// Appends every whole record of the file to List; nothing when it does not exist.
// EInOutError when it exists but cannot be read.
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
