#include "core/ChannelSamples.h"

#include "RecordSamples.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace zeko;
using zeko::test::BytesOf;
using zeko::test::MakeRecord;
using zeko::test::TempDir;

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
