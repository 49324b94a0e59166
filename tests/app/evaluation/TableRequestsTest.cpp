#include "EvaluationFixture.h"

#include "app/evaluation/TableRequests.h"
#include "platform/Notifier.h"

#include <functional>
#include <optional>

using namespace zeko;
using namespace zeko::test;

namespace {

// Keeps what the main window would do, in order.
struct RecordingHost : TEvaluationHost {
    std::vector<std::string> log;
    int steps = 0;
    std::function<void()> onStep;
    std::optional<TDayTableFields> day;
    std::optional<TMonthTableFields> month;
    std::optional<TYearTableFields> year;

    void SetMainFormEnabled(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
    void ShowProgress(const std::string& text, int count) override {
        log.push_back("progress " + text + " " + std::to_string(count));
    }
    void StepProgress() override {
        ++steps;
        if (onStep)
            onStep();
    }
    void CloseProgress() override { log.push_back("close"); }
    void ShowDayTable(const TDayTableFields& f) override {
        log.push_back("day");
        day = f;
    }
    void ShowMonthTable(const TMonthTableFields& f) override {
        log.push_back("month");
        month = f;
    }
    void ShowYearTable(const TYearTableFields& f) override {
        log.push_back("year");
        year = f;
    }
};

using Log = std::vector<std::string>;

uintptr_t DayNumber(int y, int m, int d) {
    return static_cast<uintptr_t>(EncodeDate(y, m, d));
}

} // namespace

class TableRequests : public EvaluationTest {
protected:
    // Channel 2 (id 1) starts its day at -18 hours, that is at 6.
    TableRequests() {
        dir_.Write("Zarizeni.ini", "[ZEKO]\r\nPocatekDne_v2=-18\r\n");
        devices_.LoadFromIni(ProgramFile("Zarizeni.ini"));
        Devices = &devices_;
    }

    TSeznamZarizeni devices_;
    RecordingHost host_;
    ScopedLoggingNotifier messages_;
};

TEST_F(TableRequests, DayOfAChannelWithItsDayTypeAndSchedules) {
    const TTariffTable early = TariffTable({{0, 1, 1, 0, 720}}), late = TariffTable({{0, 2, 1, 0, 720}});
    AddTariffs(At(2024, 1, 1), early);
    AddTariffs(At(2024, 4, 1, 12, 0, 0), late);
    AddShifts(At(2024, 3, 1), Shifts({0, 720}));
    Add(24, 4, 1, 6, 15, 0, {0, 100, 0, 0});  // Easter Monday 2024
    Add(24, 4, 2, 12, 0, 0, {50, 0, 0, 0});
    Save();
    PouzivejSvatky = false;
    RunDayTableRequest(host_, DayNumber(2024, 4, 1), 1);
    EXPECT_EQ(host_.log, (Log{"disable", "day", "enable"}));
    ASSERT_TRUE(host_.day);
    EXPECT_EQ(host_.day->Day, EncodeDate(2024, 4, 1));
    EXPECT_EQ(host_.day->Channel.Id, 1);
    EXPECT_EQ(host_.day->DayStartHour, 6);
    EXPECT_EQ(host_.day->DayType, 1);  // a holiday, whether or not holidays are used
    EXPECT_EQ(host_.day->Tariffs, early);
    EXPECT_EQ(host_.day->Shifts, Shifts({0, 720}));
    EXPECT_EQ(DayResult.DayQuarterValues[0][0], 100);
    EXPECT_EQ(DayResult.DayTotal(), 25);
    EXPECT_EQ(messages_.Count(), 0u);

    host_.log.clear();
    RunDayTableRequest(host_, DayNumber(2024, 4, 2), 0);
    EXPECT_EQ(host_.day->DayType, 0);
    EXPECT_EQ(host_.day->Channel.Id, 0);
    EXPECT_EQ(host_.day->Tariffs, late);
}

TEST_F(TableRequests, DayWithoutRecordsKeepsTheWindowAndSaysSo) {
    RunDayTableRequest(host_, DayNumber(2024, 4, 1), 0);
    EXPECT_EQ(host_.log, (Log{"disable", "enable"}));
    ASSERT_EQ(messages_.Count(), 1u);
    EXPECT_EQ(messages_.Messages()[0].Text, "Soubor pro daný měsíc není k dispozici!");
    EXPECT_EQ(messages_.Messages()[0].Type, TMsgDlgType::mtError);
}

// The message tells a missing month file from a day without records in an existing
// one, also when the day runs into the next month, whose file is the one there.
TEST_F(TableRequests, ADayWithoutRecordsInAnExistingMonthFileSaysTheDayHasNone) {
    Add(24, 4, 10, 10, 15, 0, {100, 0, 0, 0});
    Save();
    struct Case {
        uintptr_t day;
        const char* text;
    } cases[] = {
        {DayNumber(2024, 4, 2), "Pro daný den nejsou k dispozici žádné záznamy!"},
        {DayNumber(2024, 3, 31), "Pro daný den nejsou k dispozici žádné záznamy!"},  // until 1 April 0:07:31
        {DayNumber(2024, 3, 30), "Soubor pro daný měsíc není k dispozici!"},
        {DayNumber(2024, 5, 2), "Soubor pro daný měsíc není k dispozici!"},
    };
    for (const Case& c : cases) {
        messages_.Clear();
        RunDayTableRequest(host_, c.day, 0);
        ASSERT_EQ(messages_.Count(), 1u) << c.day;
        EXPECT_EQ(messages_.Messages()[0].Text, c.text) << c.day;
    }
}

TEST_F(TableRequests, DateZeroAsksTheUserWhichIsNotThereYet) {
    RunDayTableRequest(host_, 0, 1);
    RunMonthTableRequest(host_, 0, 1, {});
    RunYearTableRequest(host_, 0, 1);
    EXPECT_TRUE(host_.log.empty());
    EXPECT_EQ(messages_.Count(), 0u);
}

TEST_F(TableRequests, MonthWithProgressPerDay) {
    Add(24, 12, 20, 12, 0, 0, 40);
    Save();
    RunMonthTableRequest(host_, DayNumber(2024, 12, 15), 0, {0, 5});
    EXPECT_EQ(host_.log, (Log{"disable", "progress Provádí se výpočet tabulky... 31", "month", "close", "enable"}));
    EXPECT_EQ(host_.steps, 31);
    ASSERT_TRUE(host_.month);
    EXPECT_EQ(host_.month->FirstDay, EncodeDate(2024, 12, 15));
    EXPECT_EQ(host_.month->PeriodMonths, (std::array<uint8_t, 4>{15, 12, 1, 2}));
    EXPECT_EQ(host_.month->PartialMonth, 0);
    EXPECT_EQ(host_.month->PeriodDays, 31);
    EXPECT_EQ(host_.month->Shifts, StartShiftTable());
    EXPECT_EQ(MonthResult.DayTotal[5], 10);
    EXPECT_EQ(MonthResult.PeriodTotal, 10);

    host_.steps = 0;
    RunMonthTableRequest(host_, DayNumber(2024, 12, 15), 0, {1, 35});
    EXPECT_EQ(host_.steps, 35);
    EXPECT_EQ(host_.month->PeriodDays, 35);
    EXPECT_EQ(MonthPeriodInfo, (TMonthPeriodInfo{31, 35, 31, 1}));

    // A custom period holds 1 to 35 days.
    host_.steps = 0;
    RunMonthTableRequest(host_, DayNumber(2024, 12, 15), 0, {1, 0});
    EXPECT_EQ(host_.steps, 1);
    EXPECT_EQ(host_.month->PeriodDays, 1);
    RunMonthTableRequest(host_, DayNumber(2024, 12, 15), 0, {1, 40});
    EXPECT_EQ(host_.month->PeriodDays, 35);
}

TEST_F(TableRequests, YearOfThirteenMonthsFromTheFirstOfTheMonth) {
    Add(23, 11, 1, 12, 0, 0, 40);
    Add(24, 11, 30, 12, 0, 0, 80);
    Add(24, 12, 1, 12, 0, 0, 120);
    Save();
    YearMonthCount = 13;
    YearCustomPeriod = 1;
    RunYearTableRequest(host_, DayNumber(2023, 11, 20), 0);
    EXPECT_EQ(host_.log, (Log{"disable", "progress Provádí se výpočet tabulky... 390", "year", "close", "enable"}));
    EXPECT_EQ(host_.steps, 396);
    ASSERT_TRUE(host_.year);
    EXPECT_EQ(host_.year->FirstMonth, EncodeDate(2023, 11, 1));
    EXPECT_EQ(host_.year->StartMonth, 11);
    EXPECT_EQ(host_.year->StartYear, 2023);
    EXPECT_EQ(host_.year->StartDay, 1);
    EXPECT_EQ(YearResult.MonthTotal[0], 10);
    EXPECT_EQ(YearResult.MonthTotal[12], 20);
    EXPECT_EQ(YearResult.MonthTotal[13], 0);
    EXPECT_EQ(YearMonthCount, 13);
    EXPECT_EQ(YearCustomPeriod, 1);
    YearMonthCount = 12;
    YearCustomPeriod = 0;
}

// A month file that cannot be read ends the evaluation; the box closes and the main
// form comes back before the failure is shown.
TEST_F(TableRequests, FailureClosesTheProgressBoxAndEnablesTheMainForm) {
    dir_.Write("ROK2024/Mesic03.zek/x", "");
    RunYearTableRequest(host_, DayNumber(2024, 1, 1), 0);
    EXPECT_EQ(host_.log, (Log{"disable", "progress Provádí se výpočet tabulky... 360", "close", "enable"}));
    RunMonthTableRequest(host_, DayNumber(2024, 3, 1), 0, {});
    RunDayTableRequest(host_, DayNumber(2024, 3, 5), 0);
    EXPECT_EQ(host_.log, (Log{"disable", "progress Provádí se výpočet tabulky... 360", "close", "enable",
                              "disable", "progress Provádí se výpočet tabulky... 31", "close", "enable", "disable",
                              "enable"}));
    EXPECT_FALSE(host_.year || host_.month || host_.day);
    ASSERT_EQ(messages_.Count(), 3u);
    EXPECT_EQ(messages_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_NE(messages_.Messages()[0].Text.find("Mesic03.zek"), std::string::npos);
    EXPECT_FALSE(TableRequestRunning());
}

// The evaluation and the tables handed to the window read the histories once per
// request, so their error is shown once (it was shown up to three times).
TEST_F(TableRequests, AHistoryErrorIsShownOncePerRequest) {
    Add(24, 3, 5, 12, 0, 0, 40);
    Save();
    dir_.Write(std::string(TariffHistoryFile) + "/x", "");  // a folder: cannot be read
    dir_.Write(ShiftHistoryFile, "damaged");
    RunDayTableRequest(host_, DayNumber(2024, 3, 5), 0);
    EXPECT_EQ(messages_.Count(), 1u);
    RunMonthTableRequest(host_, DayNumber(2024, 3, 1), 0, {});
    EXPECT_EQ(messages_.Count(), 2u);
    RunYearTableRequest(host_, DayNumber(2024, 1, 1), 0);
    EXPECT_EQ(messages_.Count(), 3u);
    // One box names both files and what is wrong with each.
    for (const auto& m : messages_.Messages())
        EXPECT_EQ(m.Text, "Chyba při načítání historie tarifů/směn!\n" + dir_ / TariffHistoryFile +
                              "\nSoubor nelze přečíst. Je to složka, ne soubor.\n" + dir_ / ShiftHistoryFile +
                              "\nPoškozený záznam na pozici 0 (vynecháno bajtů:\u00a07): soubor končí uprostřed "
                              "záznamu.\nPoškozená místa nebyla použita.");
    ASSERT_TRUE(host_.day && host_.month && host_.year);
    EXPECT_EQ(host_.year->Shifts, StartShiftTable());
}

TEST_F(TableRequests, RequestArrivingWhileOneEvaluatesIsDropped) {
    bool running = false;
    host_.onStep = [&] {
        running = TableRequestRunning();
        RunDayTableRequest(host_, DayNumber(2024, 3, 5), 0);
    };
    RunMonthTableRequest(host_, DayNumber(2024, 3, 1), 0, {});
    EXPECT_TRUE(running);
    EXPECT_EQ(host_.log, (Log{"disable", "progress Provádí se výpočet tabulky... 31", "month", "close", "enable"}));
}
