#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"

#include "platform/FormatSettings.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace zeko;
using zeko::test::TempDir;

TEST(SeznamZarizeni, WithoutTheFileEveryChannelHasItsDefaults) {
    TempDir dir;
    TSeznamZarizeni list;
    list.LoadFromIni(dir / "Zarizeni.ini");
    ASSERT_EQ(list.Count(), 4);
    const char* names[] = {"Činný", "Jalový", "Jal.dodávka", "1P měření"};
    const int codes[] = {0, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        TVstupyInfo c;
        ASSERT_TRUE(list.GetItem(i, c));
        EXPECT_EQ(c.Id, i);
        EXPECT_EQ(c.ChannelNumber, i + 1);
        EXPECT_EQ(c.Kind, "ZEKO");
        EXPECT_EQ(c.DeviceType, "ZEKO");
        EXPECT_EQ(c.Present, 1);
        EXPECT_EQ(c.ValueName, names[i]);
        EXPECT_EQ(c.DeviceName, names[i]);
        EXPECT_EQ(c.UnitCode, codes[i]);
        EXPECT_EQ(c.Decimals, 0);
        EXPECT_FALSE(c.CounterOn);
        EXPECT_EQ(c.CounterStart, 0);
        EXPECT_EQ(c.MeterMultiplier, 1.0);
        EXPECT_EQ(c.TemperatureOffset, 0);
        EXPECT_EQ(c.DayStartHour, 0);
        EXPECT_EQ(c.TrfLosses, 0);
    }
    EXPECT_FALSE(dir.Exists("Zarizeni.ini"));
}

TEST(SeznamZarizeni, ValuesFromTheFile) {
    TempDir dir;
    // Windows-1250 text, keys in another case, numbers with either separator.
    dir.Write("ZARIZENI.INI",
              "[ZEKO]\r\nNazev_z=Rozvodna \xC8" "ak\r\nNAZEV_V2=Jalov\xE1 spot\xF8" "eba\r\n"
              "Jednotka_v3=4\r\nPocetDesMist_v1=2\r\nPocitadloZapnuto_v1=1\r\n"
              "PocStavPocitadla_v1=1234,5\r\nNasobitelElmeru_v1=2.5\r\nOffsetTeploty_v3=-1,5\r\n"
              "PocatekDne_v1=6\r\nPocatekDne_v2=-2\r\nPocatekDne_v3=30\r\nZtratyTRF_v4=1,2\r\n"
              "Jednotka_v4=300\r\nNasobitelElmeru_v2=abc\r\nNasobitelElmeru_v3=nan\r\n");
    FormatSettings().DecimalSeparator = ',';
    TSeznamZarizeni list;
    list.LoadFromIni(dir / "Zarizeni.ini");
    ASSERT_EQ(list.Count(), 4);
    TVstupyInfo c1, c2, c3, c4;
    list.GetItem(0, c1);
    list.GetItem(1, c2);
    list.GetItem(2, c3);
    list.GetItem(3, c4);
    for (const TVstupyInfo* c : {&c1, &c2, &c3, &c4})
        EXPECT_EQ(c->DeviceName, "Rozvodna Čak");
    EXPECT_EQ(c1.ValueName, "Činný");
    EXPECT_EQ(c2.ValueName, "Jalová spotřeba");
    EXPECT_EQ(c3.UnitCode, 4);
    EXPECT_EQ(c1.Decimals, 2);
    EXPECT_TRUE(c1.CounterOn);
    EXPECT_FALSE(c2.CounterOn);
    EXPECT_DOUBLE_EQ(c1.CounterStart, 1234.5);
    EXPECT_DOUBLE_EQ(c1.MeterMultiplier, 2.5);
    EXPECT_DOUBLE_EQ(c3.TemperatureOffset, -1.5);
    EXPECT_EQ(c1.DayStartHour, 6);
    EXPECT_EQ(c2.DayStartHour, -2);
    EXPECT_EQ(c3.DayStartHour, 0);  // no hour of a day
    EXPECT_DOUBLE_EQ(c4.TrfLosses, 1.2);
    EXPECT_EQ(c4.UnitCode, 0);  // does not fit: the default
    EXPECT_EQ(c2.MeterMultiplier, 1.0);
    EXPECT_EQ(c3.MeterMultiplier, 1.0);
}

TEST(SeznamZarizeni, LookupsFallBackToTheFirstChannel) {
    TempDir dir;
    TSeznamZarizeni list;
    TVstupyInfo rec;
    rec.ValueName = "kept";
    EXPECT_FALSE(list.FindById(0, rec));
    EXPECT_FALSE(list.GetItem(0, rec));
    EXPECT_EQ(rec.ValueName, "kept");  // an empty list changes nothing

    list.LoadFromIni(dir / "Zarizeni.ini");
    EXPECT_TRUE(list.FindById(2, rec));
    EXPECT_EQ(rec.ValueName, "Jal.dodávka");
    EXPECT_TRUE(list.FindById(7, rec));
    EXPECT_EQ(rec.Id, 0);
    EXPECT_TRUE(list.GetItem(-1, rec));
    EXPECT_EQ(rec.Id, 0);
    EXPECT_TRUE(list.GetItem(4, rec));
    EXPECT_EQ(rec.Id, 0);
    EXPECT_TRUE(list.IndexValid(3));
    EXPECT_FALSE(list.IndexValid(4));
    EXPECT_FALSE(list.IndexValid(-1));

    list.LoadFromIni(dir / "Zarizeni.ini");  // loading again starts afresh
    EXPECT_EQ(list.Count(), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(SeznamZarizeni, DeviceValueCaption) {
    TempDir dir;
    dir.Write("Zarizeni.ini", "[ZEKO]\r\nNazev_z=Rozvodna\r\n");
    TSeznamZarizeni list;
    list.LoadFromIni(dir / "Zarizeni.ini");
    Devices = &list;
    EXPECT_EQ(DeviceValueCaption(1), "Rozvodna - Jalový");
    EXPECT_EQ(DeviceValueCaption(9), "Rozvodna - Činný");
    Devices = nullptr;
    EXPECT_EQ(DeviceValueCaption(1), " - ");
}

TEST(MojeDB, TheQuantityTable) {
    const TMojeDB db;
    EXPECT_EQ(db.Count, 11);
    EXPECT_EQ(db.LowCount, 11);
    EXPECT_EQ(db.HighCount, 0);
    struct Row { int code; const char* energy; const char* power; int kind; };
    const Row rows[] = {
        {0, "kWh", "kW", 0},  {1, "kVArh", "kVAr", 0}, {2, "°C", "°C", 1}, {3, "Pa", "Pa", 1},
        {4, "m3", "m3/h", 2}, {5, "stav", "stav", 3},  {6, "V", "V", 3},   {7, "Hz", "Hz", 3},
        {8, "A", "A", 3},     {9, "", "", 3},          {10, "sec", "sec", 3},
    };
    for (const Row& r : rows) {
        TDBPolozka item;
        db.Find(static_cast<uint8_t>(r.code), item);
        EXPECT_EQ(item.Code, r.code);
        EXPECT_EQ(item.EnergyUnit, r.energy);
        EXPECT_EQ(item.PowerUnit, r.power);
        EXPECT_EQ(item.Kind, r.kind);
        EXPECT_EQ(db.IndexOf(static_cast<uint8_t>(r.code)), r.code);
    }
    TDBPolozka unknown;
    db.Find(11, unknown);
    EXPECT_EQ(unknown.Code, 0);
    EXPECT_EQ(unknown.Kind, 0);
    EXPECT_EQ(unknown.EnergyUnit, "kWh");
    EXPECT_EQ(unknown.PowerUnit, "kW");
    EXPECT_EQ(db.IndexOf(11), -1);
    EXPECT_EQ(db.EnergyUnit(9), "");
    EXPECT_EQ(db.EnergyUnit(1), "kVArh");
}

TEST(MojeDB, AddedItemsAreCountedAndTheLastOfACodeWins) {
    TMojeDB db;
    db.AddItem({200, 2, "l", "l/h"});
    db.AddItem({4, 3, "m3b", "m3b/h"});
    EXPECT_EQ(db.Count, 13);
    EXPECT_EQ(db.HighCount, 1);
    EXPECT_EQ(db.LowCount, 12);
    EXPECT_EQ(db.IndexOf(4), 12);
    EXPECT_EQ(db.EnergyUnit(4), "m3b");
    EXPECT_EQ(db.EnergyUnit(200), "l");
}

// A file that is there but cannot be read gives the default channels, and the
// caller learns why: no permission (met only by a user other than root), a folder
// in its place, an I/O error. A missing file is no error.
TEST(SeznamZarizeni, AFileThatCannotBeReadGivesTheDefaultsAndItsError) {
    TempDir dir;
    TSeznamZarizeni list;
    EXPECT_EQ(list.LoadFromIni(dir / "Zarizeni.ini"), 0);
    std::filesystem::create_directories(dir / "slozka/Zarizeni.ini");
    EXPECT_EQ(list.LoadFromIni(dir / "slozka/Zarizeni.ini"), EISDIR);
    dir.WriteUnreadable("io/Zarizeni.ini");
    EXPECT_EQ(list.LoadFromIni(dir / "io/Zarizeni.ini"), EIO);
    ASSERT_EQ(list.Count(), 4);
    TVstupyInfo c;
    list.GetItem(1, c);
    EXPECT_EQ(c.ValueName, "Jalový");
    EXPECT_EQ(c.MeterMultiplier, 1.0);
    EXPECT_TRUE(dir.StillUnreadable("io/Zarizeni.ini"));

    const std::optional<test::UnprivilegedUser> nobody = test::Nobody();
    if (!nobody)
        GTEST_SKIP() << "no permission keeps root from reading a file";
    dir.Write("Zarizeni.ini", "[ZEKO]\r\nNasobitelElmeru_v1=40\r\n");
    ASSERT_EQ(::chmod((dir / "Zarizeni.ini").c_str(), 0), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::optional<std::string> seen = test::RunAs(*nobody, [&] {
        TSeznamZarizeni theirs;
        const int error = theirs.LoadFromIni(dir / "Zarizeni.ini");
        TVstupyInfo first;
        theirs.GetItem(0, first);
        return std::to_string(error) + " " + std::to_string(first.MeterMultiplier);
    });
    EXPECT_EQ(seen, std::to_string(EACCES) + " " + std::to_string(1.0));
    EXPECT_EQ(dir.Read("Zarizeni.ini"), "[ZEKO]\r\nNasobitelElmeru_v1=40\r\n");
}
