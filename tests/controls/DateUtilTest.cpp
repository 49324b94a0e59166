// The date rules of the calendars and the date edit: month lengths, two-digit
// years on a fixed clock, reading typed dates by position and by separators, and
// the formats and masks.
#include "controls/DateUtil.h"

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zeko;

namespace {

struct DateUtilTest : ::testing::Test {
    DateUtilTest() {
        FormatSettings() = TFormatSettings();  // "dd/mm/yyyy" with "."
        SetToday(2026, 3, 12);
    }
    ~DateUtilTest() override {
        SetNowOverride(std::nullopt);
        FormatSettings() = TFormatSettings();
    }
    static void SetToday(int year, int month, int day) { SetNowOverride(EncodeDate(year, month, day) + 0.25); }
};

struct Ymd {
    int y, m, d;
    friend bool operator==(const Ymd&, const Ymd&) = default;
};
std::ostream& operator<<(std::ostream& os, const Ymd& v) { return os << v.d << "." << v.m << "." << v.y; }

// A typed text, the date format it is read with, and what comes of it.
struct TypedDate {
    const char* text;
    const char* format;
    bool ok;
    Ymd date;
};

} // namespace

TEST_F(DateUtilTest, MonthLengthsAndValidity) {
    struct Case {
        int y, m, d;
        bool valid;
    };
    const Case cases[] = {
        {2023, 2, 29, false}, {2024, 2, 29, true}, {1900, 2, 29, false}, {2000, 2, 29, true},
        {2026, 4, 31, false}, {2026, 12, 31, true}, {2026, 13, 1, false}, {2026, 0, 1, false},
        {2026, 1, 0, false},  {0, 1, 1, false},     {1, 1, 1, true},     {9999, 12, 31, true},
        {10000, 1, 1, false}, {-1, 1, 1, false},    {2026, 1, -1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidDate(c.y, c.m, c.d), c.valid) << Ymd{c.y, c.m, c.d};
    EXPECT_EQ(DaysPerMonth(2024, 2), 29);
    EXPECT_EQ(DaysPerMonth(2100, 2), 28);
    EXPECT_EQ(DaysPerMonth(2026, 11), 30);
}

TEST_F(DateUtilTest, ValidDateTakesOnlyDayNumbersOfTheCalendar) {
    EXPECT_TRUE(ValidDate(EncodeDate(2026, 3, 12) + 0.5));
    EXPECT_TRUE(ValidDate(NullDate));  // 30 December 1899 is a date; NullDate is a convention
    EXPECT_TRUE(ValidDate(EncodeDate(1, 1, 1)));
    EXPECT_TRUE(ValidDate(EncodeDate(9999, 12, 31) + 0.999));
    EXPECT_FALSE(ValidDate(EncodeDate(9999, 12, 31) + 1));
    EXPECT_FALSE(ValidDate(EncodeDate(1, 1, 1) - 1));
    EXPECT_FALSE(ValidDate(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(ValidDate(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(ValidDate(1e300));
}

TEST_F(DateUtilTest, ShortYearsFallWithinThirtyYearsAheadOfTheClock) {
    struct Case {
        int today;
        int year;
        int expanded;
    };
    const Case cases[] = {
        {2026, 0, 2000},  {2026, 26, 2026}, {2026, 56, 2056}, {2026, 99, 2099},
        {2026, 100, 100}, {2026, 1999, 1999},
        {2080, 5, 2105},  {2080, 10, 2110}, {2080, 11, 2011}, {2080, 99, 2099},
        {2099, 29, 2129}, {2099, 30, 2030}, {2100, 0, 2100}, {2100, 31, 2131},
        // -1 (a blank year) passes as 1999 up to a year ending in 68, as 2099 from 69.
        {2068, -1, 1999}, {2069, -1, 2099},
    };
    for (const Case& c : cases) {
        SetToday(c.today, 6, 1);
        EXPECT_EQ(CurrentYear(), c.today);
        EXPECT_EQ(ExpandShortYear(c.year), c.expanded) << c.year << " in " << c.today;
    }
}

TEST_F(DateUtilTest, OrderFollowsTheFirstDateLetter) {
    const struct {
        const char* format;
        TDateOrder order;
    } cases[] = {
        {"dd/mm/yyyy", doDMY}, {"MM/DD/YY", doMDY}, {"yyyy-mm-dd", doYMD}, {"ee/mm/dd", doYMD},
        {"g yy.mm.dd", doYMD}, {"", doDMY},         {"hh:nn", doDMY},      {"/ddd mm", doDMY},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDateOrder(c.format), c.order) << c.format;
}

TEST_F(DateUtilTest, MonthNamesMatchByTheirStartWithoutCase) {
    const struct {
        const char* text;
        int length;
        int month;
    } cases[] = {
        {"bře", 3, 3}, {"BŘEZEN", 6, 3}, {"Bř", 2, 3},  {"čer", 3, 6},  // červen comes before červenec
        {"červenec", 8, 7}, {"led", 3, 1}, {"xyz", 3, 0}, {"", 3, 0},    {"březenx", 7, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MonthFromName(c.text, c.length), c.month) << c.text;
}

TEST_F(DateUtilTest, ScanDateReadsBySeparatorsInTheFormatsOrder) {
    const TypedDate cases[] = {
        {"12.03.2026", "DD/MM/YYYY", true, {2026, 3, 12}},
        {" 7 . 3 ", "DD/MM/YYYY", true, {2026, 3, 7}},  // blanks around, this year
        {"7.3.", "DD/MM/YYYY", true, {2026, 3, 7}},     // a trailing separator is passed
        {"5.3.26", "DD/MM/YYYY", true, {2026, 3, 5}},
        {"5.3.90", "DD/MM/YYYY", true, {2090, 3, 5}},   // thirty years ahead of 2026
        {"3.5.2026", "MM/DD/YYYY", true, {2026, 3, 5}},
        {"3.5", "MM/DD/YYYY", true, {2026, 3, 5}},
        {"2026.3.5", "YYYY/MM/DD", true, {2026, 3, 5}},
        {"3.5", "YYYY/MM/DD", true, {2026, 3, 5}},      // without a year: month first
        {"29.02.2023", "DD/MM/YYYY", false, {2023, 2, 29}},
        {"29.02.2024", "DD/MM/YYYY", true, {2024, 2, 29}},
        {"12345.3.2026", "DD/MM/YYYY", false, {0, 0, 0}},  // 1234, then '5' is no separator
        {"12.03.2026 x", "DD/MM/YYYY", false, {2026, 3, 12}},
        {"12.03.", "DD/MM/YYYY", true, {2026, 3, 12}},
        {"12.03.    ", "DD/MM/YYYY", true, {2026, 3, 12}},  // no year behind the separator
        {"12..2026", "DD/MM/YYYY", false, {0, 0, 0}},
        {"12", "DD/MM/YYYY", false, {0, 0, 0}},
        {"", "DD/MM/YYYY", false, {0, 0, 0}},
        {"0012.3.2026", "DD/MM/YYYY", true, {2026, 3, 12}},  // leading zeros keep the value small
    };
    for (const TypedDate& c : cases) {
        int pos = 1;
        Ymd read{};
        EXPECT_EQ(ScanDate(c.text, c.format, pos, read.y, read.m, read.d), c.ok) << c.text;
        if (c.ok || c.date.y != 0) {
            EXPECT_EQ(read, c.date) << c.text;
        }
    }
    FormatSettings().DateSeparator = '/';
    int pos = 1;
    Ymd read{};
    EXPECT_TRUE(ScanDate("12/3/2026", "dd/mm/yyyy", pos, read.y, read.m, read.d));
    EXPECT_EQ(pos, 10);
    pos = 1;
    EXPECT_FALSE(ScanDate("12.3.2026", "dd/mm/yyyy", pos, read.y, read.m, read.d));
}

TEST_F(DateUtilTest, ScanDateStartsWhereItIsToldAndPassesAnEra) {
    int pos = 5;
    Ymd read{};
    EXPECT_TRUE(ScanDate("Do: 1.2.2027", "DD/MM/YYYY", pos, read.y, read.m, read.d));
    EXPECT_EQ(read, (Ymd{2027, 2, 1}));
    FormatSettings().ShortDateFormat = "gg yyyy/mm/dd";
    pos = 1;
    EXPECT_TRUE(ScanDate("H 2026.3.5", "yyyy/mm/dd", pos, read.y, read.m, read.d));
    EXPECT_EQ(read, (Ymd{2026, 3, 5}));
}

TEST_F(DateUtilTest, FarEastDatesMayCarryWordsBehind) {
    TFormatSettings& fs = FormatSettings();
    fs.FarEastLocale = true;
    fs.ShortDateFormat = "yyyy/mm/dd ddd";
    fs.TimeAMString = "AM";
    fs.TimePMString = "PM";
    int pos = 1;
    Ymd read{};
    EXPECT_TRUE(ScanDate("2026.3.5 Thu words", "yyyy/mm/dd", pos, read.y, read.m, read.d));
    pos = 1;
    EXPECT_FALSE(ScanDate("2026.3.5 Thu PM", "yyyy/mm/dd", pos, read.y, read.m, read.d));  // the time is left
    fs.FarEastLocale = false;
    pos = 1;
    EXPECT_FALSE(ScanDate("2026.3.5 Thu", "yyyy/mm/dd", pos, read.y, read.m, read.d));
}

TEST_F(DateUtilTest, ExtractMaskReadsOneElementByItsPlaces) {
    struct Case {
        const char* format;
        const char* text;
        char letter;
        int count;
        int value;
    };
    const Case cases[] = {
        {"DD/MM/YYYY", "12.03.2026", 'd', 1, 12},
        {"DD/MM/YYYY", "12.03.2026", 'M', 1, 3},
        {"DD/MM/YYYY", "12.03.2026", 'y', 1, 2026},
        {"DD/MM/YYYY", "12.03.    ", 'y', 1, -9},   // all blank: the blank value
        {"DD/MM/YYYY", " 5. 3.2026", 'd', 1, 5},    // blanks are left out
        {"DD/MM/YYYY", "1x.03.2026", 'd', 1, -1},   // no number
        {"DD/MM/YYYY", "12.03.20", 'y', 1, 20},     // a shorter text: its own end
        {"DD/MM/YYYY", "12.03.2026 ", 'd', 1, 77},  // longer than the format: the default
        {"DD/MM/YYYY", "12.03.2026", 'm', 3, 77},   // no run of three: the default
        {"DD/MMM/YYYY", "12.bře.2026", 'm', 3, 3},
        {"DD/MMM/YYYY", "12.xyz.2026", 'm', 3, -1},
        {"DD/MMM/YYYY", "12.   .2026", 'm', 3, -9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractMask(c.format, c.text, c.letter, c.count, -9, 77), c.value) << c.format << " " << c.text;
}

TEST_F(DateUtilTest, TypedDatesAreReadByPositionThenBySeparators) {
    const TypedDate cases[] = {
        {"12.03.2026", "DD/MM/YYYY", true, {2026, 3, 12}},
        {"05.03.1990", "DD/MM/YYYY", true, {1990, 3, 5}},
        {" 5. 3.2026", "DD/MM/YYYY", true, {2026, 3, 5}},
        {"5.3.", "DD/MM/YYYY", true, {2026, 3, 5}},       // free text by its separators
        {"5.3.26", "DD/MM/YYYY", true, {2026, 3, 5}},
        {"31.02.2026", "DD/MM/YYYY", false, {}},
        {"  .  .    ", "DD/MM/YYYY", false, {}},
        // A year left blank in the mask is no year: this year, as for "5.3.".
        {"12.03.    ", "DD/MM/YYYY", true, {2026, 3, 12}},
        {"12.03.  26", "DD/MM/YYYY", true, {2026, 3, 12}},
        {"03.12.2026", "MM/DD/YYYY", true, {2026, 3, 12}},
        {"2026.03.12", "YYYY/MM/DD", true, {2026, 3, 12}},
        {"12.03.26", "DD/MM/YY", true, {2026, 3, 12}},
        {"12.03.90", "DD/MM/YY", true, {2090, 3, 12}},  // why the date edits keep four digits
        {"12.03", "DD/MM", true, {2026, 3, 12}},        // no year in the format: this year
    };
    for (const TypedDate& c : cases) {
        TDateTime date = -1;
        EXPECT_EQ(TryStrToDateFmt(c.format, c.text, date), c.ok) << c.format << " " << c.text;
        if (c.ok) {
            EXPECT_EQ(date, EncodeDate(c.date.y, c.date.m, c.date.d)) << c.text;
        }
    }
}

TEST_F(DateUtilTest, BlankYearIsThisYearWhateverTheClock) {
    // Read by position, the blank year once came out as 1999 (2099 from 2069 on).
    for (int year : {2026, 2068, 2069}) {
        SetToday(year, 1, 1);
        TDateTime date = -1;
        EXPECT_TRUE(TryStrToDateFmt("DD/MM/YYYY", "12.03.    ", date)) << year;
        EXPECT_EQ(date, EncodeDate(year, 3, 12)) << year;
        EXPECT_FALSE(TryStrToDateFmt("DD/MM/YYYY", "  .03.    ", date)) << year;
    }
}

TEST_F(DateUtilTest, ConversionsReportFailureTheirOwnWay) {
    TDateTime date = -1;
    EXPECT_TRUE(TryStrToDateFmt("DD/MM/YYYY", "", date));
    EXPECT_EQ(date, NullDate);
    EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", "12.03.2026"), EncodeDate(2026, 3, 12));
    try {
        StrToDateFmt("DD/MM/YYYY", "31.02.2026");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "''31.02.2026'' is not a valid date");
    }
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "x", 45000.75), 45000.0);
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "x", -1.5), -1.0);  // toward zero
    EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "1.1.2000", 5), EncodeDate(2000, 1, 1));
}

TEST_F(DateUtilTest, FormatsAndMasksFollowTheShortDateOrder) {
    struct Case {
        const char* shortFormat;
        bool four;
        char blank;
        const char* format;
        const char* mask;
    };
    const Case cases[] = {
        {"dd/mm/yyyy", true, ' ', "DD/MM/YYYY", "!99/99/9999;1; "},
        {"dd/mm/yyyy", false, '_', "DD/MM/YY", "!99/99/99;1;_"},
        {"m/d/yy", true, ' ', "MM/DD/YYYY", "!99/99/9999;1; "},
        {"yyyy-mm-dd", true, ' ', "YYYY/MM/DD", "!9999/99/99;1; "},
        {"yyyy-mm-dd", false, ' ', "YY/MM/DD", "!99/99/99;1; "},
    };
    for (const Case& c : cases) {
        FormatSettings().ShortDateFormat = c.shortFormat;
        EXPECT_EQ(DefDateFormat(c.four), c.format) << c.shortFormat;
        EXPECT_EQ(DefDateMask(c.blank, c.four), c.mask) << c.shortFormat;
    }
}

TEST_F(DateUtilTest, FourDigitYearIsFixedWhenFirstAsked) {
    const bool first = FourDigitYear();
    FormatSettings().ShortDateFormat = first ? "dd.mm.yy" : "dd.mm.yyyy";
    EXPECT_EQ(FourDigitYear(), first);
}
