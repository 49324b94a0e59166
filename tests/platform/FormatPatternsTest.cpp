#include "platform/DateParsing.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zeko;

namespace {
// The program's settings: decimal comma, space between thousands, the short date
// format it sets at start and a 24-hour long time format.
struct CzechFormats : ::testing::Test {
    void SetUp() override {
        saved = FormatSettings();
        TFormatSettings& fs = FormatSettings();
        fs.DecimalSeparator = ',';
        fs.ThousandSeparator = ' ';
        fs.DateSeparator = '.';
        fs.TimeSeparator = ':';
        fs.ShortDateFormat = "dd/mm/yyyy";
        fs.LongTimeFormat = "hh:nn:ss";
        fs.ShortTimeFormat = "hh:nn";
        fs.TimeAMString = "dop.";
        fs.TimePMString = "odp.";
    }
    void TearDown() override {
        FormatSettings() = saved;
        SetNowOverride(std::nullopt);
    }
    TFormatSettings saved;
};
} // namespace

TEST_F(CzechFormats, FormatFloatPatterns) {
    struct Case { const char* pattern; double value; const char* text; };
    const Case cases[] = {
        {"0.0", 10.25, "10,3"},
        {"0.0", 0.1 + 14.35 + 0.2, "14,7"},  // a sum's binary error does not decide the tie
        {"0.00", 2.675, "2,68"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"000", 7, "007"},
        {"00-00", 1234, "12-34"},
        {"#", 0, ""},
        {"#.00", 0.5, ",50"},
        {"0.##", 1.5, "1,5"},
        {"0.##", 1, "1"},
        {"0.0#", 1.257, "1,26"},
        {"0.0#", 1.2, "1,2"},
        {"#,##0", 999, "999"},
        {"#,##0", 1000, "1 000"},
        {"#,##0", 1000000, "1 000 000"},
        {"#,##0.00", 1234567.891, "1 234 567,89"},
        {"#,##0.00", 0, "0,00"},
        {"#,##0.00", -1234.5, "-1 234,50"},
        {"#,##0.00", 999.999, "1 000,00"},
        {"0", 123456, "123456"},  // more digits than places come first
        {"0.00E+00", 12345, "1,23E+04"},
        {"0.00E+00", 0.000123, "1,23E-04"},
        {"0.00E-00", 12345, "1,23E04"},
        {"0.00E-00", 0.000123, "1,23E-04"},
        {"0.0E+0", 0, "0,0E+0"},
        {"00.0E+000", 12345, "12,3E+003"},
        {"0.00E+00", 9.999, "1,00E+01"},
        {"0.00E+00", -12345, "-1,23E+04"},
        {"0.0 'kWh'", 5, "5,0 kWh"},
        {"\"##\"0", 5, "##5"},
        {"\"Kč \"#,##0.00", 12.5, "Kč 12,50"},
        {"\"\"#,##0.00", 12.5, "12,50"},
        {"#,##0.00;(#,##0.00)", -5, "(5,00)"},
        {"#,##0.00;(#,##0.00)", 5, "5,00"},
        {"\"Kč\"#,##0.0;(\"Kč\"#,##0.0)", -1234.56, "(Kč1 234,6)"},
        {"0.00;(0.00);\"nula\"", 0, "nula"},
        {"0.00;(0.00);\"nula\"", -0.001, "nula"},  // rounds to zero
        {"0.00;;\"nula\"", -3, "-3,00"},          // empty negative section
        {"0.000", -0.0004, "0,000"},               // no minus on a zero
        {"0.00", 1e-7, "0,00"},
        {"", 0.1, "0,1"},
        {";(0)", 4, "4"},  // empty first section: the general format
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " / " << c.value;
    EXPECT_EQ(FormatFloat("0.0", INFINITY), "INF");
}

TEST_F(CzechFormats, FormatFloatFollowsTheSeparators) {
    FormatSettings().DecimalSeparator = '.';
    FormatSettings().ThousandSeparator = ',';
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1,234.50");
}

TEST_F(CzechFormats, FormatDateTimePatterns) {
    // Tuesday 5 March 2024, 14:07:09.045
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    const TDateTime midnight = EncodeDate(2024, 3, 5);
    const TDateTime early = EncodeDate(2024, 3, 5) + EncodeTime(0, 30, 0);
    struct Case { const char* pattern; TDateTime value; const char* text; };
    const Case cases[] = {
        {"dd.mm.yyyy", t, "05.03.2024"},
        {"d.m.yy", t, "5.3.24"},
        {"DD.MM.YYYY", t, "05.03.2024"},
        {"hh:nn", t, "14:07"},
        {"h:nn:ss", t, "14:07:09"},
        {"hh:mm", t, "14:07"},          // mm right after an hour is minutes
        {"hh' h 'mm", t, "14 h 07"},
        {"mm", t, "03"},
        {"ddd", t, "út"},
        {"dddd", t, "úterý"},
        {"mmm", t, "bře"},
        {"mmmm", t, "březen"},
        {"mmm-yy", t, "bře-24"},
        {"d-mmm", t, "5-bře"},
        {"dddd mmmm d, yyyy", t, "úterý březen 5, 2024"},
        {"c", t, "05.03.2024 14:07:09"},
        {"c", midnight, "05.03.2024"},
        {"", t, "05.03.2024 14:07:09"},
        {"ddddd", t, "05.03.2024"},
        {"t", t, "14:07"},
        {"tt", t, "14:07:09"},
        {"dd/mm/yyyy", t, "05.03.2024"},
        {"hh:nn:ss.zzz", t, "14:07:09.045"},
        {"h:nn am/pm", t, "2:07 pm"},
        {"h:nn AM/PM", t, "2:07 PM"},
        {"h:nn am/pm", early, "12:30 am"},
        {"h a/p", t, "2 p"},
        {"hh:nn ampm", t, "02:07 odp."},
        {"h:nn ampm", early, "12:30 dop."},
        {"'Dnes je' dddd", t, "Dnes je úterý"},
        {"\"d\" d", t, "d 5"},
        {"ddd", EncodeDate(2024, 3, 10), "ne"},
        {"mmmm", EncodeDate(2024, 12, 1), "prosinec"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.pattern, c.value), c.text) << c.pattern;
    EXPECT_EQ(DateToStr(t), "05.03.2024");
    EXPECT_EQ(TimeToStr(t), "14:07:09");
    EXPECT_EQ(DateTimeToStr(t), "05.03.2024 14:07:09");
}

TEST_F(CzechFormats, FormatDateTimeRefusesValuesOutsideTheCalendar) {
    EXPECT_THROW(FormatDateTime("c", NAN), EConvertError);
    EXPECT_THROW(FormatDateTime("c", -700000), EConvertError);
    EXPECT_THROW(FormatDateTime("c", 3e6), EConvertError);
    EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(9999, 12, 31) + 0.5), "9999");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn", -1.25), "28.12.1899 18:00");
}

TEST_F(CzechFormats, DatesFromText) {
    SetNowOverride(EncodeDate(2024, 6, 1) + 0.5);
    struct Case { const char* text; bool ok; TDateTime date; };
    const Case cases[] = {
        {"15.3.2024", true, EncodeDate(2024, 3, 15)},
        {" 15 . 03 . 2024 ", true, EncodeDate(2024, 3, 15)},
        {"15.3.", true, EncodeDate(2024, 3, 15)},
        {"15.3", true, EncodeDate(2024, 3, 15)},
        {"15.3.24", true, EncodeDate(2024, 3, 15)},
        {"15.3.74", true, EncodeDate(1974, 3, 15)},
        {"15.3.73", true, EncodeDate(2073, 3, 15)},
        {"15.3.0024", true, EncodeDate(24, 3, 15)},  // four digits are taken as written
        {"29.2.2023", false, 0},
        {"15/3/2024", false, 0},
        {"15.3.2024x", false, 0},
        {"", false, 0},
        {"15", false, 0},
    };
    for (const Case& c : cases) {
        TDateTime v = -99;
        EXPECT_EQ(TryStrToDate(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.date) << c.text;
        }
    }
    FormatSettings().ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(StrToDate("3.15.2024"), EncodeDate(2024, 3, 15));
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(StrToDate("2024.3.15"), EncodeDate(2024, 3, 15));
    try {
        StrToDate("31.4.2024");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'31.4.2024' is not a valid date");
    }
}

TEST_F(CzechFormats, TimesFromText) {
    struct Case { const char* text; bool ok; TDateTime time; };
    const Case cases[] = {
        {"8:30", true, EncodeTime(8, 30, 0)},
        {"08:30:15", true, EncodeTime(8, 30, 15)},
        {"8:30:15,25", true, EncodeTime(8, 30, 15, 250)},
        {"8:30 PM", true, EncodeTime(20, 30, 0)},
        {"8:30 odp.", true, EncodeTime(20, 30, 0)},
        {"12:00 AM", true, EncodeTime(0, 0, 0)},
        {"12:00 pm", true, EncodeTime(12, 0, 0)},
        {"5 PM", true, EncodeTime(17, 0, 0)},
        {"13:00 PM", false, 0},
        {"25:00", false, 0},
        {"8", false, 0},
        {"8:", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        TDateTime v = -99;
        EXPECT_EQ(TryStrToTime(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.time) << c.text;
        }
    }
    EXPECT_THROW(StrToTime("x"), EConvertError);
}

TEST_F(CzechFormats, DateAndTimeFromText) {
    EXPECT_EQ(StrToDateTime("15.3.2024 8:30"), EncodeDate(2024, 3, 15) + EncodeTime(8, 30, 0));
    EXPECT_EQ(StrToDateTime("15.3.2024"), EncodeDate(2024, 3, 15));
    EXPECT_EQ(StrToDateTime("8:30"), EncodeTime(8, 30, 0));
    EXPECT_THROW(StrToDateTime("15.3.2024 8"), EConvertError);
    // What the grids show reads back.
    const TDateTime t = EncodeDate(2024, 3, 15) + EncodeTime(8, 30, 15);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(t)), t);
}
