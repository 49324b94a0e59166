// The checks of the settings dialog's edits and the stored forms of their texts,
// without the dialog. Texts use the decimal separator of the format settings (",").
#include "dialogs/nastaveniChecks.h"

#include "core/PowerFactor.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace zeko;

namespace {

struct BandCase {
    const char* what;
    TBandEdge edge;
    double typed, neighbour;
    const char* shown;
};

} // namespace

TEST(NastaveniChecks, ABandEditIsCheckedAgainstItsNeighbour) {
    using E = TBandEdge;
    const BandCase cases[] = {
        {"an edge in order stays", E::Lower, 0.95, 0.97, "0,950"},
        {"a lower edge equal to its centre goes one code below", E::Lower, 0.97, 0.97, "0,969"},
        {"a lower edge above its centre goes one code below", E::Lower, 0.99, 0.97, "0,969"},
        {"a centre above its upper edge is accepted", E::Centre, 0.99, 0.95, "0,990"},
        {"a centre below its lower edge goes one code above", E::Centre, 0.93, 0.95, "0,951"},
        {"an upper edge equal to its centre goes one code above", E::Upper, 0.97, 0.97, "0,971"},
        {"one code above 1.000 is -0.999", E::Upper, 0.99, 1.0, "-0,999"},
        {"0 < v < 0.872 becomes 0.872 before the order", E::Lower, 0.5, 0.872, "0,872"},
        {"-0.873 < v < 0 becomes -0.873", E::Upper, -0.5, 0.97, "-0,873"},
        {"-0.5 below its centre: the order comes first", E::Lower, -0.5, 0.97, "0,969"},
        {"a capacitive edge after an inductive centre is in order", E::Upper, -0.95, 0.99, "-0,950"},
        // Saturating at the ends of the code range, never wrapping round it.
        {"below the lowest code stays at the lowest", E::Lower, 0.9, 0.872, "0,872"},
        {"above the highest code stays at the highest", E::Upper, -0.95, -0.873, "-0,873"},
        // Outside -1..1 or exactly 0: the end of the range on its own side.
        {"above 1 is 1.000", E::Upper, 1.1, 0.97, "1,000"},
        {"below -1 is -0.999", E::Upper, -1.1, 0.97, "-0,999"},
        {"0 is -0.999", E::Upper, 0.0, 0.97, "-0,999"},
        {"a fourth decimal is rounded", E::Lower, 0.9505, 0.97, "0,951"},
    };
    for (const BandCase& c : cases)
        EXPECT_EQ(FormatFixed(CheckBandValue(c.edge, c.typed, c.neighbour), 3), c.shown) << c.what;
}

TEST(NastaveniChecks, TheNumberEditsAreClampedAndWrittenBack) {
    namespace N = NumberChecks;
    struct Case {
        const TNumberCheck& check;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {N::RegulationTime, "0", "1"},
        {N::RegulationTime, "70000", "65535"},
        {N::RegulationTime, "", "1"},
        {N::RegulationTime, "12,5", "13"},
        {N::MeterConstant, "2,3", "2,30000"},
        {N::MeterConstant, "0", "0,00001"},
        {N::MeterConstant, "12345", "9999,99999"},
        {N::MeterConstant, "1,234567", "1,23457"},
        {N::MeterConstant, "abc", "1,00000"},
        {N::NonAveragedPulse, "5", "10"},
        {N::NonAveragedPulse, "300", "240"},
        {N::NonAveragedPulse, "", "10"},
        {N::FaultDelay, "256", "255"},
        {N::FaultDelay, "0", "0"},
        {N::FaultDelay, "", "1"},
        {N::OutputValue, "0", "0,1"},
        {N::OutputValue, "3276,8", "3276,7"},
        {N::OutputValue, "12,34", "12,3"},
        {N::OutputValue, "12,35", "12,4"},
        {N::DischargeTime, "25,9", "25"},
        {N::DischargeTime, "3000", "2550"},
        {N::DischargeTime, "", "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckNumber(c.typed, c.check), c.shown) << c.typed;
}

TEST(NastaveniChecks, TheSecondBandTakesOnlyTimesOfTheDay) {
    struct Case {
        const char* typed;
        int minutes;  // -1: refused
    };
    const Case cases[] = {{"06:00", 360}, {"23:59", 1439}, {"00:00", 0}, {"_6:30", 390}, {" 6:30", 390},
                          {"24:00", -1},  {"12:60", -1},   {"99:99", -1}, {"__:__", -1}, {"  :  ", -1},
                          {"12:_5", 725}, {"1200", -1},    {"ab:cd", -1}};
    for (const Case& c : cases) {
        const std::optional<uint16_t> minutes = BandTimeMinutes(c.typed);
        EXPECT_EQ(minutes ? *minutes : -1, c.minutes) << c.typed;
    }
    EXPECT_EQ(BandTimeText(360), "06:00");
    EXPECT_EQ(BandTimeText(1439), "23:59");
    // Outside the day it still reads as a time, which the edit refuses.
    EXPECT_FALSE(BandTimeMinutes(BandTimeText(1500)));
    EXPECT_FALSE(BandTimeMinutes(BandTimeText(65535)));
}

TEST(NastaveniChecks, StoredFormsAreRoundedToTheirUnits) {
    // 2.3 × 100000 is 229999.99999999997 in doubles.
    EXPECT_EQ(MeterConstantOf("2,30000"), 230000u);
    for (uint32_t stored : {1u, 230000u, 100000000u, 999999999u, 123456789u})
        EXPECT_EQ(MeterConstantOf(FormatFixed(stored / 100000.0, 5)), stored) << stored;
    for (int stored = 0; stored <= 32767; ++stored)
        ASSERT_EQ(OutputValueOf(FormatFixed(stored / 10.0, 1)), stored) << stored;
    EXPECT_EQ(OutputValueOf("0,07"), 1);
    EXPECT_EQ(DischargeTimeOf("25"), 2);
    EXPECT_EQ(DischargeTimeOf("2550"), 255);
    EXPECT_EQ(BandCode("0,95"), 78);
    EXPECT_EQ(BandCode("1,1"), 128);
    EXPECT_THROW(BandCode("x"), EConvertError);
    EXPECT_THROW(MeterConstantOf(""), EConvertError);
    EXPECT_EQ(WholeNumberOf("70000", 0, 65535), 65535);
    EXPECT_THROW(WholeNumberOf("1,5", 0, 255), EConvertError);
    EXPECT_EQ(BandTimeOf("22:00"), 1320);
    EXPECT_THROW(BandTimeOf("24:00"), EConvertError);
}

// The dialog shows these errors as they stand: in Czech, with the text named.
TEST(NastaveniChecks, ATextThatIsNoNumberIsRefusedInCzech) {
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] { BandCode("-"); }, "„-“ není číslo!"},
        {[] { NumberOf(""); }, "„“ není číslo!"},
        {[] { MeterConstantOf("1,2,3"); }, "„1,2,3“ není číslo!"},
        {[] { OutputValueOf("x"); }, "„x“ není číslo!"},
        {[] { DischargeTimeOf("2,5"); }, "„2,5“ není celé číslo!"},
        {[] { WholeNumberOf("", 0, 255); }, "„“ není celé číslo!"},
    };
    for (const auto& [call, message] : cases) {
        try {
            call();
            ADD_FAILURE() << message << ": not refused";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(NastaveniChecks, ABandShowsItsCodeWithThreeDecimals) {
    EXPECT_EQ(BandText(0), "0,872");
    EXPECT_EQ(BandText(128), "1,000");
    EXPECT_EQ(BandText(129), "-0,999");
    EXPECT_EQ(BandText(255), "-0,873");
}
