#include "core/RecordStore.h"

#include "RecordSamples.h"

#include "core/ChannelSamples.h"

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
