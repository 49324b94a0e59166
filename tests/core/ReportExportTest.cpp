#include "core/ReportExport.h"

#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

using namespace zeko;
using zeko::test::SmallDisk;
using zeko::test::TempDir;

TEST(ReportExport, LinesAreWindows1250WithCrLf) {
    TempDir dir;
    TReportExport out(dir / "Export.txt", true);
    out.WriteLine("Hodina\tČinný [kWh]");
    out.WriteLine("");
    out.Finish();
    EXPECT_EQ(dir.Read("Export.txt"), "Hodina\t\xC8inn\xFD [kWh]\r\n\r\n");
}

TEST(ReportExport, OverwriteEmptiesAndAppendKeeps) {
    TempDir dir;
    dir.Write("a.txt", "stary\r\n");
    {
        TReportExport out(dir / "a.txt", false);
        out.WriteLine("novy");
        out.Finish();
    }
    EXPECT_EQ(dir.Read("a.txt"), "stary\r\nnovy\r\n");
    {
        TReportExport out(dir / "a.txt", true);
        out.WriteLine("jen tento");
        out.Finish();
    }
    EXPECT_EQ(dir.Read("a.txt"), "jen tento\r\n");
    {
        TReportExport out(dir / "missing.txt", false);  // a missing file is created
        out.WriteLine("x");
    }  // closed without Finish as well
    EXPECT_EQ(dir.Read("missing.txt"), "x\r\n");
}

TEST(ReportExport, TheFolderIsCreated) {
    TempDir dir;
    TReportExport out(dir / "exporty/2024/Export.txt", true);
    out.Finish();
    EXPECT_TRUE(dir.Exists("exporty/2024/Export.txt"));
}

TEST(ReportExport, EveryFailureRaisesFileError) {
    TempDir dir;
    dir.Write("folder/keep", "");
    try {
        TReportExport out(dir / "folder", true);
        FAIL() << "a folder opened as a file";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("folder"), std::string::npos);
    }
    dir.Write("file", "");
    EXPECT_THROW(TReportExport(dir / "file/inside.txt", true), EFileError);

    // A full disk: the write must not pass for done.
    struct stat st{};
    if (::stat("/dev/full", &st) == 0) {
        TReportExport full("/dev/full", true);
        EXPECT_THROW(full.WriteLine("Exportováno:"), EFileError);
    }

    TReportExport done(dir / "b.txt", true);
    done.Finish();
    EXPECT_THROW(done.WriteLine("late"), EFileError);
    EXPECT_NO_THROW(done.Finish());
}

namespace {

void WriteLines(TReportExport& out, int count) {
    for (int i = 0; i < count; ++i)
        out.WriteLine("01.03. pá\t1 234,5\t12:45\tx\tx\tx\tx\tx\tx\tx\t");
}

} // namespace

TEST(ReportExport, ARewriteOnAFullDiskLeavesTheOldFileAsItWasAndNothingBeside) {
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "no tmpfs without the rights of root";
    const std::string old = "Čtvrthodina/Hodina\t1.\t2.\r\nstarý export\r\n";
    disk.Dir().Write("Export.txt", old);
    disk.Fill();
    try {
        TReportExport out(disk / "Export.txt", true);
        WriteLines(out, 200);
        out.Finish();
        FAIL() << "a full disk took the export";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("Export.txt: "), std::string::npos) << e.what();
    }
    EXPECT_EQ(disk.Dir().Read("Export.txt"), old);
    EXPECT_EQ(disk.Dir().Names(), (std::vector<std::string>{"Export.txt", "filler"}));
}

TEST(ReportExport, ARewriteGivenUpHalfWayKeepsTheOldFile) {
    TempDir dir;
    dir.Write("Export.txt", "starý\r\n");
    {
        TReportExport out(dir / "Export.txt", true);
        WriteLines(out, 3);
    }  // the export failed elsewhere and never finished
    EXPECT_EQ(dir.Read("Export.txt"), "starý\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"Export.txt"}));
}

TEST(ReportExport, ARewriteKeepsTheUsersOtherFilesAndTheFilesPermissions) {
    TempDir dir;
    dir.Write("Export.txt", "starý\r\n");
    dir.Write("Export.txt.new", "soubor uživatele");
    ::chmod((dir / "Export.txt").c_str(), 0640);
    TReportExport out(dir / "Export.txt", true);
    out.WriteLine("nový");
    EXPECT_EQ(dir.Read("Export.txt"), "starý\r\n");  // until it is finished
    out.Finish();
    EXPECT_EQ(dir.Read("Export.txt"), "nov\xFD\r\n");
    EXPECT_EQ(dir.Read("Export.txt.new"), "soubor uživatele");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"Export.txt", "Export.txt.new"}));
    struct stat st{};
    ASSERT_EQ(::stat((dir / "Export.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
