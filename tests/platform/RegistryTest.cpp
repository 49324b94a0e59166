#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFilePath(file); }
    void TearDown() override { SetRegistryFilePath(std::nullopt); }
    void WriteFile(const std::string& text) { dir.Write("sub/registry.reg", text); }
    std::string ReadFile() { return dir.Read("sub/registry.reg"); }

    test::TempDir dir;
    std::string file = dir / "sub/registry.reg";
};

TEST_F(RegistryTest, ValuesWrittenUnderAKeyReadBackWhateverTheLetterCase) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Denni", true));
        reg.WriteInteger("Column 1", 75);
        reg.WriteInteger("Column 2", -3);
        reg.WriteString("Caption", "Denní \"tabulka\" \\");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("software\\VADRO\\colwidths800\\denni", false));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Column 1", "Column 2", "Caption"}));
    EXPECT_EQ(reg.ReadInteger("column 1"), 75);
    EXPECT_EQ(reg.ReadInteger("Column 2"), -3);
    EXPECT_EQ(reg.ReadString("Caption"), "Denní \"tabulka\" \\");
    EXPECT_EQ(reg.GetDataType("Column 1"), rdInteger);
    EXPECT_THROW(reg.ReadInteger("Caption"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Column 9"), ERegistryException);
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\Vadro"));
    EXPECT_TRUE(reg.KeyExists("\\software\\vadro\\COLWIDTHS800\\Denni"));
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Vad"));  // a part of a name is no key
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Vadro\\ColWidths800\\Denni\\Sub"));
    EXPECT_NE(ReadFile().find("[HKEY_CURRENT_USER\\SOFTWARE\\Vadro\\ColWidths800\\Denni]"), std::string::npos);
    EXPECT_NE(ReadFile().find("\"Column 1\"=dword:0000004b"), std::string::npos);
}

TEST_F(RegistryTest, OpeningWithoutCreateLeavesAMissingKeyAlone) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths1024\\Rocni", false));
    EXPECT_TRUE(reg.GetValueNames().empty());
    reg.CloseKey();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(reg.OpenKeyReadOnly("SOFTWARE"));
}

TEST_F(RegistryTest, DamagedValuesAreSkippedAndKeptWhenTheFileIsWrittenAgain) {
    WriteFile(
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vadro\\ColWidths800\\Mesicni]\r\n"
        "\"Column 1\"=dword:zz\r\n"
        "\"Column 2\"=dword:00000050\r\n"
        "\"Column 3\"=\"unterminated\r\n"
        "\"Column 4\"=dword:123456789\r\n"
        "\"Column 5\"=hex:0\r\n"
        "garbage without a name\r\n"
        "\"Column 6\"=dword:00000020\r\n");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Mesicni", false));
        EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Column 2", "Column 6"}));
        EXPECT_EQ(reg.ReadInteger("Column 2"), 80);
        EXPECT_EQ(reg.ReadInteger("Column 6"), 32);
        EXPECT_FALSE(reg.ValueExists("Column 1"));
        reg.WriteInteger("Column 7", 1);
    }
    const std::string text = ReadFile();
    EXPECT_NE(text.find("\"Column 1\"=dword:zz"), std::string::npos);
    EXPECT_NE(text.find("garbage without a name"), std::string::npos);
    EXPECT_NE(text.find("\"Column 7\"=dword:00000001"), std::string::npos);
}

TEST_F(RegistryTest, LinesEndingInACarriageReturnOfTheirOwnAreKeptAsTheyStand) {
    // CR CR LF line ends: each line read keeps one CR, which must not join the LF
    // written after it, or the lines would read back as a key and a value.
    const std::string damaged =
        "[HKEY_CURRENT_USER\\SOFTWARE\\Vadro\\ColWidths800\\Rocni]\r\r\n"
        "\"Column 2\"=dword:00000063\r\r\n";
    WriteFile("before the first key\r\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Vadro\\ColWidths800\\Denni]\n"
              "\"Column 1\"=dword:00000040\n" +
              damaged);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Denni", false));
        EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Column 1"}));
        reg.WriteInteger("Column 1", 70);
    }
    const std::string text = ReadFile();
    EXPECT_EQ(text.rfind("before the first key\r\r\n", 0), 0u) << text;
    EXPECT_NE(text.find(damaged), std::string::npos) << text;
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists("SOFTWARE\\Vadro\\ColWidths800\\Rocni"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\Vadro\\ColWidths800\\Denni"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"Column 1"}));
    EXPECT_EQ(reg.ReadInteger("Column 1"), 70);
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites) {
    {
        TRegistry reg;
        reg.OpenKey("A", true);
        reg.WriteBinaryData("bytes", {1, 0xFF});
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("A"));
    EXPECT_EQ(reg.ReadBinaryData("bytes"), (std::vector<uint8_t>{1, 0xFF}));
    EXPECT_THROW(reg.WriteInteger("x", 1), ERegistryException);
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenRaisesOnCloseAndNotFromTheDestructor) {
    dir.Write("blocker", "");  // a file where the store's folder should be
    SetRegistryFilePath(dir / "blocker/registry.reg");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Denni", true));
        reg.WriteInteger("Column 1", 75);
        EXPECT_THROW(reg.CloseKey(), ERegistryException);
    }
    {
        TRegistry reg;  // the grids let the destructor write their widths
        ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Denni", true));
        reg.WriteInteger("Column 1", 75);
    }
    EXPECT_FALSE(fs::exists(dir / "blocker/registry.reg"));
}

TEST_F(RegistryTest, RootsAreSeparate) {
    {
        TRegistry reg;
        reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
        reg.OpenKey(".XLS", true);
        reg.WriteString("", "Excel.Sheet");
    }
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(".XLS"));
    reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey(".XLS", false));
    EXPECT_EQ(reg.ReadString(""), "Excel.Sheet");
}

TEST(RegistryPath, FollowsTheConfigurationFolder) {
    SetRegistryFilePath(std::nullopt);
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = old ? old : "";
    ::unsetenv("ZEKO_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(RegistryFilePath(), "/tmp/cfg/zeko/registry.reg");
    ::setenv("ZEKO_REGISTRY", "/tmp/other.reg", 1);
    EXPECT_EQ(RegistryFilePath(), "/tmp/other.reg");
    ::unsetenv("ZEKO_REGISTRY");
    if (old)
        ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace zeko
