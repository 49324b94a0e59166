#include "core/Zeko.h"

#include "platform/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zeko;
using zeko::test::TempDir;

namespace {

// Every field a distinct value, `seed` apart between two objects.
TZEKO Filled(int seed) {
    TZEKO z;
    z.OutputCount = static_cast<uint8_t>(12 + seed);
    z.OutputTypes = static_cast<uint16_t>(0x0F0F + seed);
    for (int i = 0; i < MaxOutputs; ++i) {
        z.OutputValues[i] = static_cast<uint16_t>(100 * (i + 1) + seed);
        z.DischargeTimes[i] = static_cast<uint8_t>(i + 3 + seed);
    }
    z.SmallestOutput = static_cast<uint16_t>(50 + seed);
    z.SumC = 0xABCDEFu + seed;
    z.SumC2 = 0x123456u + seed;
    z.FaultOutput = static_cast<uint8_t>(1 + seed);
    z.FaultDelay = static_cast<uint8_t>(30 + seed);
    for (int i = 0; i < InputCount; ++i) {
        z.MeterConstants[i] = 100000u * (i + 1) + seed;
        z.InputConstants[i] = 7u + i + seed;
        z.InputFunctions[i] = static_cast<uint8_t>(3 - i + seed);
    }
    z.AveragingIndex = static_cast<uint8_t>(2 + seed);
    z.NonAveragedPulse = static_cast<uint8_t>(20 + seed);
    z.SpeedUnder = static_cast<uint16_t>(120 + seed);
    z.SpeedOver = static_cast<uint16_t>(60 + seed);
    z.SpeedType = static_cast<uint8_t>(0x11 + seed);
    z.BandLow = static_cast<uint8_t>(100 + seed);
    z.BandHigh = static_cast<uint8_t>(130 + seed);
    z.BandCentre = static_cast<uint8_t>(120 + seed);
    z.Band2Low = static_cast<uint8_t>(90 + seed);
    z.Band2High = static_cast<uint8_t>(128 + seed);
    z.Band2Centre = static_cast<uint8_t>(110 + seed);
    z.UseBand2 = static_cast<uint8_t>(1 + seed);
    z.Band2Start = static_cast<uint16_t>(360 + seed);
    z.Band2End = static_cast<uint16_t>(1320 + seed);
    z.Switches = static_cast<uint8_t>(1 + seed);
    z.BlockBytes = {static_cast<uint8_t>(5 + seed), static_cast<uint8_t>(6 + seed)};
    z.SensitivityIndex = static_cast<uint8_t>(4 + seed);
    z.UnderWait = static_cast<uint8_t>(8 + seed);
    z.CosPhi = 0.95 + seed;
    z.ActivePower = 12.5 + seed;
    z.ReactivePower = -3.2 + seed;
    z.LiveWords = {static_cast<uint16_t>(0x00FF + seed), 30, 1, 2, 400, 400};
    z.ClockDate = 45000 + seed;
    z.ClockTime = 0.25;
    z.ClockWeekday = static_cast<uint8_t>(3 + seed);
    z.ClockTick = 123456u + seed;
    z.NewestIndex = 75000u + seed;
    z.PointerFlag = static_cast<uint8_t>(1 + seed);
    z.OldestUnreadIndex = 70000u + seed;
    z.DownloadIndex = 71000u + seed;
    z.DownloadAddress = 0x1E000u + seed;
    z.LastReplyAddress = static_cast<uint16_t>(0xE000 + seed);
    return z;
}

// The twelve fields of the section "Regulace".
void ExpectSameRegulation(const TZEKO& a, const TZEKO& b) {
    EXPECT_EQ(a.BandLow, b.BandLow);
    EXPECT_EQ(a.BandHigh, b.BandHigh);
    EXPECT_EQ(a.BandCentre, b.BandCentre);
    EXPECT_EQ(a.Band2Low, b.Band2Low);
    EXPECT_EQ(a.Band2High, b.Band2High);
    EXPECT_EQ(a.Band2Centre, b.Band2Centre);
    EXPECT_EQ(a.UseBand2, b.UseBand2);
    EXPECT_EQ(a.Band2Start, b.Band2Start);
    EXPECT_EQ(a.Band2End, b.Band2End);
    EXPECT_EQ(a.SpeedUnder, b.SpeedUnder);
    EXPECT_EQ(a.SpeedOver, b.SpeedOver);
    EXPECT_EQ(a.SpeedType, b.SpeedType);
}

} // namespace

TEST(Zeko, EverythingIsZeroAfterConstruction) {
    const TZEKO z;
    EXPECT_EQ(z.OutputCount, 0);
    EXPECT_EQ(z.OutputValues[15], 0);
    EXPECT_EQ(z.MeterConstants[3], 0u);
    EXPECT_EQ(z.CosPhi, 0.0);
    EXPECT_EQ(z.LiveWords.RecordTimeCopy, 0);
    EXPECT_EQ(z.LastReplyAddress, 0);
}

TEST(Zeko, AssignToCopiesTheSettingsAndLeavesTheRest) {
    const TZEKO source = Filled(0);
    TZEKO dest = Filled(1);
    const TZEKO before = dest;
    source.AssignTo(dest);
    // Settings copied.
    EXPECT_EQ(dest.OutputCount, source.OutputCount);
    EXPECT_EQ(dest.OutputTypes, source.OutputTypes);
    EXPECT_EQ(dest.OutputValues, source.OutputValues);
    EXPECT_EQ(dest.SmallestOutput, source.SmallestOutput);
    EXPECT_EQ(dest.SumC, source.SumC);
    EXPECT_EQ(dest.SumC2, source.SumC2);
    EXPECT_EQ(dest.DischargeTimes, source.DischargeTimes);
    EXPECT_EQ(dest.FaultOutput, source.FaultOutput);
    EXPECT_EQ(dest.FaultDelay, source.FaultDelay);
    EXPECT_EQ(dest.MeterConstants, source.MeterConstants);
    EXPECT_EQ(dest.InputFunctions, source.InputFunctions);
    EXPECT_EQ(dest.AveragingIndex, source.AveragingIndex);
    EXPECT_EQ(dest.NonAveragedPulse, source.NonAveragedPulse);
    ExpectSameRegulation(dest, source);
    EXPECT_EQ(dest.Switches, source.Switches);
    EXPECT_EQ(dest.SensitivityIndex, source.SensitivityIndex);
    EXPECT_EQ(dest.UnderWait, source.UnderWait);
    // Kept.
    EXPECT_EQ(dest.InputConstants, before.InputConstants);
    EXPECT_EQ(dest.BlockBytes, before.BlockBytes);
    EXPECT_EQ(dest.CosPhi, before.CosPhi);
    EXPECT_EQ(dest.ActivePower, before.ActivePower);
    EXPECT_EQ(dest.ReactivePower, before.ReactivePower);
    EXPECT_EQ(dest.LiveWords.OutputStates, before.LiveWords.OutputStates);
    EXPECT_EQ(dest.ClockDate, before.ClockDate);
    EXPECT_EQ(dest.ClockWeekday, before.ClockWeekday);
    EXPECT_EQ(dest.ClockTick, before.ClockTick);
    EXPECT_EQ(dest.NewestIndex, before.NewestIndex);
    EXPECT_EQ(dest.PointerFlag, before.PointerFlag);
    EXPECT_EQ(dest.OldestUnreadIndex, before.OldestUnreadIndex);
    EXPECT_EQ(dest.DownloadIndex, before.DownloadIndex);
    EXPECT_EQ(dest.DownloadAddress, before.DownloadAddress);
    EXPECT_EQ(dest.LastReplyAddress, before.LastReplyAddress);
}

TEST(Zeko, SettingsFileLayout) {
    TempDir dir;
    TZEKO z;
    z.BandLow = 104;
    z.BandHigh = 130;
    z.BandCentre = 120;
    z.UseBand2 = 1;
    z.Band2Start = 360;
    z.Band2End = 1320;
    z.SpeedUnder = 120;
    z.SpeedOver = 60;
    z.SpeedType = 0x11;
    z.MeterConstants = {100000, 250000, 1, 4294967295u};
    z.InputFunctions = {0, 1, 2, 3};
    z.OutputCount = 12;
    z.OutputTypes = 0x0003;
    z.OutputValues[0] = 250;
    z.SumC = 0xABCDEF;
    z.SumC2 = 77;  // has no key
    z.DischargeTimes[15] = 6;
    z.FaultDelay = 30;
    z.Switches = 1;
    z.SaveToIni(dir / "zekosettings.set");
    std::string expected =
        "[Regulace]\r\nDolni pasmo necitlivosti=104\r\nHorni pasmo necitlivosti=130\r\n"
        "Stred pasma necitlivosti=120\r\nDolni pasmo necitlivosti P2=0\r\n"
        "Horni pasmo necitlivosti P2=0\r\nStred pasma necitlivosti P2=0\r\nPouzij P2=1\r\n"
        "Zacatek P2=360\r\nKonec P2=1320\r\nRychlost nedokompenzovani=120\r\n"
        "Rychlost prekompenzovani=60\r\nRychlost typ=17\r\n"
        "[Vstupy]\r\nKonstanty1=100000\r\nKonstanty2=250000\r\nKonstanty3=1\r\n"
        "Konstanty4=4294967295\r\nPrirazeni1=0\r\nPrirazeni2=1\r\nPrirazeni3=2\r\n"
        "Prirazeni4=3\r\nImpulsy prumer=0\r\nNeprumerovatelny impuls=0\r\n"
        "[Vystupy]\r\nPocet vystupu=12\r\nTyp vystupu=3\r\nHodnoty vystupu1=250\r\n";
    for (int i = 2; i <= 16; ++i)
        expected += "Hodnoty vystupu" + std::to_string(i) + "=0\r\n";
    expected += "Nejmensi vystup=0\r\nSuma C=11259375\r\n";
    for (int i = 1; i <= 16; ++i)
        expected += "Vybijeci casy" + std::to_string(i) + "=" + (i == 16 ? "6" : "0") + "\r\n";
    expected += "Vystup poruchy=0\r\nZpozdeni poruchy=30\r\n[Komunikace]\r\nSwitches=1\r\n";
    EXPECT_EQ(dir.Read("zekosettings.set"), expected);
}

TEST(Zeko, SavingAgainOverwritesAndKeepsForeignKeys) {
    TempDir dir;
    dir.Write("user.set", "[Vystupy]\r\nSuma C=1\r\nPoznamka=moje\r\n[Jine]\r\nX=1\r\n");
    const TZEKO z = Filled(0);
    z.SaveToIni(dir / "user.set");
    const std::string once = dir.Read("user.set");
    z.SaveToIni(dir / "user.set");
    EXPECT_EQ(dir.Read("user.set"), once);
    size_t count = 0;
    for (size_t p = once.find("Suma C="); p != std::string::npos; p = once.find("Suma C=", p + 1))
        ++count;
    EXPECT_EQ(count, 1u);
    const TIniFile ini(dir / "user.set");
    EXPECT_EQ(ini.ReadString("Vystupy", "Poznamka", ""), "moje");
    EXPECT_EQ(ini.ReadInteger("Jine", "X", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Vystupy", "Suma C", 0), 0xABCDEF);
}

TEST(Zeko, SavingCreatesTheFolderAndReportsAFileThatCannotBeWritten) {
    TempDir dir;
    const TZEKO z;
    z.SaveToIni(dir / "a/b/nastaveni.set");
    EXPECT_TRUE(dir.Exists("a/b/nastaveni.set"));
    dir.Write("soubor", "");
    EXPECT_THROW(z.SaveToIni(dir / "soubor/x.set"), EIniFileException);
}

TEST(Zeko, LoadingReadsTheRegulationFieldsOnly) {
    TempDir dir;
    const TZEKO saved = Filled(0);
    saved.SaveToIni(dir / "s.set");
    TZEKO loaded = Filled(1);
    const TZEKO before = loaded;
    loaded.LoadFromIni(dir / "s.set");
    ExpectSameRegulation(loaded, saved);
    // The inputs and outputs in the file are not read.
    EXPECT_EQ(loaded.MeterConstants, before.MeterConstants);
    EXPECT_EQ(loaded.OutputValues, before.OutputValues);
    EXPECT_EQ(loaded.OutputCount, before.OutputCount);
    EXPECT_EQ(loaded.Switches, before.Switches);
}

TEST(Zeko, MissingRegulationKeysGiveTheirDefaults) {
    TempDir dir;
    dir.Write("partial.set", "[Vstupy]\r\nKonstanty1=5\r\n[Vystupy]\r\nPocet vystupu=3\r\n");
    dir.Write("bad.set",
              "[Regulace]\r\nPouzij P2=300\r\nZacatek P2=-1\r\nRychlost nedokompenzovani=abc\r\n"
              "Dolni pasmo necitlivosti=256\r\nHorni pasmo necitlivosti=7\r\n");
    for (const char* name : {"partial.set", "missing.set", "bad.set"}) {
        TZEKO z = Filled(0);
        const TZEKO before = z;
        z.LoadFromIni(dir / name);
        EXPECT_EQ(z.UseBand2, 0) << name;
        EXPECT_EQ(z.Band2Start, 0) << name;
        EXPECT_EQ(z.Band2End, 0) << name;
        EXPECT_EQ(z.SpeedType, 0) << name;
        EXPECT_EQ(z.SpeedUnder, 1) << name;
        EXPECT_EQ(z.SpeedOver, 1) << name;
        EXPECT_EQ(z.BandLow, before.BandLow) << name;  // a missing or bad band edge stays
        EXPECT_EQ(z.BandCentre, before.BandCentre) << name;
        EXPECT_EQ(z.Band2High, before.Band2High) << name;
        EXPECT_EQ(z.MeterConstants, before.MeterConstants) << name;
        EXPECT_EQ(z.OutputCount, before.OutputCount) << name;
    }
    TZEKO z;
    z.LoadFromIni(dir / "bad.set");
    EXPECT_EQ(z.BandHigh, 7);
}
