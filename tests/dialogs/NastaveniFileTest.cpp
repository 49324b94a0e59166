// A settings file loaded by the settings dialog: what counts as a settings file,
// which values are refused, what is taken, and what the user is told.
#include "dialogs/nastaveniFile.h"

#include "core/Zeko.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <map>

using namespace zeko;

namespace {

using Values = std::map<std::string, std::string>;

// The regulation keys as the program writes them, with `changed` put in their place
// (an empty text: the key left out).
std::string RegulationFile(const Values& changed = {}) {
    const Values written = {{"Dolni pasmo necitlivosti", "78"},     {"Horni pasmo necitlivosti", "118"},
                            {"Stred pasma necitlivosti", "98"},     {"Dolni pasmo necitlivosti P2", "88"},
                            {"Horni pasmo necitlivosti P2", "128"}, {"Stred pasma necitlivosti P2", "108"},
                            {"Pouzij P2", "1"},                     {"Zacatek P2", "360"},
                            {"Konec P2", "1320"},                   {"Rychlost nedokompenzovani", "60"},
                            {"Rychlost prekompenzovani", "30"},     {"Rychlost typ", "16"}};
    std::string text = "[Regulace]\r\n";
    for (const TRegulationKey& key : RegulationKeys) {
        const auto replaced = changed.find(key.Key);
        const std::string value = replaced != changed.end() ? replaced->second : written.at(key.Key);
        if (replaced == changed.end() || !value.empty())
            text += std::string(key.Key) + "=" + value + "\r\n";
    }
    return text + "[Vstupy]\r\nKonstanty1=100000\r\n";
}

std::string LineFeedsOnly(std::string text) {
    std::erase(text, '\r');
    return text;
}

// Settings as the dialog holds them before a file is loaded.
TZEKO Shown() {
    TZEKO s;
    s.BandLow = 10;
    s.BandCentre = 20;
    s.BandHigh = 30;
    s.SpeedUnder = 5;
    s.SpeedType = 0x42;  // bits no list shows
    s.Band2End = 100;
    s.FaultDelay = 7;
    return s;
}

bool SameRegulation(const TZEKO& a, const TZEKO& b) {
    for (const TRegulationKey& key : RegulationKeys)
        if ((key.ByteField ? a.*key.ByteField : a.*key.WordField) != (key.ByteField ? b.*key.ByteField : b.*key.WordField))
            return false;
    return true;
}

} // namespace

TEST(NastaveniFile, AFileAsTheProgramWritesItIsTakenWhole) {
    test::TempDir dir;
    dir.Write("a.set", RegulationFile());
    TZEKO s = Shown();
    const TSettingsFileCheck check = LoadSettingsFile(dir / "a.set", s);
    ASSERT_EQ(check.Fault, TSettingsFileFault::None);
    EXPECT_EQ(s.BandLow, 78);
    EXPECT_EQ(s.BandHigh, 118);
    EXPECT_EQ(s.Band2Centre, 108);
    EXPECT_EQ(s.UseBand2, 1);
    EXPECT_EQ(s.Band2End, 1320);
    EXPECT_EQ(s.SpeedUnder, 60);
    EXPECT_EQ(s.SpeedType, 0x52);  // the lists' bits of the file, the others as they were
    EXPECT_EQ(s.FaultDelay, 7);    // not a regulation field
    EXPECT_EQ(SettingsFileRefusal(dir / "a.set", check), "");

    // Of the speed type, the two lists' bits come from the file.
    for (const auto& [inFile, taken] : {std::pair{"0", 0x42}, std::pair{"1", 0x43}, std::pair{"17", 0x53},
                                        std::pair{"255", 0x53}, std::pair{"238", 0x42}}) {
        dir.Write("typ.set", RegulationFile({{"Rychlost typ", inFile}}));
        TZEKO t = Shown();
        ASSERT_EQ(LoadSettingsFile(dir / "typ.set", t).Fault, TSettingsFileFault::None) << inFile;
        EXPECT_EQ(t.SpeedType, taken) << inFile;
    }

    // And what it saves loads back the same.
    s.SaveToIni(dir / "b.set");
    TZEKO again = Shown();
    ASSERT_EQ(LoadSettingsFile(dir / "b.set", again).Fault, TSettingsFileFault::None);
    EXPECT_TRUE(SameRegulation(again, s));
}

TEST(NastaveniFile, TheFormatsOwnVariationsAreTaken) {
    test::TempDir dir;
    struct Case {
        const char* what;
        std::string text;
    };
    std::string lowerCase = RegulationFile();
    for (char& c : lowerCase)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Case cases[] = {
        {"letters in another case", lowerCase},
        {"a UTF-8 mark, LF line ends", "\xEF\xBB\xBF" + LineFeedsOnly(RegulationFile({{"Rychlost typ", "1"}}))},
        {"quoted and padded values, hex", RegulationFile({{"Rychlost nedokompenzovani", "\"60\""},
                                                          {"Rychlost prekompenzovani", " 30 "},
                                                          {"Zacatek P2", "$168"}})},
        {"the ends of every range", RegulationFile({{"Rychlost nedokompenzovani", "1"},
                                                    {"Rychlost prekompenzovani", "65535"},
                                                    {"Zacatek P2", "0"},
                                                    {"Konec P2", "1439"},
                                                    {"Pouzij P2", "0"},
                                                    {"Rychlost typ", "255"}})},
        // Code order: 0.872 .. 1.000, then -0.999 .. -0.873.
        {"a capacitive upper edge", RegulationFile({{"Horni pasmo necitlivosti P2", "200"}})},
        {"the first and last codes", RegulationFile({{"Dolni pasmo necitlivosti", "0"},
                                                     {"Horni pasmo necitlivosti", "255"}})},
        // The upper edge's edit holds the value at the last code, beside a centre there:
        // typed so, it stays so.
        {"a centre and an upper edge of the last code", RegulationFile({{"Stred pasma necitlivosti", "255"},
                                                                        {"Horni pasmo necitlivosti", "255"}})},
    };
    for (const Case& c : cases) {
        dir.Write("v.set", c.text);
        TZEKO s = Shown();
        const TSettingsFileCheck check = LoadSettingsFile(dir / "v.set", s);
        EXPECT_EQ(check.Fault, TSettingsFileFault::None) << c.what << ": " << SettingsFileRefusal("v.set", check);
    }
}

TEST(NastaveniFile, WhatIsNoSettingsFileOrHoldsValuesTheDialogRefusesIsNotTaken) {
    test::TempDir dir;
    dir.Write("folder/inside", "");
    dir.WriteUnreadable("unreadable.set");
    struct Case {
        const char* name;
        std::string text;  // written unless the name is made above
        TSettingsFileFault fault;
        std::vector<std::string> details;
        std::string says;  // in the message
    };
    const std::string missing = "Soubor není souborem nastavení regulátoru:";
    const std::string invalid = "Soubor nastavení obsahuje neplatné hodnoty:";
    const Case cases[] = {
        {"folder", "", TSettingsFileFault::Unreadable, {}, "Je to složka, ne soubor."},
        {"unreadable.set", "", TSettingsFileFault::Unreadable, {}, "Soubor nastavení nelze přečíst:"},
        {"gone.set", "", TSettingsFileFault::Unreadable, {}, "Soubor neexistuje."},
        {"empty.set", "", TSettingsFileFault::NotSettingsFile, {}, "Chybí v něm oddíl [Regulace]."},
        {"text.txt", "Dobrý den,\r\nposílám nastavení.\r\n", TSettingsFileFault::NotSettingsFile, {}, missing},
        {"Zeko.ini", "[ComPort]\r\nCom=1\r\nBaudRate=4800\r\n", TSettingsFileFault::NotSettingsFile, {}, missing},
        {"binary.zek", std::string("\x00\xFF\x5B\x10\x00\x01", 6) + "[Regulace", TSettingsFileFault::NotSettingsFile,
         {}, missing},
        {"other.set", "[Vstupy]\r\nKonstanty1=5\r\n[Vystupy]\r\nPocet vystupu=3\r\n",
         TSettingsFileFault::NotSettingsFile, {}, missing},
        {"partial.set", RegulationFile({{"Pouzij P2", ""}, {"Konec P2", ""}}), TSettingsFileFault::NotSettingsFile,
         {"Pouzij P2", "Konec P2"}, "V oddílu [Regulace] chybí: Pouzij P2, Konec P2."},
        {"order.set",
         RegulationFile({{"Dolni pasmo necitlivosti", "120"}, {"Stred pasma necitlivosti", "98"},
                         {"Horni pasmo necitlivosti", "118"}}),
         TSettingsFileFault::InvalidValues,
         {"Dolni pasmo necitlivosti = 120 (0,992) musí ležet pod Stred pasma necitlivosti = 98 (0,970)"}, invalid},
        // A lower edge of code 0 passes its own edit's check (it holds the value at the
        // first code) beside a centre of code 0, which the centre's edit moves up.
        {"zero.set", RegulationFile({{"Dolni pasmo necitlivosti", "0"}, {"Stred pasma necitlivosti", "0"}}),
         TSettingsFileFault::InvalidValues,
         {"Stred pasma necitlivosti = 0 (0,872) musí ležet nad Dolni pasmo necitlivosti = 0 (0,872)"}, invalid},
        {"zero2.set", RegulationFile({{"Dolni pasmo necitlivosti P2", "0"}, {"Stred pasma necitlivosti P2", "0"}}),
         TSettingsFileFault::InvalidValues,
         {"Stred pasma necitlivosti P2 = 0 (0,872) musí ležet nad Dolni pasmo necitlivosti P2 = 0 (0,872)"},
         invalid},
        {"upper.set", RegulationFile({{"Horni pasmo necitlivosti P2", "108"}}), TSettingsFileFault::InvalidValues,
         {"Horni pasmo necitlivosti P2 = 108 (0,980) musí ležet nad Stred pasma necitlivosti P2 = 108 (0,980)"},
         invalid},
        {"values.set",
         RegulationFile({{"Rychlost nedokompenzovani", "0"},
                         {"Rychlost prekompenzovani", "70000"},
                         {"Zacatek P2", "1440"},
                         {"Konec P2", "-1"},
                         {"Pouzij P2", "2"},
                         {"Rychlost typ", "abc"},
                         {"Dolni pasmo necitlivosti", "256"}}),
         TSettingsFileFault::InvalidValues,
         {"Dolni pasmo necitlivosti = 256: povoleno je 0 až 255", "Pouzij P2 = 2: povoleno je 0 (ANO) nebo 1 (NE)",
          "Zacatek P2 = 1440: povoleno je 0 až 1439 (00:00 až 23:59)",
          "Konec P2 = -1: povoleno je 0 až 1439 (00:00 až 23:59)",
          "Rychlost nedokompenzovani = 0: povoleno je 1 až 65535",
          "Rychlost prekompenzovani = 70000: povoleno je 1 až 65535", "Rychlost typ = abc: povoleno je 0 až 255"},
         invalid},
        {"blank.set", RegulationFile({{"Rychlost prekompenzovani", " "}}), TSettingsFileFault::InvalidValues,
         {"Rychlost prekompenzovani = (bez hodnoty): povoleno je 1 až 65535"}, invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / c.name;
        if (!dir.Exists(c.name) && std::string(c.name) != "gone.set")
            dir.Write(c.name, c.text);
        TZEKO s = Shown();
        const TSettingsFileCheck check = LoadSettingsFile(path, s);
        EXPECT_EQ(check.Fault, c.fault);
        EXPECT_EQ(check.Details, c.details);
        EXPECT_TRUE(SameRegulation(s, Shown()));
        EXPECT_EQ(s.SpeedType, 0x42);
        const std::string message = SettingsFileRefusal(path, check);
        EXPECT_NE(message.find("\n" + path + "\n"), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_TRUE(message.ends_with("\nNastavení nebylo načteno.")) << message;
    }
    TSettingsFileCheck folder;
    folder.Fault = TSettingsFileFault::Unreadable;
    folder.ReadError = EISDIR;
    EXPECT_EQ(SettingsFileRefusal("/x/nastaveni", folder),
              "Soubor nastavení nelze přečíst:\n/x/nastaveni\nJe to složka, ne soubor.\nNastavení nebylo načteno.");
}
