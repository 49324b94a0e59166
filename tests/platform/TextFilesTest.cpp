#include "platform/TextFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <thread>

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
    const std::string name(252, 'a');  // a name with no room for a name beside it
    dir.Write(name, "old");
    int besideError = 0;
    EXPECT_EQ(ReplaceFileContent(dir / name, "x", 1, false, &besideError), ENAMETOOLONG);
    EXPECT_EQ(besideError, ENAMETOOLONG);
    EXPECT_EQ(dir.Read(name), "old");
    // The rename fails when the target is a folder: the file beside goes again.
    dir.Write("folder/keep", "");
    EXPECT_NE(ReplaceFileContent(dir / "folder", "x", 1, false, &besideError), 0);
    EXPECT_EQ(besideError, 0);
    EXPECT_FALSE(dir.Exists("folder.new"));
    bool opened = true;
    EXPECT_EQ(WriteWholeFile(dir / "no/such/file", "x", 1, false, &opened), ENOENT);
    EXPECT_FALSE(opened);
}

// Two writers replacing one file at once each write into a file beside of their
// own: no one renames what the other is still writing.
TEST(TextFiles, TwoReplacersOfOneFileNeverShareTheFileBeside) {
    TempDir dir;
    dir.Write("Zeko.ini", "old");
    constexpr int Rounds = 500;
    const auto replacer = [&](char letter, int& failures) {
        for (int i = 0; i < Rounds; ++i) {
            const std::string content(1000 + i, letter);
            failures += ReplaceFileContent(dir / "Zeko.ini", content.data(), content.size(), false) != 0;
        }
    };
    int failuresA = 0, failuresB = 0;
    std::thread a(replacer, 'a', std::ref(failuresA)), b(replacer, 'b', std::ref(failuresB));
    a.join();
    b.join();
    EXPECT_EQ(failuresA, 0);
    EXPECT_EQ(failuresB, 0);
    const std::string last = dir.Read("Zeko.ini");
    EXPECT_TRUE(last == std::string(1000 + Rounds - 1, 'a') || last == std::string(1000 + Rounds - 1, 'b'))
        << last.size();
    EXPECT_FALSE(dir.Exists("Zeko.ini.new"));
    EXPECT_FALSE(dir.Exists("Zeko.ini.new2"));
}

TEST(TextFiles, AFolderIsSyncedOrTheReasonTold) {
    TempDir dir;
    dir.Write("file", "");
    EXPECT_EQ(SyncDirectory(dir.Path()), 0);
    EXPECT_EQ(SyncDirectory(dir / "missing"), ENOENT);
    EXPECT_EQ(SyncDirectory(dir / "file"), ENOTDIR);
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
