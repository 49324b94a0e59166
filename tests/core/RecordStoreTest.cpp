#include "core/RecordStore.h"

#include "RecordSamples.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace zeko;
using zeko::test::BytesOf;
using zeko::test::MakeRecord;
using zeko::test::TempDir;

TEST(RecordAddress, NineteenRecordsOfTwentySevenBytesPerPageOf528) {
    EXPECT_EQ(RecordAddress(0), 0u);
    EXPECT_EQ(RecordAddress(18), 486u);
    EXPECT_EQ(RecordAddress(19), 528u);
    EXPECT_EQ(RecordAddress(2358), 0xFFF6u);
    EXPECT_EQ(RecordAddress(2359), 0x10011u);
    EXPECT_EQ(RecordAddress(RingRecords - 1), 3964u * 528 + 8 * 27);
}

TEST(MonthFilePath, NamesYearFolderAndMonthFile) {
    TempDir dir;
    EXPECT_EQ(MonthFilePath(dir.Path(), 2024, 3), dir.Path() + "ROK2024/Mesic03.zek");
    EXPECT_EQ(MonthFilePath(dir.Path(), 1999, 12), dir.Path() + "ROK1999/Mesic12.zek");
}

TEST(MonthFilePath, TakesFolderAndFileAsTheyExistInAnotherCase) {
    TempDir dir;
    dir.Write("rok2024/mesic03.zek", "");
    EXPECT_EQ(MonthFilePath(dir.Path(), 2024, 3), dir.Path() + "rok2024/mesic03.zek");
    EXPECT_EQ(MonthFilePath(dir.Path(), 2024, 4), dir.Path() + "rok2024/Mesic04.zek");
}

TEST(ReadRecordFile, AppendsEveryWholeRecordAndIgnoresATornTail) {
    TempDir dir;
    const TRecordList stored = {MakeRecord(24, 3, 1, 0, 7, 31, 1), MakeRecord(24, 3, 1, 0, 22, 31, 2)};
    dir.Write("Mesic03.zek", BytesOf(stored) + std::string(37, '\x55'));
    TRecordList list = {MakeRecord(24, 2, 1, 0, 0, 0)};
    ReadRecordFile(list, dir / "Mesic03.zek");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1], stored[0]);
    EXPECT_EQ(list[2], stored[1]);
}

TEST(ReadRecordFile, MissingFileAddsNothingAndAFolderIsAnError) {
    TempDir dir;
    TRecordList list;
    ReadRecordFile(list, dir / "Mesic01.zek");
    EXPECT_TRUE(list.empty());
    dir.Write("ROK2024/x", "");
    EXPECT_THROW(ReadRecordFile(list, dir / "ROK2024"), EInOutError);
}

namespace {

// A month file of `bytes` bytes that takes no room on the disk (zeros, so records
// without a valid stamp), ending in `last` when given.
std::string SparseMonthFile(const TempDir& dir, uint64_t bytes, const TRegulatorRecord* last = nullptr) {
    const std::string path = dir / "ROK2024/Mesic03.zek";
    dir.Write("ROK2024/Mesic03.zek", "");
    EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(last ? bytes - RecordBytes : bytes)), 0);
    if (last != nullptr) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        const auto b = last->Bytes();
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    return path;
}

} // namespace

// A file larger than a full ring of records is damage or no month file: every
// reader refuses it with a message naming it, instead of reading it whole.
TEST(MonthFileBound, EveryReaderRefusesAFileLargerThanAFullRing) {
    TempDir dir;
    const std::string path = SparseMonthFile(dir, MaxMonthFileBytes + 1);
    const std::string message = "Soubor záznamů " + path +
                                " má 7532501 bajtů, víc než může mít soubor jednoho měsíce (nejvýše 75325 "
                                "záznamů, 7532500 bajtů). Soubor je poškozený nebo cizí a nebyl načten.";
    TGraphView view;
    view.InputMap.fill(255);
    view.InputMap[0] = 0;
    const TDateTime from = EncodeDate(2024, 3, 1), to = EncodeDate(2024, 3, 31);
    const std::vector<std::pair<const char*, std::function<void()>>> readers = {
        {"ReadRecordFile", [&] { TRecordList list; ReadRecordFile(list, path); }},
        {"ReadMonthFile", [&] { TSeriesLists lists; ReadMonthFile(path, lists, ChannelMapOf(view), from, to); }},
        {"ReadRecordRange", [&] { TSeriesLists lists; ReadRecordRange(view, lists, dir.Path(), from, to); }},
        {"ScanRecordDays", [&] { ScanRecordDays(path); }},
    };
    for (const auto& [name, read] : readers) {
        try {
            read();
            ADD_FAILURE() << name << " read the file";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.what(), message) << name;
        }
    }
}

TEST(MonthFileBound, AFileOfExactlyAFullRingIsRead) {
    TempDir dir;
    const TRegulatorRecord last = MakeRecord(24, 3, 31, 23, 52, 31, 7);
    const std::string path = SparseMonthFile(dir, MaxMonthFileBytes, &last);
    TRecordList list;
    ReadRecordFile(list, path);
    ASSERT_EQ(list.size(), 75325u);
    EXPECT_EQ(list.back(), last);
    EXPECT_EQ(ScanRecordDays(path).count(), 2u);  // day 0 of the zeros and day 31
}

TEST(RecordLists, CopyAppendsOrReplacesAndFreeEmpties) {
    const TRecordList source = {MakeRecord(24, 1, 1, 0, 0, 0), MakeRecord(24, 1, 1, 0, 15, 0)};
    TRecordList dest = {MakeRecord(23, 5, 5, 5, 5, 5)};
    CopyRecordList(source, dest, false);
    EXPECT_EQ(dest.size(), 3u);
    CopyRecordList(source, dest, true);
    EXPECT_EQ(dest, source);
    FreeRecordList(dest);
    EXPECT_TRUE(dest.empty());
}

TEST(ScanRecordDays, GivesTheSetOfDaysOfTheFile) {
    TempDir dir;
    dir.Write("ROK2024/Mesic03.zek",
              BytesOf({MakeRecord(24, 3, 3, 1, 0, 0), MakeRecord(24, 3, 3, 2, 0, 0), MakeRecord(24, 3, 17, 0, 0, 0)}));
    const TDaySet days = ScanRecordDays(dir / "ROK2024/mesic03.zek");  // named as the date dialog names it
    EXPECT_EQ(days.count(), 2u);
    EXPECT_TRUE(days.test(3));
    EXPECT_TRUE(days.test(17));
    EXPECT_TRUE(ScanRecordDays(dir / "ROK2024/mesic04.zek").none());
}

TEST(ChannelMapOf, LaterSeriesWinAndOnlyInputsZeroToThreeCount) {
    TGraphView view;
    view.InputMap = {2, 255, 0, 7, 2, 3, 255, 4, 255};
    const TChannelMap map = ChannelMapOf(view);
    EXPECT_EQ(map[0], 3);
    EXPECT_EQ(map[1], 0);
    EXPECT_EQ(map[2], 5);
    EXPECT_EQ(map[3], 6);
    for (size_t k = 4; k < map.size(); ++k)
        EXPECT_EQ(map[k], 0);
}

class RangeReading : public ::testing::Test {
protected:
    void Store(const std::string& name, const TRecordList& records) { dir.Write(name, BytesOf(records)); }
    static TDateTime At(int y, int m, int d, int hh, int mi, int ss) {
        return EncodeDate(y, m, d) + EncodeTime(hh, mi, ss);
    }
    // The day's hours of series 1 as "dd hh:mm:ss" texts.
    std::vector<std::string> Times(const TSampleList& list) {
        std::vector<std::string> times;
        for (const TChannelSample& s : list) {
            char text[32];
            std::snprintf(text, sizeof text, "%02d.%02d %02d:%02d:%02d", s.Day, s.Month, s.Hour, s.Minute, s.Second);
            times.push_back(text);
        }
        return times;
    }

    TempDir dir;
    TGraphView view;
    TSeriesLists lists;
};

TEST_F(RangeReading, DayRangeReadsOnlyItsMonthFileAndIncludesBothEnds) {
    Store("ROK2023/Mesic12.zek", {MakeRecord(23, 12, 1, 0, 7, 30), MakeRecord(23, 12, 1, 0, 7, 31),
                                  MakeRecord(23, 12, 1, 12, 0, 0), MakeRecord(23, 12, 2, 0, 7, 30),
                                  MakeRecord(23, 12, 2, 0, 7, 31)});
    // Records in files of other months would show if those files were read.
    Store("ROK2023/Mesic11.zek", {MakeRecord(23, 12, 1, 6, 0, 0)});
    Store("ROK2024/Mesic01.zek", {MakeRecord(23, 12, 1, 7, 0, 0)});
    view.InputMap[0] = 0;
    ReadRecordRange(view, lists, dir.Path(), At(2023, 12, 1, 0, 7, 31), At(2023, 12, 2, 0, 7, 30));
    EXPECT_EQ(Times(lists[0]), (std::vector<std::string>{"01.12 00:07:31", "01.12 12:00:00", "02.12 00:07:30"}));
}

TEST_F(RangeReading, RangeEndingOnTheFirstDayOfAMonthReadsThatMonth) {
    Store("ROK2023/Mesic12.zek", {MakeRecord(23, 12, 31, 23, 0, 0)});
    Store("ROK2024/Mesic01.zek", {MakeRecord(24, 1, 1, 0, 7, 30), MakeRecord(24, 1, 1, 0, 7, 31)});
    view.InputMap[0] = 0;
    ReadRecordRange(view, lists, dir.Path(), At(2023, 12, 31, 0, 7, 31), At(2024, 1, 1, 0, 7, 30));
    EXPECT_EQ(Times(lists[0]), (std::vector<std::string>{"31.12 23:00:00", "01.01 00:07:30"}));
}

TEST_F(RangeReading, SamplesCarryTheRecordAndTheValueOfTheirInput) {
    TRegulatorRecord r = MakeRecord(24, 3, 5, 13, 52, 30, 250);
    r.Status = 0x8001;
    Store("ROK2024/Mesic03.zek", {r});
    view.InputMap = {0, 3, 1, 255, 255, 255, 255, 255, 255};
    ReadRecordRange(view, lists, dir.Path(), At(2024, 3, 5, 0, 0, 0), At(2024, 3, 6, 0, 0, 0));
    ASSERT_EQ(lists[0].size(), 1u);
    ASSERT_EQ(lists[1].size(), 1u);
    ASSERT_EQ(lists[2].size(), 1u);
    for (size_t s = 3; s < lists.size(); ++s)
        EXPECT_TRUE(lists[s].empty());
    const TChannelSample& a = lists[0][0];
    EXPECT_EQ(a.Hour, 13);
    EXPECT_EQ(a.Minute, 52);
    EXPECT_EQ(a.Second, 30);
    EXPECT_EQ(a.Day, 5);
    EXPECT_EQ(a.Month, 3);
    EXPECT_EQ(a.Year, 24);
    EXPECT_EQ(a.Status, 0x8001);
    EXPECT_EQ(a.Flag, 0);
    EXPECT_DOUBLE_EQ(a.Value, 400.0);              // 250 × 4 ÷ 2.5
    EXPECT_DOUBLE_EQ(lists[1][0].Value, 40.0);     // input 3: 40 × 4 ÷ 4
    EXPECT_DOUBLE_EQ(lists[2][0].Value, 80.0);     // input 1: 20 × 4 ÷ 1
}

TEST_F(RangeReading, InvalidRecordsAreSkippedAndTheFileReadOn) {
    Store("ROK2024/Mesic03.zek", {MakeRecord(24, 3, 1, 1, 0, 0), MakeRecord(24, 3, 32, 1, 0, 0),
                                  MakeRecord(24, 3, 1, 25, 0, 0), MakeRecord(24, 3, 1, 2, 0, 0)});
    view.InputMap[0] = 0;
    ReadRecordRange(view, lists, dir.Path(), At(2024, 3, 1, 0, 0, 0), At(2024, 3, 31, 23, 59, 59));
    EXPECT_EQ(Times(lists[0]), (std::vector<std::string>{"01.03 01:00:00", "01.03 02:00:00"}));
}

TEST_F(RangeReading, FilesAndFoldersAreFoundInAnyCase) {
    Store("rok2024/MESIC03.ZEK", {MakeRecord(24, 3, 1, 1, 0, 0)});
    view.InputMap[0] = 0;
    ReadRecordRange(view, lists, dir.Path(), At(2024, 3, 1, 0, 0, 0), At(2024, 3, 2, 0, 0, 0));
    EXPECT_EQ(lists[0].size(), 1u);
}

TEST_F(RangeReading, RangeOverAYearBoundaryAndMissingMonths) {
    Store("ROK2023/Mesic11.zek", {MakeRecord(23, 11, 30, 23, 0, 0)});
    Store("ROK2024/Mesic02.zek", {MakeRecord(24, 2, 29, 1, 0, 0)});
    view.InputMap[0] = 0;
    ReadRecordRange(view, lists, dir.Path(), At(2023, 11, 1, 0, 0, 0), At(2024, 3, 1, 0, 0, 0));
    EXPECT_EQ(Times(lists[0]), (std::vector<std::string>{"30.11 23:00:00", "29.02 01:00:00"}));
}
