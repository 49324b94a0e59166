#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "support/TestLocales.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace zeko;

namespace {
struct DecimalComma : ::testing::Test {
    void SetUp() override { FormatSettings().DecimalSeparator = ','; }
};
} // namespace

TEST_F(DecimalComma, FixedRoundsHalvesAwayFromZeroOnTheDecimalValue) {
    struct Case { double v; int d; const char* text; } cases[] = {
        {10.25, 1, "10,3"}, {0.15, 1, "0,2"}, {2.675, 2, "2,68"}, {-10.25, 1, "-10,3"},
        {9.95, 1, "10,0"}, {0.04, 1, "0,0"}, {-0.04, 1, "0,0"}, {123, 0, "123"},
        {0.5, 0, "1"}, {1e-7, 2, "0,00"}, {1234567.891, 2, "1234567,89"}, {0, 1, "0,0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.v, c.d), c.text) << c.v;
}

// A tie in decimal rounds the same way whether the value was written or summed:
// the sum's binary error lies beyond the digits the value is trusted to.
TEST_F(DecimalComma, FixedRoundsATieOfASumAsTheWrittenTie) {
    struct Case { double v; int d; const char* text; } cases[] = {
        {0.1 + 14.35 + 0.2, 1, "14,7"},  // 14.649999999999999
        {14.65, 1, "14,7"},
        {0.1 + 0.2 + 7.35, 1, "7,7"},    // 7.6499999999999995
        {-(0.1 + 14.35 + 0.2), 1, "-14,7"},
        {0.1 + 7.3 + 0.1, 0, "8"},       // 7.499999999999999
        {14.649999, 1, "14,6"},          // a difference within the trusted digits stands
        {1234567890123.45, 1, "1234567890123,5"},  // digits shown beyond the trusted ones count
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.v, c.d), c.text) << c.v;
}

TEST_F(DecimalComma, ComputationsRoundHalfToEven) {
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.51), 3);
}

TEST_F(DecimalComma, GeneralFormat) {
    EXPECT_EQ(FloatToStr(0.1), "0,1");
    EXPECT_EQ(FloatToStr(4800), "4800");
    EXPECT_EQ(FloatToStr(-1.5), "-1,5");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(FloatToStr(1e20), "1E+20");
    EXPECT_EQ(FloatToStr(0.00001), "0,00001");
    EXPECT_EQ(FloatToStr(0.000001), "1E-06");
}

TEST_F(DecimalComma, TextToNumberFollowsTheSeparator) {
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(" 12,5 ", v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_FALSE(TryStrToFloat("12.5", v));
    EXPECT_FALSE(TryStrToFloat("", v));
    EXPECT_FALSE(TryStrToFloat("1,2,3", v));
    EXPECT_TRUE(TryStrToFloat("-1,5E2", v));
    EXPECT_DOUBLE_EQ(v, -150);
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    // Only written numbers: no words for infinities or NaN, one sign, digits somewhere.
    for (const char* bad : {"nan", "inf", "-inf", "infinity", "+-5", "--5", ",", "-", "1E", "1E+",
                            "0x10", "1 2", "1,2,3"})
        EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    const struct { const char* text; double value; } good[] = {
        {"5,", 5}, {",5", 0.5}, {"-,5", -0.5}, {"+7", 7}, {"1e3", 1000}, {"2,5E-1", 0.25}};
    for (const auto& g : good) {
        EXPECT_TRUE(TryStrToFloat(g.text, v)) << g.text;
        EXPECT_DOUBLE_EQ(v, g.value) << g.text;
    }
    FormatSettings().DecimalSeparator = '.';
    EXPECT_TRUE(TryStrToFloat("12.5", v));
    FormatSettings().DecimalSeparator = ',';
}

TEST(Integers, DecimalAndHexTexts) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7"), -7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToIntDef("4x", 9), 9);
    EXPECT_EQ(StrToIntDef("", 9), 9);
    EXPECT_THROW(StrToInt("99999999999999999999"), EConvertError);
}

namespace {

// The environment's locale variables, set for a test and put back afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (const char* name : Names)
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
    }
    ~LocaleEnvironment() {
        Set({});
        for (const auto& [name, value] : saved_)
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    // Clears every locale variable, then sets those given.
    void Set(const std::vector<std::pair<std::string, std::string>>& values) {
        for (const char* name : Names)
            ::unsetenv(name);
        for (const auto& [name, value] : values)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    static constexpr const char* Names[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG", "LOCPATH"};
    std::vector<std::pair<std::string, std::string>> saved_;
};

} // namespace

// The decimal separator is the chosen locale's; under the plain C locale, which no
// one chooses (a system left as installed), the numbers stay as the Czech texts
// around them write them.
TEST(LocaleFormats, TheDecimalSeparatorIsTheChosenLocalesAndACommaUnderC) {
    const TFormatSettings saved = FormatSettings();
    LocaleEnvironment environment;
    const zeko::test::TestLocales locales;
    const bool english = locales.Make("en_US"), czech = locales.Make("cs_CZ");
    struct Case {
        std::vector<std::pair<std::string, std::string>> variables;
        char separator;
        bool needsEnglish, needsCzech;
    } const cases[] = {
        {{}, ',', false, false},
        {{{"LC_ALL", "C"}}, ',', false, false},
        {{{"LANG", "C.UTF-8"}}, ',', false, false},
        {{{"LC_ALL", "POSIX"}}, ',', false, false},
        {{{"LANG", "en_US.UTF-8"}}, '.', true, false},
        {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "C"}}, '.', true, false},
        // LC_NUMERIC says how numbers are written, whatever LANG says.
        {{{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "C"}}, ',', true, false},
        {{{"LANG", "cs_CZ.UTF-8"}}, ',', false, true},
        // A locale that is named but not installed is no locale: the defaults stay.
        {{{"LANG", "de_DE.UTF-8"}}, ',', false, false},
    };
    for (const Case& c : cases) {
        if ((c.needsEnglish && !english) || (c.needsCzech && !czech))
            continue;
        auto variables = c.variables;
        variables.emplace_back("LOCPATH", locales.Folder());
        environment.Set(variables);
        FormatSettings() = TFormatSettings{};
        LoadLocaleFormatSettings();
        std::string named;
        for (const auto& [name, value] : c.variables)
            named += name + "=" + value + " ";
        EXPECT_EQ(FormatSettings().DecimalSeparator, c.separator) << named;
        EXPECT_EQ(FormatFixed(10.25, 1), std::string("10") + c.separator + "3") << named;
    }
    FormatSettings() = saved;
    if (!english)
        GTEST_SKIP() << "no en_US locale could be made (localedef)";
}
