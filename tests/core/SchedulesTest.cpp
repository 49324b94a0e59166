#include "core/Schedules.h"

#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using namespace zeko;
using zeko::test::TempDir;

namespace {

TShiftTable Shifts(uint16_t a, uint16_t b) {
    TShiftTable t;
    t.Shifts = {TShiftBand{a, b}, TShiftBand{}, TShiftBand{}};
    return t;
}

class HistoryFiles : public ::testing::Test {
protected:
    void Write(const THistoryList& list, const std::string& name = ShiftHistoryFile) {
        std::vector<uint8_t> bytes;
        for (const THistoryRecord& r : list)
            r.AppendBytes(bytes);
        dir.Write(name, std::string(bytes.begin(), bytes.end()));
    }
    // A history file that exists but cannot be read: a folder of that name.
    void MakeUnreadable(const std::string& name) { ::mkdir((dir / name).c_str(), 0777); }

    TempDir dir{true};
    ScopedLoggingNotifier notifier;
    const TDateTime jan = EncodeDate(2024, 1, 1), jul = EncodeDate(2024, 7, 1);
};

TEST_F(HistoryFiles, TheValidRecordIsTheLatestBeforeElseTheEarliestAfter) {
    Write({THistoryRecord::Of(jul, Shifts(2, 2)), THistoryRecord::Of(jan, Shifts(1, 1))});
    struct Case {
        TDateTime date;
        uint16_t shift;
    };
    for (const Case c : {Case{EncodeDate(2024, 3, 15), 1}, Case{jul, 2}, Case{jul - 1.0 / 86400, 1},
                         Case{EncodeDate(2023, 12, 1), 1}, Case{EncodeDate(2030, 1, 1), 2}}) {
        EXPECT_EQ(SelectShiftTable(c.date).Shifts[0].Start, c.shift) << c.date;
    }
    EXPECT_EQ(notifier.Count(), 0u);
}

TEST_F(HistoryFiles, OnEqualDatesTheFirstRecordWins) {
    Write({THistoryRecord::Of(jan, Shifts(1, 1)), THistoryRecord::Of(jan, Shifts(2, 2)),
           THistoryRecord::Of(jul, Shifts(3, 3)), THistoryRecord::Of(jul, Shifts(4, 4))});
    EXPECT_EQ(SelectShiftTable(EncodeDate(2024, 2, 1)).Shifts[0].Start, 1);
    EXPECT_EQ(SelectShiftTable(EncodeDate(2023, 2, 1)).Shifts[0].Start, 1);
    EXPECT_EQ(SelectShiftTable(EncodeDate(2025, 2, 1)).Shifts[0].Start, 3);
}

TEST_F(HistoryFiles, MissingOrEmptyFileGivesTheDefault) {
    EXPECT_EQ(SelectShiftTable(jan), DefaultShiftTable);
    EXPECT_EQ(SelectTariffTable(jan), DefaultTariffTable);
    dir.Write(ShiftHistoryFile, "");
    EXPECT_EQ(SelectShiftTable(jan), StartShiftTable());
    EXPECT_EQ(notifier.Count(), 0u);
}

TEST_F(HistoryFiles, FileNamesAreFoundInAnyCase) {
    Write({THistoryRecord::Of(jan, Shifts(7, 7))}, "SMENY.HIS");
    EXPECT_EQ(SelectShiftTable(jan).Shifts[0].Start, 7);
}

// A body of another length than the table's is damage: it once filled part of a
// table with bytes of something else.
TEST_F(HistoryFiles, ByteVersionTakesOnlyBodiesOfTheDefaultsSize) {
    Write({THistoryRecord{jan, 1, {9, 8, 7}}});
    std::vector<uint8_t> body;
    EXPECT_TRUE(SelectHistoryRecord(body, {1, 1, 1}, jan, dir / ShiftHistoryFile));
    EXPECT_EQ(body, (std::vector<uint8_t>{9, 8, 7}));
    for (const std::vector<uint8_t>& other : {std::vector<uint8_t>{9, 8, 7, 6, 5}, std::vector<uint8_t>{9}}) {
        Write({THistoryRecord{jan, 1, other}});
        EXPECT_FALSE(SelectHistoryRecord(body, {1, 1, 1}, jan, dir / ShiftHistoryFile));
        EXPECT_EQ(body, (std::vector<uint8_t>{1, 1, 1}));
    }
    EXPECT_EQ(notifier.Count(), 2u);
}

TEST_F(HistoryFiles, AnUnreadableFileIsReportedAndTheDefaultApplies) {
    MakeUnreadable(TariffHistoryFile);
    EXPECT_EQ(SelectTariffTable(jan), DefaultTariffTable);
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, "Chyba při načítání historie tarifů/směn!\n" + dir / TariffHistoryFile +
                                               "\nSoubor nelze přečíst. Je to složka, ne soubor.");
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    std::vector<uint8_t> body;
    EXPECT_FALSE(SelectHistoryRecord(body, {4, 5}, jan, dir / TariffHistoryFile));
    EXPECT_EQ(body, (std::vector<uint8_t>{4, 5}));
}

TEST_F(HistoryFiles, ALookupReportsAnUnreadableFileOnceForTheWholeEvaluation) {
    MakeUnreadable(TariffHistoryFile);
    MakeUnreadable(ShiftHistoryFile);
    TScheduleLookup lookup;
    uint8_t mask = 0;
    for (int minute = 0; minute < 1440; minute += 15) {
        lookup.ShiftMaskAt(minute, mask, jan);
        lookup.TariffMaskAt(minute, mask, 0, jan);
    }
    EXPECT_EQ(notifier.Count(), 1u);
    EXPECT_TRUE(lookup.Reported());
    // The default shifts apply.
    EXPECT_TRUE(lookup.ShiftMaskAt(367, mask, jan));
    EXPECT_EQ(mask, 1);
    EXPECT_FALSE(lookup.TariffMaskAt(367, mask, 0, jan));
}

TEST_F(HistoryFiles, TheLookupNeverChangesTheProgramWideDefaults) {
    InitDefaultSchedules();
    TScheduleLookup lookup;
    uint8_t mask = 0;
    EXPECT_TRUE(lookup.ShiftMaskAt(366, mask, jan));
    EXPECT_EQ(mask, 4);  // shift 3 of the defaults
    lookup.TariffMaskAt(366, mask, 1, jan);
    EXPECT_EQ(DefaultShiftTable, StartShiftTable());
    EXPECT_EQ(DefaultTariffTable, StartTariffTable());
    EXPECT_EQ(SelectShiftTable(jan), StartShiftTable());
}

TEST_F(HistoryFiles, TheLookupReadsItsFilesOnceAndFollowsTheDate) {
    Write({THistoryRecord::Of(jan, Shifts(0, 0)), THistoryRecord::Of(jul, StartShiftTable())});
    TScheduleLookup lookup;
    uint8_t mask = 0;
    EXPECT_TRUE(lookup.ShiftMaskAt(100, mask, EncodeDate(2024, 2, 1)));  // a shift of the whole day
    EXPECT_EQ(mask, 1);
    EXPECT_TRUE(lookup.ShiftMaskAt(100, mask, EncodeDate(2024, 8, 1)));
    EXPECT_EQ(mask, 4);
    dir.Write(ShiftHistoryFile, "");  // changed after the first use: not read again
    EXPECT_EQ(lookup.ShiftTableAt(EncodeDate(2024, 8, 1)), StartShiftTable());
}

TEST_F(HistoryFiles, AnIncompleteLastRecordIsDamageAndTheOnesBeforeAreKept) {
    Write({THistoryRecord::Of(jan, Shifts(1, 1)), THistoryRecord::Of(jul, Shifts(2, 2))});
    std::string bytes = dir.Read(ShiftHistoryFile);
    dir.Write(ShiftHistoryFile, bytes.substr(0, bytes.size() - 3));
    THistoryList list;
    EXPECT_FALSE(LoadHistory(list, dir / ShiftHistoryFile, TShiftTable::BodySize));  // damaged
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], THistoryRecord::Of(jan, Shifts(1, 1)));
}

// A damaged record is reported once and never taken for a table; the intact
// records before and after it are still used.
TEST_F(HistoryFiles, DamagedRecordsAreReportedOnceAndNeverUsed) {
    const THistoryRecord first = THistoryRecord::Of(jan, Shifts(1, 1)), second = THistoryRecord::Of(jul, Shifts(2, 2));
    std::vector<uint8_t> good;
    first.AppendBytes(good);
    second.AppendBytes(good);
    const size_t recordSize = HistoryLayout::HeadSize + TShiftTable::BodySize;
    const auto damaged = [&](size_t offset, uint8_t value) {
        std::vector<uint8_t> bytes = good;
        bytes[offset] = value;
        return bytes;
    };
    const struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        uint16_t march, august;  // shift 1's start chosen for 15 March and 15 August
    } cases[] = {
        {"first marker 0", damaged(HistoryLayout::Marker, 0), 2, 2},
        {"second marker 2", damaged(recordSize + HistoryLayout::Marker, 2), 1, 1},
        {"marker high byte", damaged(HistoryLayout::Marker + 1, 1), 2, 2},
        {"first length 13", damaged(HistoryLayout::BodyLength, 13), 2, 2},
        {"second length 11", damaged(recordSize + HistoryLayout::BodyLength, 11), 1, 1},
        {"second length 120", damaged(recordSize + HistoryLayout::BodyLength, 120), 1, 1},
        {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1), 1, 1},
        {"head cut short", std::vector<uint8_t>(good.begin(), good.begin() + recordSize + 5), 1, 1},
    };
    InitDefaultSchedules();
    for (const Case& c : cases) {
        dir.Write(ShiftHistoryFile, std::string(c.bytes.begin(), c.bytes.end()));
        const size_t before = notifier.Count();
        TScheduleLookup lookup;
        uint8_t mask = 0;
        for (int minute = 0; minute < 1440; minute += 15)
            lookup.ShiftMaskAt(minute, mask, EncodeDate(2024, 3, 15));
        EXPECT_EQ(lookup.ShiftTableAt(EncodeDate(2024, 3, 15)).Shifts[0].Start, c.march) << c.what;
        EXPECT_EQ(lookup.ShiftTableAt(EncodeDate(2024, 8, 15)).Shifts[0].Start, c.august) << c.what;
        EXPECT_EQ(notifier.Count(), before + 1) << c.what;
        EXPECT_EQ(SelectShiftTable(EncodeDate(2024, 3, 15)).Shifts[0].Start, c.march) << c.what;
        EXPECT_EQ(notifier.Count(), before + 2) << c.what;
        EXPECT_EQ(notifier.Messages().back().Text.rfind("Chyba při načítání historie tarifů/směn!\n" +
                                                            dir / ShiftHistoryFile + "\nPoškozený záznam na pozici ",
                                                        0),
                  0u)
            << c.what;
    }
    // A tariff record in the shift history is damage too.
    std::vector<uint8_t> tariff;
    THistoryRecord::Of(jan, TTariffTable{}).AppendBytes(tariff);
    THistoryList list;
    EXPECT_FALSE(ParseHistory(tariff.data(), tariff.size(), TShiftTable::BodySize, list));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(ParseHistory(tariff.data(), tariff.size(), TTariffTable::BodySize, list));
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(HistoryFiles, SavedAndAppendedFilesReadBackByteForByte) {
    const THistoryList list = {THistoryRecord::Of(jul, StartShiftTable()), THistoryRecord::Of(jan, Shifts(5, 6))};
    SaveHistory(list, dir / ShiftHistoryFile);
    EXPECT_EQ(dir.Read(ShiftHistoryFile).size(), 48u);
    THistoryList back;
    EXPECT_TRUE(LoadHistory(back, dir / ShiftHistoryFile, TShiftTable::BodySize));
    EXPECT_EQ(back, list);

    EXPECT_TRUE(AppendHistoryRecord(dir / ShiftHistoryFile, list[1], false));
    EXPECT_EQ(dir.Read(ShiftHistoryFile).size(), 72u);
    EXPECT_TRUE(AppendHistoryRecord(dir / "nove/Smeny.his", list[0], true));
    EXPECT_EQ(dir.Read("nove/Smeny.his").size(), 24u);
    EXPECT_TRUE(AppendHistoryRecord(dir / ShiftHistoryFile, list[0], true));
    EXPECT_EQ(dir.Read(ShiftHistoryFile).size(), 24u);
}

TEST_F(HistoryFiles, SavingAnEmptyListLeavesTheFile) {
    dir.Write(ShiftHistoryFile, "abc");
    SaveHistory({}, dir / ShiftHistoryFile);
    EXPECT_EQ(dir.Read(ShiftHistoryFile), "abc");
}

TEST_F(HistoryFiles, AFailedSaveRaisesAndKeepsTheOldFile) {
    Write({THistoryRecord::Of(jan, Shifts(1, 1))});
    const std::string before = dir.Read(ShiftHistoryFile);
    {
        const test::FileSizeLimit limit(before.size() + 1);  // the new content cannot be written
        EXPECT_THROW(SaveHistory({THistoryRecord::Of(jan, Shifts(1, 1)), THistoryRecord::Of(jul, Shifts(2, 2))},
                                 dir / ShiftHistoryFile),
                     EInOutError);
    }
    EXPECT_EQ(dir.Read(ShiftHistoryFile), before);
    EXPECT_FALSE(dir.Exists(std::string(ShiftHistoryFile) + ".new"));
    MakeUnreadable(std::string(ShiftHistoryFile) + ".new");
    EXPECT_FALSE(AppendHistoryRecord(dir / std::string(ShiftHistoryFile) + ".new", THistoryRecord{}, true));
}

TEST(BandTest, ShiftsOfTheStartTable) {
    const TShiftTable t = StartShiftTable();
    struct Case {
        int minute;
        uint8_t mask;
    };
    for (const Case c : {Case{367, 1}, Case{366, 4}, Case{847, 2}, Case{846, 1}, Case{1327, 4}, Case{1326, 2},
                         Case{0, 4}, Case{1439, 4}}) {
        EXPECT_EQ(ShiftMask(t, c.minute), c.mask) << c.minute;
    }
}

TEST(BandTest, EdgesMoveToTheEndOfTheirQuarterHourWindow) {
    struct Case {
        uint16_t start, end;
        int minute;
        bool in;
    };
    const Case cases[] = {
        {1320, 360, 23 * 60 + 7, true},  {1320, 360, 5 * 60 + 52, true},  {1320, 360, 6 * 60 + 7, false},
        {1320, 360, 22 * 60 + 6, false}, {360, 368, 367, true},           {360, 368, 381, true},  // 06:08 -> 06:22
        {360, 368, 382, false},          {600, 600, 0, true},             {600, 605, 1000, true},  // same window
        {1435, 1440, 7, true},           {0, 1440, 500, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MinuteInBand(c.start, c.end, c.minute), c.in) << c.start << "-" << c.end << " @" << c.minute;
}

TEST(BandTest, TariffMaskUsesZonesInUseOfTheDayType) {
    TTariffTable t;
    t.Zone(0, 1, 1) = {1320, 360, ZoneInUse};
    t.Zone(0, 1, 2) = {360, 600, ZoneNotInUse};
    t.Zone(0, 3, 4) = {0, 0, ZoneInUse};       // the whole day
    t.Zone(1, 2, 1) = {360, 1320, ZoneInUse};
    EXPECT_EQ(TariffMask(t, 0, 23 * 60 + 7), 1 | 4);
    EXPECT_EQ(TariffMask(t, 0, 8 * 60), 4);
    EXPECT_EQ(TariffMask(t, 1, 8 * 60), 2);
    EXPECT_EQ(TariffMask(t, 1, 23 * 60), 0);
    EXPECT_EQ(TariffMask(StartTariffTable(), 0, 600), 0);
}

TEST(IntervalTexts, ShiftsAndTariffBands) {
    TShiftTable s = StartShiftTable();
    s.Shifts[2] = TShiftBand{};
    EXPECT_EQ(ShiftIntervalText(1, s), "06:00-14:00");
    EXPECT_EQ(ShiftIntervalText(2, s), "14:00-22:00");
    EXPECT_EQ(ShiftIntervalText(3, s), "-");
    TTariffTable t;
    t.Zones[1][4] = {1320, 1440, ZoneInUse};  // zone 5 of the weekend
    EXPECT_EQ(TariffIntervalText(2, 1, 1, t), "22:00-24:00");
    EXPECT_EQ(TariffIntervalText(2, 1, 0, t), "-");
    EXPECT_EQ(TariffIntervalText(1, 1, 1, t), "-");
}

TEST(DefaultSchedules, StartTablesAreTheThreeShiftsAndNoTariff) {
    const TShiftTable s = StartShiftTable();
    EXPECT_EQ(s.Shifts[0], (TShiftBand{360, 840}));
    EXPECT_EQ(s.Shifts[1], (TShiftBand{840, 1320}));
    EXPECT_EQ(s.Shifts[2], (TShiftBand{1320, 360}));
    for (const auto& dayType : StartTariffTable().Zones)
        for (const TTariffZone& z : dayType)
            EXPECT_EQ(z.State, ZoneNotInUse);
}

} // namespace

namespace {

TEST(WriteIniValue, WritesEachKindAndCreatesTheFolder) {
    TempDir dir;
    const std::string file = dir / "nova/Zeko.ini";
    WriteIniValue(file, "Tarify", "Tarif1", "Vysoký");
    WriteIniValue(file, "Tarify", "PouzivejSvatky", false);
    WriteIniValue(file, "Tarify", "Pocet", 3);
    WriteIniValue(file, "Tarify", "Velky", 5000000000LL);
    WriteIniValue(file, "Tarify", "Podil", 0.5);
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("tarify", "tarif1", ""), "Vysoký");
    EXPECT_EQ(ini.ReadString("Tarify", "PouzivejSvatky", ""), "0");
    EXPECT_EQ(ini.ReadInteger("Tarify", "Pocet", 0), 3);
    EXPECT_EQ(ini.ReadInteger("Tarify", "Velky", 0), 5000000000LL);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Tarify", "Podil", 0), 0.5);
}

} // namespace

// The error box names the file and each damaged place (a few of them), and the
// reason a file could not be read.
TEST_F(HistoryFiles, TheMessageSaysWhichFileAndWhatIsWrongWithIt) {
    const auto text = [&](THistoryLoad load) {
        load.FileName = "/data/Tarify.his";
        load.BodySize = TTariffTable::BodySize;
        return HistoryLoadMessage({load});
    };
    const std::string head = "Chyba při načítání historie tarifů/směn!\n/data/Tarify.his\n";
    const std::string unused = "\nPoškozená místa nebyla použita.";
    const THistoryDamage length{132, 24, THistoryFault::BodyLength, 12}, marker{264, 132, THistoryFault::Marker, 7},
        date{396, 132, THistoryFault::ValidFrom, 0}, cut{528, 20, THistoryFault::CutShort, 0};
    const struct Case {
        THistoryLoad load;
        std::string expected;
    } cases[] = {
        {{"", 0, EACCES, {}}, head + "Soubor nelze přečíst. Ke čtení souboru chybí oprávnění."},
        {{"", 0, EIO, {}}, head + "Soubor nelze přečíst. Chyba při čtení souboru."},
        {{"", 0, EISDIR, {}}, head + "Soubor nelze přečíst. Je to složka, ne soubor."},
        {{"", 0, 0, {length}},
         head + "Poškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 místo 120." + unused},
        {{"", 0, 0, {marker, date}},
         head + "Poškozený záznam na pozici 264 (vynecháno bajtů:\u00a0132): značka 7 místo 1.\n"
                "Poškozený záznam na pozici 396 (vynecháno bajtů:\u00a0132): datum platnosti není platné datum." +
             unused},
        {{"", 0, 0, {length, marker, date, cut, cut}},
         head + "Poškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 místo 120.\n"
                "Poškozený záznam na pozici 264 (vynecháno bajtů:\u00a0132): značka 7 místo 1.\n"
                "Poškozený záznam na pozici 396 (vynecháno bajtů:\u00a0132): datum platnosti není platné datum.\n"
                "Další poškozená místa: 2." +
             unused},
        {{"", 0, 0, {cut}}, head + "Poškozený záznam na pozici 528 (vynecháno bajtů:\u00a020): soubor končí uprostřed "
                                   "záznamu." + unused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(c.load), c.expected);
    // A file read whole adds nothing.
    EXPECT_EQ(HistoryLoadMessage({THistoryLoad{}}), HistoryLoadErrorText);
}

// The three tariff records of the issue's file of 288 bytes (a record of shift
// size in the middle): the evaluation takes the third one for its dates.
TEST_F(HistoryFiles, TheRecordAfterADamagedOneIsChosenForItsDates) {
    TTariffTable early, march;
    early.Zone(0, 1, 1) = {360, 840, ZoneInUse};
    march.Zone(0, 2, 1) = {420, 900, ZoneInUse};
    std::vector<uint8_t> bytes;
    THistoryRecord::Of(jan, early).AppendBytes(bytes);
    THistoryRecord::Of(jul, Shifts(1, 1)).AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 3, 15), march).AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 288u);
    dir.Write(TariffHistoryFile, std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(SelectTariffTable(EncodeDate(2024, 2, 1)), early);
    EXPECT_EQ(SelectTariffTable(EncodeDate(2024, 4, 1)), march);
    EXPECT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(notifier.Messages()[0].Text, "Chyba při načítání historie tarifů/směn!\n" + dir / TariffHistoryFile +
                                               "\nPoškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 "
                                               "místo 120.\nPoškozená místa nebyla použita.");
}
