#include "core/ReportExport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zeko;
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
