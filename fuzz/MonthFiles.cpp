// Fuzz entry of the month files: the readers and the merge of the saving thread.
//
// Input: byte 0 gives the number of new records (0..16); 5 bytes each make them
// (day and ring place, hour, minute, second, input-1 count; March 2024, invalid
// stamps included); the remaining bytes are the stored month file.
#include "fuzz/FuzzEntries.h"
#include "fuzz/ScratchFiles.h"

#include "core/ChannelSamples.h"
#include "core/RecordSaving.h"
#include "core/RecordStore.h"

#include <algorithm>
#include <set>

namespace zeko::fuzz {

namespace {

constexpr size_t NewRecordBytes = 5;
constexpr int MaxNewRecords = 16;

TRegulatorRecord Stamped(const uint8_t* p) {
    TRegulatorRecord r;
    r.Year = 24;
    r.Month = 3;
    r.Day = static_cast<uint8_t>(p[0] % 34);
    r.Hour = static_cast<uint8_t>(p[1] % 25);
    r.Minute = static_cast<uint8_t>(p[2] % 61);
    r.Second = static_cast<uint8_t>(p[3] % 61);
    r.Counts = {p[4], 1, 2, 3};
    r.Constants = {2.5f, 1.0f, 1.0f, 1.0f};
    return r;
}

bool ValidStamp(const TRegulatorRecord& r) {
    int64_t seconds = 0;
    return RecordSeconds(r, seconds);
}

// The first record of the list that is the record `r` (its stamp and ring index), or
// the list's end.
TRecordList::const_iterator FirstOf(const TRecordList& list, const TRegulatorRecord& r) {
    const TRecordIdentity id = IdentityOf(r);
    return std::find_if(list.begin(), list.end(), [id](const TRegulatorRecord& s) { return IdentityOf(s) == id; });
}

size_t CountOf(const TRecordList& list, const TRegulatorRecord& r) {
    const TRecordIdentity id = IdentityOf(r);
    return static_cast<size_t>(
        std::count_if(list.begin(), list.end(), [id](const TRegulatorRecord& s) { return IdentityOf(s) == id; }));
}

// Every reader sees the whole records of the file, the samples only those with a
// valid stamp.
bool ReadersAgree(const std::string& path, const TRecordList& stored) {
    TSeriesLists lists;
    TChannelMap map{};
    for (size_t k = 0; k < RecordInputs; ++k)
        map[k] = static_cast<uint8_t>(k + 1);
    ReadMonthFile(path, lists, map, EncodeDate(MinYear, 1, 1), EncodeDate(MaxYear, 12, 31) + EncodeTime(23, 59, 59));
    const auto valid = static_cast<size_t>(std::count_if(stored.begin(), stored.end(), ValidStamp));
    TDaySet days;
    for (const TRegulatorRecord& r : stored)
        days.set(r.Day);
    return std::all_of(lists.begin(), lists.begin() + RecordInputs,
                       [valid](const TSampleList& l) { return l.size() == valid; }) &&
           ScanRecordDays(path) == days;
}

} // namespace

bool MonthFileMerge(const uint8_t* data, size_t size) {
    if (size == 0)
        return true;
    const size_t wanted = data[0] % (MaxNewRecords + 1);
    const size_t count = std::min(wanted, (size - 1) / NewRecordBytes);
    const size_t fileStart = 1 + count * NewRecordBytes;
    const std::string path = WriteScratchFile(MonthFileName(3), data + fileStart, size - fileStart);

    TRecordList before;
    ReadRecordFile(before, path);
    if (before.size() != (size - fileStart) / RecordBytes || !ReadersAgree(path, before))
        return false;
    // A new record lies at the ring place of the first stored record of its stamp (that
    // record read again), or up to 7 places after it (the stamp recorded again).
    TRecordList added;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = data + 1 + i * NewRecordBytes;
        TRegulatorRecord r = Stamped(p);
        const uint64_t stamp = TimeStampKey(r);
        const auto stored = std::find_if(before.begin(), before.end(),
                                         [stamp](const TRegulatorRecord& s) { return TimeStampKey(s) == stamp; });
        r.Index = (stored != before.end() ? stored->Index : 0u) + p[0] / 34u;
        added.push_back(r);
    }

    TSaveOutcome outcome;
    TRecordList list = added;
    try {
        SaveRecords(list, ScratchDir(), &outcome);
    } catch (const std::exception&) {
        return false;  // a small file in a folder of our own is always stored
    }
    TRecordList after;
    ReadRecordFile(after, path);
    const auto invalid = static_cast<size_t>(std::count_if(added.begin(), added.end(), [](const TRegulatorRecord& r) {
        return !ValidStamp(r);
    }));
    if (outcome.Appended + outcome.Replaced + outcome.Unchanged + outcome.Skipped != added.size() ||
        outcome.Skipped != invalid || after.size() != before.size() + outcome.Appended || !ReadersAgree(path, after))
        return false;

    // What was stored stays, or is replaced by the same record read again (compared
    // as bytes: a constant that is no number equals nothing).
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (after[i].Bytes() == before[i].Bytes())
            continue;
        ++changed;
        if (!(IdentityOf(after[i]) == IdentityOf(before[i])))
            return false;
    }
    if (changed > outcome.Replaced)
        return false;
    // Each new record is stored once, with a value at least as large as the new one,
    // also one of a stamp stored already at another ring place.
    std::set<std::pair<uint64_t, uint32_t>> appended;
    for (size_t i = before.size(); i < after.size(); ++i)
        if (!appended.insert({TimeStampKey(after[i]), after[i].Index}).second || FirstOf(before, after[i]) != before.end())
            return false;
    for (const TRegulatorRecord& r : added) {
        if (!ValidStamp(r))
            continue;
        const auto kept = FirstOf(after, r);
        if (kept == after.end() || RecordInput1Value(*kept) < RecordInput1Value(r))
            return false;
        if (FirstOf(before, r) == before.end() && CountOf(after, r) != 1)
            return false;
    }
    return true;
}

} // namespace zeko::fuzz
