#include "platform/TextFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace zeko;
using zeko::test::TempDir;
using Lines = std::vector<std::string>;

TEST(TextFiles, LinesLoseTheirEndsOfEitherKind) {
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines("\r\nb"), (Lines{"", "b"}));
    EXPECT_EQ(SplitLines("a\rb"), (Lines{"a\rb"}));  // a lone CR is no line end
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFiles, ReplacedContentLeavesNoFileBeside) {
    TempDir dir;
    dir.Write("a.ini", "old");
    const std::string text = "new content";
    EXPECT_EQ(ReplaceFileContent(dir / "a.ini", text.data(), text.size(), true), 0);
    EXPECT_EQ(dir.Read("a.ini"), text);
    EXPECT_FALSE(dir.Exists("a.ini.new"));
    std::string back;
    ASSERT_TRUE(ReadFileBytes(dir / "a.ini", back));
    EXPECT_EQ(back, text);
    EXPECT_FALSE(ReadFileBytes(dir / "missing", back));
}

TEST(TextFiles, AFailedReplaceKeepsTheOldFileAndTellsWhy) {
    TempDir dir;
    dir.Write("a.ini", "old");
    dir.Write("a.ini.new/blocker", "");  // the file beside cannot be made
    bool besideMade = true;
    EXPECT_EQ(ReplaceFileContent(dir / "a.ini", "x", 1, false, &besideMade), EISDIR);
    EXPECT_FALSE(besideMade);
    EXPECT_EQ(dir.Read("a.ini"), "old");
    // The rename fails when the target is a folder: the file beside goes again.
    dir.Write("folder/keep", "");
    EXPECT_NE(ReplaceFileContent(dir / "folder", "x", 1, false, &besideMade), 0);
    EXPECT_TRUE(besideMade);
    EXPECT_FALSE(dir.Exists("folder.new"));
    bool opened = true;
    EXPECT_EQ(WriteWholeFile(dir / "no/such/file", "x", 1, false, &opened), ENOENT);
    EXPECT_FALSE(opened);
}

TEST(TextFiles, OnlyAsciiLettersAreComparedWithoutCase) {
    EXPECT_TRUE(SameTextNoCase("Mesic03.ZEK", "mesic03.zek"));
    EXPECT_TRUE(SameTextNoCase("", ""));
    EXPECT_FALSE(SameTextNoCase("ROK2024", "ROK2024 "));
    EXPECT_FALSE(SameTextNoCase("Směna", "SMĚNA"));  // Ě and ě are other bytes
    EXPECT_TRUE(SameTextNoCase("Směna", "SMěNA"));
    EXPECT_FALSE(SameTextNoCase("[", "{"));            // no folding beyond the letters
    EXPECT_EQ(LowerAscii("Hodnoty Výstupu1"), "hodnoty výstupu1");
    EXPECT_TRUE(MatchesNoCaseAt("hh:nn AM/PM", 6, "am/pm"));
    EXPECT_FALSE(MatchesNoCaseAt("hh:nn AM/P", 6, "am/pm"));  // runs past the end
    EXPECT_FALSE(MatchesNoCaseAt("am", 3, "a"));
    EXPECT_FALSE(MatchesNoCaseAt("am", 0, ""));
}

TEST(TextFiles, AChosenFileIsReplacedWhereItReallyIs) {
    TempDir dir;
    dir.Write("grafy/den.jpg", "old");
    std::filesystem::create_symlink(dir / "grafy/den.jpg", dir / "odkaz.jpg");
    EXPECT_EQ(ReplaceChosenFile(dir / "odkaz.jpg", "new", 3), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "odkaz.jpg"));  // the link still names the file
    EXPECT_EQ(dir.Read("grafy/den.jpg"), "new");
    EXPECT_FALSE(dir.Exists("grafy/den.jpg.new"));
    // A device in place of the file is written, never renamed over.
    EXPECT_EQ(ReplaceChosenFile("/dev/null", "x", 1), 0);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_FALSE(std::filesystem::exists("/dev/null.new"));
    EXPECT_EQ(ReplaceChosenFile("/dev/full", "x", 1), ENOSPC);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}
