#include "platform/FormatSettings.h"
#include "platform/IniFile.h"

#include "support/FileSizeLimit.h"
#include "support/FolderWatch.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <thread>

using namespace zeko;
using zeko::test::TempDir;

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    TempDir dir;
    dir.Write("Zeko.ini", "[ComPort]\r\nCom=3\r\nBaudRate = 9600 \r\n[Program]\r\nSirka=900\r\n");
    TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadInteger("comport", "COM", 1), 3);
    EXPECT_EQ(ini.ReadInteger("ComPort", "baudrate", 4800), 9600);
    EXPECT_EQ(ini.ReadInteger("Program", "Vyska", 767), 767);
    EXPECT_EQ(ini.ReadString("Nothing", "Com", "x"), "x");
    EXPECT_TRUE(ini.SectionExists("PROGRAM"));
    EXPECT_FALSE(ini.SectionExists("Tarify"));
    EXPECT_TRUE(ini.ValueExists("program", "sirka"));
    EXPECT_FALSE(ini.ValueExists("program", "Com"));  // a key of another section
}

TEST(IniFile, AMissingFileGivesTheDefaultsAndIsNotCreatedByReading) {
    TempDir dir;
    TIniFile ini(dir / "Zarizeni.ini");
    EXPECT_EQ(ini.ReadString("ZEKO", "Nazev_z", "Činný"), "Činný");
    EXPECT_TRUE(ini.ReadBool("Tarify", "PouzivejSvatky", true));
    EXPECT_FALSE(dir.Exists("Zarizeni.ini"));
}

TEST(IniFile, ValueKinds) {
    TempDir dir;
    dir.Write("a.ini",
              "[S]\nHex=$1F\nBad=4x\nEmpty=\nB0=0\nB1=1\nB2=2\nBx=ano\nF=12,5\nFdot=12.5\n"
              "Q=\"  quoted  \"\nQ1='x'\nHalf=\"x\n");
    FormatSettings().DecimalSeparator = ',';
    TIniFile ini(dir / "a.ini");
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadString("S", "Empty", "d"), "");  // present though empty
    EXPECT_FALSE(ini.ReadBool("S", "B0", true));
    EXPECT_TRUE(ini.ReadBool("S", "B1", false));
    EXPECT_TRUE(ini.ReadBool("S", "B2", false));
    EXPECT_FALSE(ini.ReadBool("S", "Bx", false));
    EXPECT_TRUE(ini.ReadBool("S", "Bx", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "F", 0), 12.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "Fdot", 1), 1);
    EXPECT_EQ(ini.ReadString("S", "Q", ""), "  quoted  ");
    EXPECT_EQ(ini.ReadString("S", "Q1", ""), "x");
    EXPECT_EQ(ini.ReadString("S", "Half", ""), "\"x");
}

TEST(IniFile, WritingKeepsWhatItDoesNotKnowAndAppendsNewKeysToTheirSection) {
    TempDir dir;
    dir.Write("Zeko.ini",
              "; nastaveni\r\n[ComPort]\r\ncom=1\r\nJiny=abc\r\n\r\n[Ucinik]\r\nOsaKL=5\r\n");
    TIniFile ini(dir / "Zeko.ini");
    ini.WriteInteger("COMPORT", "Com", 4);
    ini.WriteInteger("ComPort", "BaudRate", 9600);
    ini.WriteBool("Tarify", "PouzivejSvatky", false);
    ini.WriteString("Tarify", "Tarif1", "Vysoký");
    EXPECT_EQ(dir.Read("Zeko.ini"),
              "; nastaveni\r\n[ComPort]\r\ncom=4\r\nJiny=abc\r\nBaudRate=9600\r\n\r\n"
              "[Ucinik]\r\nOsaKL=5\r\n[Tarify]\r\nPouzivejSvatky=0\r\nTarif1=Vysok\xFD\r\n");
    // A fresh object reads what was written.
    TIniFile again(dir / "Zeko.ini");
    EXPECT_EQ(again.ReadString("tarify", "tarif1", ""), "Vysoký");
    EXPECT_FALSE(again.ReadBool("Tarify", "PouzivejSvatky", true));
}

TEST(IniFile, TextIsWindows1250OnDiskAndUtf8InMemory) {
    TempDir dir;
    dir.Write("z.ini", "[ZEKO]\nNazev_v1=\xC8inn\xFD\n");  // "Činný" in Windows-1250, LF only
    TIniFile ini(dir / "z.ini");
    EXPECT_EQ(ini.ReadString("ZEKO", "Nazev_v1", ""), "Činný");
    ini.WriteString("Smeny", "Smena1", "Směna ranní");
    EXPECT_EQ(dir.Read("z.ini"), "[ZEKO]\r\nNazev_v1=\xC8inn\xFD\r\n[Smeny]\r\nSmena1=Sm\xECna rann\xED\r\n");
    // Lines of another program's text, bytes Windows-1250 has no letter for among
    // them ("kůň" in UTF-8), are written back byte for byte.
    dir.Write("x.ini", "[Jine]\r\nKun=k\xC5\xAF\xC5\x88\r\n");
    TIniFile(dir / "x.ini").WriteInteger("ComPort", "Com", 2);
    EXPECT_EQ(dir.Read("x.ini"), "[Jine]\r\nKun=k\xC5\xAF\xC5\x88\r\n[ComPort]\r\nCom=2\r\n");
    // A file saved with a UTF-8 mark is read as UTF-8 and written back so, text
    // that Windows-1250 has no letter for and bytes that are no UTF-8 included.
    dir.Write("u.ini", "\xEF\xBB\xBF[ZEKO]\r\nNazev_z=Rozvodna Č\r\nJine=Σ \xFF\r\n");
    TIniFile utf8(dir / "u.ini");
    EXPECT_EQ(utf8.ReadString("ZEKO", "Nazev_z", ""), "Rozvodna Č");
    utf8.WriteString("Smeny", "Smena1", "Směna ranní");
    EXPECT_EQ(dir.Read("u.ini"),
              "\xEF\xBB\xBF[ZEKO]\r\nNazev_z=Rozvodna Č\r\nJine=Σ \xFF\r\n[Smeny]\r\nSmena1=Směna ranní\r\n");
}

TEST(IniFile, TheFileIsFoundWithoutRegardToCase) {
    TempDir dir;
    dir.Write("ZEKO.INI", "[ComPort]\r\nCom=2\r\n");
    TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadInteger("ComPort", "Com", 1), 2);
    ini.WriteInteger("ComPort", "Com", 5);
    EXPECT_FALSE(dir.Exists("Zeko.ini"));
    EXPECT_EQ(dir.Read("ZEKO.INI"), "[ComPort]\r\nCom=5\r\n");
}

TEST(IniFile, SectionsKeysAndErasing) {
    TempDir dir;
    dir.Write("s.set", "[Regulace]\r\nA=1\r\n;x\r\nB=2\r\n[Vstupy]\r\nC=3\r\n[regulace]\r\nD=4\r\n");
    TIniFile ini(dir / "s.set");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Regulace", "Vstupy"}));
    EXPECT_EQ(ini.ReadSection("REGULACE"), (std::vector<std::string>{"A", "B"}));
    ini.DeleteKey("Regulace", "a");
    ini.DeleteKey("Regulace", "missing");
    EXPECT_EQ(dir.Read("s.set"), "[Regulace]\r\n;x\r\nB=2\r\n[Vstupy]\r\nC=3\r\n[regulace]\r\nD=4\r\n");
    ini.EraseSection("Regulace");  // every heading of that name
    EXPECT_EQ(dir.Read("s.set"), "[Vstupy]\r\nC=3\r\n");
    EXPECT_TRUE(ini.ReadSection("Regulace").empty());
}

TEST(IniFile, AFileThatCannotBeWrittenRaises) {
    TempDir dir;
    TIniFile missingFolder(dir / "no/such/folder/a.ini");
    EXPECT_THROW(missingFolder.WriteInteger("S", "K", 1), EIniFileException);
    dir.Write("folder/keep", "");
    TIniFile aFolder(dir / "folder");
    EXPECT_THROW(aFolder.UpdateFile(), EIniFileException);
    EXPECT_EQ(aFolder.ReadInteger("S", "K", 9), 9);
}

// Writing a few known keys into a file read as empty would replace the user's
// sections by those keys; such a file is never written over.
TEST(IniFile, AFileThatExistsButCannotBeReadIsNeverWrittenOver) {
    TempDir dir;
    dir.WriteUnreadable("Zeko.ini");
    TIniFile ini(dir / "Zeko.ini");
    EXPECT_EQ(ini.ReadError(), EIO);
    EXPECT_EQ(ini.ReadInteger("ComPort", "Com", 1), 1);
    EXPECT_THROW(ini.WriteInteger("ComPort", "Com", 3), EIniFileException);
    EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    EXPECT_TRUE(dir.StillUnreadable("Zeko.ini"));
    EXPECT_FALSE(dir.Exists("Zeko.ini.new"));
    // A missing file is no read error: it is created by the first write.
    TIniFile missing(dir / "Zarizeni.ini");
    EXPECT_EQ(missing.ReadError(), 0);
    EXPECT_NO_THROW(missing.WriteInteger("S", "K", 1));
}

TEST(IniFile, AnIntegerOutsideItsRangeGivesTheFallback) {
    TempDir dir;
    dir.Write("a.ini", "[S]\nLow=0\nOne=1\nTop=255\nAbove=256\nHuge=99999999999\nHuger=99999999999999999999\n"
                       "Minus=-4294967295\nHex=$FF\n");
    const TIniFile ini(dir / "a.ini");
    const struct {
        const char* key;
        long long expected;
    } cases[] = {{"Low", 7}, {"One", 1}, {"Top", 255}, {"Above", 7}, {"Huge", 7},
                 {"Huger", 7}, {"Minus", 7}, {"Hex", 255}, {"Missing", 7}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadInteger("S", c.key, 7, 1, 255), c.expected) << c.key;
}

TEST(IniFile, AWriteThatFailsHalfWayLeavesTheOldFileWhole) {
    TempDir dir;
    dir.Write("Zeko.ini", "[ComPort]\r\nCom=2\r\n");
    TIniFile ini(dir / "Zeko.ini");
    {
        const test::FileSizeLimit limit(40);  // stands in for a full disk: writes past it fail
        EXPECT_THROW(ini.WriteString("Tarify", "Tarif1", std::string(100, 'x')), EIniFileException);
    }
    EXPECT_EQ(dir.Read("Zeko.ini"), "[ComPort]\r\nCom=2\r\n");
    EXPECT_FALSE(dir.Exists("Zeko.ini.new"));
}

// A folder closed to the user with the file in it open to writing: no file can be
// made beside it, and the file itself is rewritten.
TEST(IniFile, WhereNoFileCanBeMadeBesideItTheFileItselfIsRewritten) {
    const std::optional<test::UnprivilegedUser> nobody = test::Nobody();
    if (!nobody)
        GTEST_SKIP() << "needs root, to be another user";
    TempDir dir;
    dir.Write("Zeko.ini", "[ComPort]\r\nCom=2\r\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod((dir / "Zeko.ini").c_str(), 0666), 0);
    const std::optional<std::string> seen = test::RunAs(*nobody, [&] {
        try {
            TIniFile ini(dir / "Zeko.ini");
            ini.WriteInteger("ComPort", "Com", 3);
            return std::string("written");
        } catch (const EIniFileException& e) {
            return std::string(e.what());
        }
    });
    EXPECT_EQ(seen, std::optional<std::string>("written"));
    EXPECT_EQ(dir.Read("Zeko.ini"), "[ComPort]\r\nCom=3\r\n");
}

// Left-overs of a save cut short, even a folder, stand in no save's way, and stay as
// they are: each save writes into a file beside of its own.
TEST(IniFile, LeftOversBesideTheFileAreLeftAlone) {
    TempDir dir;
    dir.Write("Zeko.ini", "[ComPort]\r\nCom=2\r\n");
    dir.Write("Zeko.ini.new", "left over");
    dir.Write("Zeko.ini.new2/blocker", "");
    TIniFile ini(dir / "Zeko.ini");
    EXPECT_NO_THROW(ini.WriteInteger("ComPort", "Com", 3));
    EXPECT_EQ(dir.Read("Zeko.ini"), "[ComPort]\r\nCom=3\r\n");
    EXPECT_EQ(dir.Read("Zeko.ini.new"), "left over");
    EXPECT_TRUE(dir.Exists("Zeko.ini.new2/blocker"));
    EXPECT_FALSE(dir.Exists("Zeko.ini.new3"));
}

// Keys written between BeginUpdate and EndUpdate reach the disk together: the file
// is written once, beside itself, and renamed over the old one once.
TEST(IniFile, SeveralKeysOfOneSaveReplaceTheFileOnce) {
    TempDir dir;
    const std::string old = "; placement\r\n[ComPort]\r\nCom=2\r\n\r\n[Jine]\r\nA=1\r\n";
    dir.Write("Zeko.ini", old);
    test::FolderWatch watch(dir.Path());
    ASSERT_TRUE(watch.Watching());
    TIniFile ini(dir / "Zeko.ini");
    ini.BeginUpdate();
    ini.WriteInteger("ComPort", "Com", 3);
    ini.WriteInteger("ComPort", "BaudRate", 9600);
    ini.WriteInteger("Program", "Sirka", 900);
    ini.WriteBool("Tarify", "PouzivejSvatky", false);
    ini.DeleteKey("Jine", "A");
    EXPECT_EQ(dir.Read("Zeko.ini"), old);  // nothing on the disk yet
    EXPECT_TRUE(watch.Events().empty());
    ini.EndUpdate();
    EXPECT_EQ(dir.Read("Zeko.ini"), "; placement\r\n[ComPort]\r\nCom=3\r\nBaudRate=9600\r\n\r\n[Jine]\r\n"
                                    "[Program]\r\nSirka=900\r\n[Tarify]\r\nPouzivejSvatky=0\r\n");
    EXPECT_EQ(watch.Events(), (std::vector<std::string>{"written Zeko.ini.new", "renamed Zeko.ini"}));
    // After the save each write goes to the disk at once again.
    ini.WriteInteger("ComPort", "Com", 4);
    EXPECT_EQ(watch.Events(), (std::vector<std::string>{"written Zeko.ini.new", "renamed Zeko.ini"}));
    EXPECT_EQ(TIniFile(dir / "Zeko.ini").ReadInteger("ComPort", "Com", 0), 4);
}

// On a disk that is full the save fails and leaves the old file byte for byte, with
// nothing of the new one beside it.
TEST(IniFile, AFullDiskLeavesTheOldFileByteForByte) {
    test::SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "needs root, to mount a small disk";
    const std::string old = "[ComPort]\r\nCom=2\r\nBaudRate=4800\r\n[Smeny]\r\nSmena1=Ranní\r\n";
    disk.Dir().Write("Zeko.ini", old);
    disk.Fill();
    TIniFile ini(disk / "Zeko.ini");
    ini.BeginUpdate();
    for (int n = 1; n <= 3; ++n)
        ini.WriteString("Tarify", "Tarif" + std::to_string(n), std::string(2000, 'x'));
    EXPECT_THROW(ini.EndUpdate(), EIniFileException);
    EXPECT_EQ(disk.Dir().Read("Zeko.ini"), old);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(disk.Dir().Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Zeko.ini", "filler"}));
}

// Two copies of the program saving one file at the same moment: every save of each
// goes through, and the file is always one whole save of one of them.
TEST(IniFile, TwoProgramsSavingAtOnceNeverShareTheFileBeside) {
    TempDir dir;
    dir.Write("Zeko.ini", "[ComPort]\r\nCom=1\r\n");
    constexpr int Saves = 100;
    const auto saver = [&](const std::string& who, std::vector<std::string>& failures) {
        for (int i = 0; i < Saves; ++i) {
            try {
                TIniFile ini(dir / "Zeko.ini");
                ini.BeginUpdate();
                for (const char* key : {"Com", "BaudRate", "Sirka"})
                    ini.WriteString("ComPort", key, who + std::to_string(i));
                ini.EndUpdate();
            } catch (const EIniFileException& e) {
                failures.push_back(e.what());
            }
        }
    };
    std::vector<std::string> failuresA, failuresB;
    std::thread a(saver, "A", std::ref(failuresA)), b(saver, "B", std::ref(failuresB));
    a.join();
    b.join();
    EXPECT_TRUE(failuresA.empty()) << failuresA.size() << " " << failuresA.front();
    EXPECT_TRUE(failuresB.empty()) << failuresB.size() << " " << failuresB.front();
    const TIniFile ini(dir / "Zeko.ini");
    const std::string com = ini.ReadString("ComPort", "Com", "");
    EXPECT_TRUE(com == "A" + std::to_string(Saves - 1) || com == "B" + std::to_string(Saves - 1)) << com;
    EXPECT_EQ(ini.ReadString("ComPort", "BaudRate", ""), com);
    EXPECT_EQ(ini.ReadString("ComPort", "Sirka", ""), com);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
}
