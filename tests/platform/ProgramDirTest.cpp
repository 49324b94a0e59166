#include "platform/ProgramDir.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace zeko;
using zeko::test::TempDir;

namespace {

// Sets an environment variable for the time of a test, and puts back what it was.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(ProgramDir, TheChosenFolderElseTheUsersDataFolderNeverTheExecutables) {
    TempDir home;
    ScopedEnv noChoice("ZEKO_PROGRAM_DIR", nullptr);
    ScopedEnv homeDir("HOME", home.Path().c_str());
    const struct {
        const char* chosen;
        const char* xdg;
        std::string expected;
    } cases[] = {
        {"/tmp/no-slash", "/data", "/tmp/no-slash/"},
        {"/tmp/slash/", nullptr, "/tmp/slash/"},
        {nullptr, "/data", "/data/zeko/"},
        {"", "/data/", "/data/zeko/"},
        {nullptr, nullptr, home / ".local/share/zeko/"},
        {nullptr, "", home / ".local/share/zeko/"},
        {nullptr, "relative/data", home / ".local/share/zeko/"},  // only an absolute one counts
    };
    for (const auto& c : cases) {
        ScopedEnv chosen("ZEKO_PROGRAM_DIR", c.chosen);
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        EXPECT_EQ(ProgramDir(), c.expected) << (c.chosen ? c.chosen : "-") << " " << (c.xdg ? c.xdg : "-");
    }
}

TEST(ProgramDir, TheFolderIsMadeOnFirstStartAndAFolderThatCannotBeUsedIsTold) {
    TempDir base;
    ScopedEnv chosen("ZEKO_PROGRAM_DIR", nullptr);
    ScopedEnv xdg("XDG_DATA_HOME", (base / "data").c_str());
    int error = -1;
    EXPECT_EQ(PrepareProgramDir(error), TProgramDirState::Ready);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(DirectoryExists(base / "data/zeko"));
    EXPECT_EQ(PrepareProgramDir(error), TProgramDirState::Ready);  // there already

    base.Write("file", "");
    ScopedEnv underAFile("ZEKO_PROGRAM_DIR", (base / "file/zeko").c_str());
    EXPECT_EQ(PrepareProgramDir(error), TProgramDirState::NotCreated);
    // A file stands where a folder of the path goes: told as such (mkdir's own
    // answer is that the name exists).
    EXPECT_EQ(error, ENOTDIR);
}

TEST(ProgramDir, AFolderClosedToWritingIsTold) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "no permission closes a folder to root";
    TempDir base;
    base.Write("closed/keep", "");
    ASSERT_EQ(::chmod((base / "closed").c_str(), 0500), 0);
    ScopedEnv chosen("ZEKO_PROGRAM_DIR", (base / "closed").c_str());
    int error = 0;
    EXPECT_EQ(PrepareProgramDir(error), TProgramDirState::NotWritable);
    EXPECT_EQ(error, EACCES);
    ::chmod((base / "closed").c_str(), 0700);
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
