#include "core/TextHelpers.h"

#include "platform/DateTime.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(TextHelpers, MinutesToHHMM) {
    EXPECT_EQ(MinutesToHHMM(0), "00:00");
    EXPECT_EQ(MinutesToHHMM(367), "06:07");
    EXPECT_EQ(MinutesToHHMM(1439), "23:59");
    EXPECT_EQ(MinutesToHHMM(1440), "24:00");
    EXPECT_EQ(MinutesToHHMM(1441), "00:01");
}

TEST(TextHelpers, SecondsSplitAndShown) {
    int h, m, s;
    SplitSeconds(3 * 3600 + 25 * 60 + 7, h, m, s);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(m, 25);
    EXPECT_EQ(s, 7);
    SplitSeconds(25 * 3600, h, m, s);
    EXPECT_EQ(h, 1);  // hours above 23 lose 24
    EXPECT_EQ(SecondsToText(3 * 3600 + 25 * 60 + 7, true, true, true), "03:25:07");
    EXPECT_EQ(SecondsToText(900, false, true, true), "15:00");
    EXPECT_EQ(SecondsToText(65535, false, true, true), "12:15");
    EXPECT_EQ(SecondsToText(3600 * 5 + 60, true, true, false), "05:01");
    EXPECT_EQ(SecondsToText(42, false, false, true), "42");
    EXPECT_EQ(SecondsToText(42, false, false, false), "");
}

TEST(TextHelpers, DateToText) {
    EXPECT_EQ(DateToText(5, 3, 24), "05.03.2024");
    EXPECT_EQ(DateToText(31, 12, 99), "31.12.1999");
}

TEST(TextHelpers, ParseHHMM) {
    struct Case { const char* text; int minutes; bool error; };
    const Case cases[] = {
        {"06:00", 360, false}, {"23:59", 1439, false}, {" 6:30", 390, false},
        {"0600", 0, false},    {"  :  ", 0, true},     {"ab:10", 0, true},
        {"10:xy", 0, true},    {"", 0, false},         {"25:70", 25 * 60 + 70, false},
    };
    for (const Case& c : cases) {
        bool error = !c.error;
        EXPECT_EQ(ParseHHMM(c.text, error), c.minutes) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(TextHelpers, StrToFloatClamped) {
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(StrToFloatClamped("12,5", 1, 65535, 1), 12.5);
    EXPECT_EQ(StrToFloatClamped("0", 1, 65535, 1), 1);
    EXPECT_EQ(StrToFloatClamped("70000", 1, 65535, 1), 65535);
    EXPECT_EQ(StrToFloatClamped("abc", 1, 65535, 7), 7);
    EXPECT_EQ(StrToFloatClamped("", 0.1, 3276.7, 1), 1);
    EXPECT_EQ(StrToFloatClamped("12.5", 0, 100, 3), 3);  // not the decimal separator
    EXPECT_EQ(StrToFloatClamped("nan", 0, 100, 3), 3);  // no number, not a NaN setting
}

TEST(TextHelpers, ReplaceAndRemoveCharacters) {
    EXPECT_EQ(ReplaceChar("1.5.2024", '.', ','), "1,5,2024");
    EXPECT_EQ(RemoveChar(" 12 . 03 . ", ' '), "12.03.");
    EXPECT_EQ(RemoveChar("", 'x'), "");
}

TEST(TextHelpers, StampedLine) {
    SetNowOverride(EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9));
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().LongTimeFormat = "hh:nn:ss";
    EXPECT_EQ(StampedLine("Nastavení načteno"), "05.03.2024 14:07:09> Nastavení načteno");
    SetNowOverride(std::nullopt);
}

TEST(TextHelpers, LimitLengthCutsCharactersNotBytes) {
    EXPECT_EQ(LimitLength("Směna ranní odpolední noční", 20), "Směna ranní odpoledn");
    EXPECT_EQ(LimitLength("Směna 1", 20), "Směna 1");
    EXPECT_EQ(LimitLength("ŠŠŠ", 2), "ŠŠ");
    EXPECT_EQ(LimitLength("abcdefghijklmnopqrstuvwxy", 20), "abcdefghijklmnopqrst");
    EXPECT_EQ(LimitLength("", 2), "");
}
