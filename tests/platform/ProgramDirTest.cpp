#include "platform/ProgramDir.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zeko;
using zeko::test::TempDir;

TEST(ProgramDir, EnvironmentOverridesTheExecutableFolder) {
    {
        TempDir dir(true);
        EXPECT_EQ(ProgramDir(), dir.Path());
        ::setenv("ZEKO_PROGRAM_DIR", "/tmp/no-slash", 1);
        EXPECT_EQ(ProgramDir(), "/tmp/no-slash/");
    }
    // Without the variable it is the folder of the test program itself.
    const std::string exeDir = ProgramDir();
    ASSERT_FALSE(exeDir.empty());
    EXPECT_EQ(exeDir.back(), '/');
    EXPECT_TRUE(FileExists(exeDir + "test_platform"));
}

TEST(ProgramDir, NamesAreFoundWithoutRegardToCase) {
    TempDir dir;
    dir.Write("ROK2024/mesic03.zek", "x");
    EXPECT_EQ(FindNameNoCase(dir.Path(), "rok2024"), "ROK2024");
    EXPECT_EQ(FindNameNoCase(dir.Path(), "Rok2025"), "Rok2025");  // absent: as given
    EXPECT_EQ(ResolvePathNoCase(dir / "rok2024/Mesic03.zek"), dir / "ROK2024/mesic03.zek");
    // A missing file in an existing folder keeps its own name; so does everything
    // below a missing folder.
    EXPECT_EQ(ResolvePathNoCase(dir / "Rok2024/Mesic04.zek"), dir / "ROK2024/Mesic04.zek");
    EXPECT_EQ(ResolvePathNoCase(dir / "rok2023/MESIC01.zek"), dir / "rok2023/MESIC01.zek");
    EXPECT_EQ(FindNameNoCase(dir.Path() + "missing", "a"), "a");
}

TEST(ProgramDir, TheExactNameWinsOverOtherCases) {
    TempDir dir;
    dir.Write("Zeko.ini", "a");
    dir.Write("ZEKO.INI", "b");
    EXPECT_EQ(FindNameNoCase(dir.Path(), "ZEKO.INI"), "ZEKO.INI");
    EXPECT_EQ(FindNameNoCase(dir.Path(), "Zeko.ini"), "Zeko.ini");
}

TEST(ProgramDir, ProgramFileLooksInTheProgramFolder) {
    TempDir dir(true);
    dir.Write("ZARIZENI.INI", "");
    EXPECT_EQ(ProgramFile("Zarizeni.ini"), dir / "ZARIZENI.INI");
    EXPECT_EQ(ProgramFile("Tarify.his"), dir / "Tarify.his");
}

TEST(ProgramDir, ForceDirectoriesReusesAFolderOfAnotherCase) {
    TempDir dir;
    dir.Write("rok2024/keep", "");
    ASSERT_TRUE(ForceDirectories(dir / "ROK2024"));
    EXPECT_FALSE(dir.Exists("ROK2024"));  // no second folder beside "rok2024"
    ASSERT_TRUE(ForceDirectories(dir / "a/b/c"));
    EXPECT_TRUE(DirectoryExists(dir / "a/b/c"));
    EXPECT_TRUE(ForceDirectories(dir / "a/b/c"));  // already there
    dir.Write("file", "");
    EXPECT_FALSE(ForceDirectories(dir / "file/sub"));  // a file blocks the way
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_TRUE(ForceFileDirectory(dir / "d/e/Export.txt"));
    EXPECT_TRUE(DirectoryExists(dir / "d/e"));
    EXPECT_FALSE(dir.Exists("d/e/Export.txt"));
    EXPECT_TRUE(ForceFileDirectory("Zeko.ini"));
    EXPECT_FALSE(ForceFileDirectory(dir / "file/sub/x.ini"));
}

TEST(ProgramDir, PathParts) {
    EXPECT_EQ(ExtractFileDir("/a/b/c.txt"), "/a/b");
    EXPECT_EQ(ExtractFileDir("c.txt"), "");
    EXPECT_EQ(ExtractFileDir("/c.txt"), "/");
    EXPECT_EQ(ExtractFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractFileName("c.txt"), "c.txt");
}
