#include "core/RecordSaving.h"

#include "RecordSamples.h"

#include "platform/Exceptions.h"
#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using namespace zeko;
using zeko::test::BytesOf;
using zeko::test::MakeRecord;
using zeko::test::TempDir;

namespace {

class Saving : public ::testing::Test {
protected:
    TRecordList Stored(const std::string& name) {
        TRecordList list;
        ReadRecordFile(list, dir / name);
        return list;
    }
    TSaveOutcome Save(TRecordList list, const std::string& folder = "") {
        TSaveOutcome outcome;
        SaveRecords(list, folder, &outcome);
        EXPECT_TRUE(list.empty());
        return outcome;
    }
    std::vector<std::string> Entries(const std::string& sub = "") {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir / sub))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir{true};  // the program directory
};

TEST_F(Saving, ListAcrossAMonthBoundaryCreatesTwoFiles) {
    const TRegulatorRecord jan = MakeRecord(24, 1, 31, 23, 52, 31), feb = MakeRecord(24, 2, 1, 0, 7, 31);
    const TSaveOutcome outcome = Save({jan, feb});
    EXPECT_EQ(outcome.Appended, 2u);
    EXPECT_EQ(Entries("ROK2024"), (std::vector<std::string>{"Mesic01.zek", "Mesic02.zek"}));
    EXPECT_EQ(dir.Read("ROK2024/Mesic01.zek"), BytesOf({jan}));
    EXPECT_EQ(dir.Read("ROK2024/Mesic02.zek"), BytesOf({feb}));
}

TEST_F(Saving, NewStampsAreAppendedInListOrderAfterWhatIsStored) {
    const TRegulatorRecord a = MakeRecord(24, 3, 2, 10, 0, 0), b = MakeRecord(24, 3, 1, 10, 0, 0),
                           c = MakeRecord(24, 3, 3, 10, 0, 0);
    Save({a});
    Save({b, c});
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({a, b, c}));
}

// A stored record is the record being saved only when its stamp and its ring index
// are both the same (a record read again): only then is it replaced, by a larger
// input-1 value, or kept. The same stamp at another index is an hour the regulator
// recorded twice after its clock was set back; the same index with another stamp a
// place of the ring used again. Both are records of their own.
TEST_F(Saving, AStoredRecordIsMatchedByItsStampAndRingIndex) {
    enum TResult { Replaced, Kept, Appended };
    struct Case {
        const char* what;
        int minute;      // the stored record is stamped 10:00
        uint32_t index;  // stored at index 7
        uint16_t count;  // with a count of 100
        TResult result;
    };
    const Case cases[] = {
        {"read again with a larger value", 0, 7, 101, Replaced},
        {"read again with an equal value", 0, 7, 100, Kept},
        {"read again with a smaller value", 0, 7, 99, Kept},
        {"recorded twice, the later one larger", 0, 8, 101, Appended},
        {"recorded twice, the later one smaller", 0, 8, 99, Appended},
        {"recorded twice, the later one equal", 0, 30000, 100, Appended},
        {"recorded twice at an index before", 0, 6, 100, Appended},
        {"the ring place used again", 15, 7, 100, Appended},
    };
    for (const Case& c : cases) {
        TempDir fresh(true);
        const TRegulatorRecord before = MakeRecord(24, 3, 1, 10, 0, 0, 100, 7);
        const TRegulatorRecord other = MakeRecord(24, 3, 1, 10, 30, 0, 5, 9);
        const TRegulatorRecord after = MakeRecord(24, 3, 1, 10, c.minute, 0, c.count, c.index);
        TRecordList first = {before, other}, second = {after};
        SaveRecords(first, "");
        TSaveOutcome outcome;
        SaveRecords(second, "", &outcome);
        EXPECT_EQ(outcome.Replaced, c.result == Replaced ? 1u : 0u) << c.what;
        EXPECT_EQ(outcome.Unchanged, c.result == Kept ? 1u : 0u) << c.what;
        EXPECT_EQ(outcome.Appended, c.result == Appended ? 1u : 0u) << c.what;
        const TRecordList expected = c.result == Replaced ? TRecordList{after, other}
                                     : c.result == Kept   ? TRecordList{before, other}
                                                          : TRecordList{before, other, after};
        EXPECT_EQ(fresh.Read("ROK2024/Mesic03.zek"), BytesOf(expected)) << c.what;
    }
}

TEST_F(Saving, ARecordReadTwiceInOneListIsStoredOnceWithTheLargestValue) {
    const TRegulatorRecord small = MakeRecord(24, 3, 1, 10, 0, 0, 50, 1);
    const TRegulatorRecord large = MakeRecord(24, 3, 1, 10, 0, 0, 70, 1);
    const TRegulatorRecord middle = MakeRecord(24, 3, 1, 10, 0, 0, 60, 1);
    const TRegulatorRecord next = MakeRecord(24, 3, 1, 10, 15, 0, 10, 2);
    const TSaveOutcome outcome = Save({small, next, large, middle});
    EXPECT_EQ(outcome.Appended, 2u);
    EXPECT_EQ(outcome.Replaced, 1u);
    EXPECT_EQ(outcome.Unchanged, 1u);
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({large, next}));
    // The same against a stored record, replaced within the list.
    const TRegulatorRecord larger = MakeRecord(24, 3, 1, 10, 0, 0, 90, 1);
    const TRegulatorRecord between = MakeRecord(24, 3, 1, 10, 0, 0, 80, 1);
    Save({larger, between});
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({larger, next}));
}

// One download across the hour the regulator recorded twice: every record of it is
// stored, in the order read, each at its own place; read again, none is added.
TEST_F(Saving, AnHourRecordedTwiceInOneListKeepsBothRecordsOfEachQuarter) {
    TRecordList list;
    for (uint32_t i = 0; i < 4; ++i)  // 02:15 .. 03:00
        list.push_back(MakeRecord(24, 10, 27, 2 + (i + 1) / 4, (i + 1) % 4 * 15, 0, uint16_t(100 + i), 10 + i));
    for (uint32_t i = 0; i < 4; ++i)  // the same stamps again, smaller and larger values
        list.push_back(MakeRecord(24, 10, 27, 2 + (i + 1) / 4, (i + 1) % 4 * 15, 0, uint16_t(i % 2 ? 90 : 120), 14 + i));
    const TSaveOutcome first = Save(list);
    EXPECT_EQ(first.Appended, 8u);
    EXPECT_EQ(first.Replaced + first.Unchanged, 0u);
    EXPECT_EQ(Stored("ROK2024/Mesic10.zek"), list);
    const TSaveOutcome again = Save(list);
    EXPECT_EQ(again.Unchanged, 8u);
    EXPECT_EQ(again.Appended + again.Replaced, 0u);
    EXPECT_EQ(Stored("ROK2024/Mesic10.zek"), list);
}

TEST_F(Saving, ReplacingAfterManyAppendsInOneListHitsTheRightRecord) {
    TRecordList list;
    for (int i = 0; i < 2000; ++i)  // more than one piece of pending appends
        list.push_back(MakeRecord(24, 3, 1 + i / 96, i % 96 / 4, i % 4 * 15, 0, 10, uint32_t(i)));
    TRecordList expected = list;
    const TRegulatorRecord early = MakeRecord(24, 3, 1, 0, 15, 0, 99, 1);        // record 1: written already
    const TRegulatorRecord late = MakeRecord(24, 3, 21, 19, 45, 0, 99, 1999);    // record 1999: still pending
    list.push_back(early);
    list.push_back(late);
    expected[1] = early;
    expected[1999] = late;
    const TSaveOutcome outcome = Save(list);
    EXPECT_EQ(outcome.Replaced, 2u);
    EXPECT_EQ(Stored("ROK2024/Mesic03.zek"), expected);
}

TEST_F(Saving, ATornRecordAtTheEndDoesNotShiftLaterAppends) {
    const TRegulatorRecord a = MakeRecord(24, 3, 1, 10, 0, 0), b = MakeRecord(24, 3, 1, 10, 15, 0);
    dir.Write("ROK2024/Mesic03.zek", BytesOf({a}) + std::string(37, '\x11'));
    const TRegulatorRecord c = MakeRecord(24, 3, 1, 10, 30, 0);
    Save({b, c});
    const std::string bytes = dir.Read("ROK2024/Mesic03.zek");
    EXPECT_EQ(bytes.size(), 300u);
    EXPECT_EQ(bytes, BytesOf({a, b, c}));
}

TEST_F(Saving, ATornTailStaysWhenOnlyReplacing) {
    const TRegulatorRecord a = MakeRecord(24, 3, 1, 10, 0, 0, 10);
    dir.Write("ROK2024/Mesic03.zek", BytesOf({a}) + std::string(60, '\x11'));
    const TRegulatorRecord larger = MakeRecord(24, 3, 1, 10, 0, 0, 20);
    Save({larger});
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({larger}) + std::string(60, '\x11'));
    EXPECT_EQ(Stored("ROK2024/Mesic03.zek"), (TRecordList{larger}));
}

TEST_F(Saving, RecordsWithoutAValidTimeAreNotStored) {
    const TRegulatorRecord good = MakeRecord(24, 3, 1, 10, 0, 0);
    const TSaveOutcome outcome =
        Save({MakeRecord(65, 165, 1, 0, 0, 0), good, MakeRecord(24, 2, 30, 0, 0, 0), MakeRecord(24, 3, 1, 24, 0, 0)});
    EXPECT_EQ(outcome.Skipped, 3u);
    EXPECT_EQ(outcome.Appended, 1u);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"ROK2024"}));
    EXPECT_EQ(Entries("ROK2024"), (std::vector<std::string>{"Mesic03.zek"}));
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({good}));
}

TEST_F(Saving, FilesAndFoldersInAnotherCaseAreAppendedToNotDuplicated) {
    const TRegulatorRecord a = MakeRecord(24, 3, 1, 10, 0, 0), b = MakeRecord(24, 3, 1, 10, 15, 0);
    dir.Write("rok2024/mesic03.zek", BytesOf({a}));
    Save({b, a});
    EXPECT_EQ(Entries(), (std::vector<std::string>{"rok2024"}));
    EXPECT_EQ(Entries("rok2024"), (std::vector<std::string>{"mesic03.zek"}));
    EXPECT_EQ(dir.Read("rok2024/mesic03.zek"), BytesOf({a, b}));
}

TEST_F(Saving, AGivenFolderTakesEveryRecordWithoutYearFolders) {
    const TRegulatorRecord a = MakeRecord(23, 3, 1, 10, 0, 0), b = MakeRecord(24, 3, 1, 10, 0, 0);
    Save({a, b}, dir / "export/here");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"export"}));
    EXPECT_EQ(dir.Read("export/here/Mesic03.zek"), BytesOf({a, b}));
}

TEST_F(Saving, AFailureEndsTheSaveAndKeepsWhatWasWritten) {
    const TRegulatorRecord a = MakeRecord(23, 12, 31, 10, 0, 0), b = MakeRecord(24, 1, 1, 10, 0, 0);
    dir.Write("ROK2024", "not a folder");
    TRecordList list = {a, b};
    TSaveOutcome outcome;
    EXPECT_THROW(SaveRecords(list, "", &outcome), EInOutError);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(outcome.Appended, 1u);
    EXPECT_EQ(dir.Read("ROK2023/Mesic12.zek"), BytesOf({a}));
}

// A month file never grows past what a month can hold, so that it stays readable;
// the save fails (the read position is then not moved on) and the file stays.
TEST_F(Saving, AFullMonthFileTakesReplacementsButNoNewStamp) {
    const std::string path = dir / "ROK2024/Mesic03.zek";
    const TRegulatorRecord last = MakeRecord(24, 3, 31, 23, 52, 31, 7);
    dir.Write("ROK2024/Mesic03.zek", "");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(MaxMonthFileBytes - RecordBytes)), 0);
    TRecordList tail = {last};
    std::ofstream(path, std::ios::binary | std::ios::app) << BytesOf(tail);
    const TRegulatorRecord larger = MakeRecord(24, 3, 31, 23, 52, 31, 9);
    EXPECT_EQ(Save({larger}).Replaced, 1u);
    TRecordList list = {MakeRecord(24, 3, 1, 0, 7, 31)};
    try {
        SaveRecords(list, "");
        ADD_FAILURE() << "a record was appended to a full file";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.what(), "Soubor záznamů " + path + " je plný (75325 záznamů), další záznamy do něj nelze uložit.");
    }
    EXPECT_EQ(std::filesystem::file_size(path), MaxMonthFileBytes);
    TRecordList stored = Stored("ROK2024/Mesic03.zek");
    EXPECT_EQ(stored.back(), larger);
}

TEST_F(Saving, AMonthFileLargerThanAFullRingIsNotMergedInto) {
    const std::string path = dir / "ROK2024/Mesic03.zek";
    dir.Write("ROK2024/Mesic03.zek", "");
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(MaxMonthFileBytes + RecordBytes)), 0);
    TRecordList list = {MakeRecord(24, 3, 1, 0, 7, 31)};
    EXPECT_THROW(SaveRecords(list, ""), EInOutError);
    EXPECT_EQ(std::filesystem::file_size(path), MaxMonthFileBytes + RecordBytes);
}

TEST_F(Saving, ASecondProgramSavingTheSameFileIsWaitedForAndNotOverwritten) {
    const TRegulatorRecord a = MakeRecord(24, 3, 1, 10, 0, 0), b = MakeRecord(24, 3, 1, 10, 15, 0),
                           c = MakeRecord(24, 3, 1, 10, 30, 0);
    Save({a});
    // The other copy of the program holds the file while it appends b.
    const int other = ::open((dir / "ROK2024/Mesic03.zek").c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    std::thread saver([&] { Save({c}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto bytes = b.Bytes();
    ASSERT_EQ(::pwrite(other, bytes.data(), bytes.size(), RecordSize), RecordSize);
    ::flock(other, LOCK_UN);
    ::close(other);
    saver.join();
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({a, b, c}));
}

class SavingThread : public Saving {
protected:
    void SetUp() override { SetMainThread(&queue); }
    void TearDown() override {
        WaitForSavingThreads();
        SetMainThread(nullptr);
    }
    PumpedMainThread queue;
};

TEST_F(SavingThread, SavesACopyAndReportsSuccessToTheMainThread) {
    TRecordList list = {MakeRecord(24, 3, 1, 10, 0, 0), MakeRecord(24, 3, 1, 10, 15, 0), MakeRecord(24, 13, 1, 0, 0, 0)};
    std::optional<TSaveOutcome> reported;
    int owner = 0;
    TZEKOSavingThread saver(list, "", [&](const TSaveOutcome& o) { reported = o; }, &owner);
    EXPECT_EQ(list.size(), 3u);  // the caller keeps its list
    const TSaveOutcome outcome = saver.Wait();
    EXPECT_TRUE(outcome.Success);
    EXPECT_TRUE(outcome.Error.empty());
    EXPECT_EQ(outcome.Appended, 2u);
    EXPECT_EQ(outcome.Skipped, 1u);
    EXPECT_TRUE(saver.Finished());
    ASSERT_TRUE(queue.PumpUntil([&] { return reported.has_value(); }, 5000));
    EXPECT_TRUE(reported->Success);
    EXPECT_EQ(dir.Read("ROK2024/Mesic03.zek"), BytesOf({list[0], list[1]}));
}

TEST_F(SavingThread, ReportsAFailureWithItsReason) {
    dir.Write("ROK2024", "not a folder");
    TZEKOSavingThread saver({MakeRecord(24, 3, 1, 10, 0, 0)});
    const TSaveOutcome outcome = saver.Result().get();
    EXPECT_FALSE(outcome.Success);
    EXPECT_NE(outcome.Error.find("ROK2024"), std::string::npos) << outcome.Error;
}

TEST_F(SavingThread, ConcurrentSavesOfOneMonthStoreEachStampOnce) {
    TRecordList list;
    for (int i = 0; i < 500; ++i)
        list.push_back(MakeRecord(24, 3, 1 + i / 96, i % 96 / 4, i % 4 * 15, 0));
    std::vector<std::shared_future<TSaveOutcome>> results;
    for (int n = 0; n < 4; ++n)
        results.push_back(TZEKOSavingThread(list).Result());  // handles dropped at once
    WaitForSavingThreads();
    size_t appended = 0;
    for (auto& r : results) {
        EXPECT_TRUE(r.get().Success);
        appended += r.get().Appended;
    }
    EXPECT_EQ(appended, list.size());
    EXPECT_EQ(Stored("ROK2024/Mesic03.zek"), list);
}

TEST_F(SavingThread, AnOwnerThatGoesAwayGetsNoReport) {
    int owner = 0;
    bool reported = false;
    TZEKOSavingThread saver({MakeRecord(24, 3, 1, 10, 0, 0)}, "", [&](const TSaveOutcome&) { reported = true; }, &owner);
    WaitForSavingThreads();
    queue.CancelFor(&owner);
    queue.Pump();
    EXPECT_FALSE(reported);
    EXPECT_TRUE(saver.Wait().Success);
}

} // namespace
