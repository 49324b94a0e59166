#include "core/RecordStore.h"

#include "RecordSamples.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

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
