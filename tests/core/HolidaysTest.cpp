#include "core/Holidays.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {
struct HolidayLists : ::testing::Test {
    void SetUp() override {
        HolidayList.clear();
        HolidayList2.clear();
    }
    void TearDown() override { SetUp(); }
};
} // namespace

TEST_F(HolidayLists, EmptyListsFindEasterMondayAlone) {
    EXPECT_TRUE(IsHoliday(1, 4, 2024));
    EXPECT_FALSE(IsHoliday(25, 12, 2024));
    EXPECT_FALSE(IsHoliday(31, 3, 2024));  // Easter Sunday is no holiday here
    EXPECT_TRUE(IsHolidayDate(EncodeDate(2025, 4, 21) + 0.75));
    EXPECT_FALSE(IsHoliday(30, 2, 2024));
}

TEST_F(HolidayLists, RecordsApplyWithinTheirYears) {
    HolidayList.resize(2);
    SetHoliday(HolidayList[0], 2000, 0, 28, 10, "Den vzniku samostatného státu");
    SetHoliday(HolidayList[1], 2024, 2024, 17, 11, "Den boje za svobodu");
    EXPECT_TRUE(IsHoliday(28, 10, 2000));
    EXPECT_TRUE(IsHoliday(28, 10, 2099));
    EXPECT_FALSE(IsHoliday(28, 10, 1999));
    EXPECT_TRUE(IsHoliday(17, 11, 2024));
    EXPECT_FALSE(IsHoliday(17, 11, 2023));
    EXPECT_FALSE(IsHoliday(17, 11, 2025));
    EXPECT_TRUE(IsHoliday(1, 4, 2024));  // Easter Monday still
}

TEST_F(HolidayLists, TheSecondListIsNotTested) {
    HolidayList2.push_back({});
    SetHoliday(HolidayList2[0], 0, 0, 24, 12, "Štědrý den");
    EXPECT_FALSE(IsHoliday(24, 12, 2024));
}

TEST_F(HolidayLists, RecordsAndYearRanges) {
    THolidayRecord r;
    SetHoliday(r, 1990, 1995, 1, 5, std::string(300, 'x'));
    EXPECT_EQ(r.FromYear, 1990);
    EXPECT_EQ(r.ToYear, 1995);
    EXPECT_EQ(r.Day, 1);
    EXPECT_EQ(r.Month, 5);
    EXPECT_EQ(r.Description.size(), 255u);
    EXPECT_TRUE(YearInRange(65535, 2000, 0));
    EXPECT_TRUE(YearInRange(1995, 1990, 1995));
    EXPECT_FALSE(YearInRange(1996, 1990, 1995));
    EXPECT_FALSE(YearInRange(1989, 1990, 0));

    // A row written beyond the end grows the list with records that match nothing.
    SetHoliday(HolidayAt(HolidayList, 2), 2000, 0, 6, 7, "Jan Hus");
    ASSERT_EQ(HolidayList.size(), 3u);
    EXPECT_EQ(HolidayList[0].Day, 0);
    EXPECT_TRUE(IsHoliday(6, 7, 2024));
    EXPECT_EQ(&HolidayAt(HolidayList, 1), &HolidayList[1]);
    EXPECT_EQ(HolidayList.size(), 3u);
}
