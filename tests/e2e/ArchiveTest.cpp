// The archive window in the program itself: the day table's "Gra&f" button opens
// it on the table's day, and its graph goes onto a PDF page and into a picture.
#include "e2e/ZekoProcess.h"

#include "core/RecordSamples.h"
#include "core/RecordSaving.h"
#include "platform/Cp1250.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/Jpeg.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zeko;

namespace {

// A record of every quarter hour of a day of the program's clock, ending with the
// one at midnight after it.
void StoreDay(TRecordList& records, TDateTime day, uint16_t count) {
    for (int q = 1; q <= 96; ++q) {
        const TDateTime at = day + q / 96.0;
        const DateParts d = DecodeDate(at);
        const TimeParts t = DecodeTime(at);
        records.push_back(test::MakeRecord(d.Year % 100, d.Month, d.Day, t.Hour, t.Minute, 0, count));
    }
}

} // namespace

TEST(Archive, TheDayTablesGraphButtonOpensTheArchiveOnTheTablesDay) {
    test::TempDir dir(true);
    const TDateTime today = Today();
    TRecordList records;
    StoreDay(records, today - 1, 50);
    StoreDay(records, today, 60);
    SaveRecords(records, "");
    // The site the printed graph names, as a technician writes it into "Zeko.ini".
    dir.Write("Zeko.ini", Utf8ToCp1250("[Graf]\r\nVelkoodber=Slévárna Brno\r\nOdberneMisto=Hala 2\r\n"
                                       "TechMaximum=1500\r\n"));
    test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", dir / "no-such-port"}});
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Warning [OK] Daný sériový port neexistuje nebo se právě používá !"));
    // One command at a time: each button's request is answered before the next.
    for (const char* command : {"menu cmDennitabulka", "click Btn_Dnesni", "click Btn_Predchozi", "click Btn_Graf"}) {
        zeko.Command(command);
        ASSERT_TRUE(zeko.WaitForLine(std::string("Command ") + command));
    }
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DateSeparator = '.';
    ASSERT_TRUE(zeko.WaitForLine("Archiv " + DateToStr(today - 1) + " 96 96 96 cos 96"));
    const std::string picture = std::string(ZEKO_ARTEFACT_DIR) + "/archiv-program.png";
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    zeko.Command("grab " + picture);
    ASSERT_TRUE(zeko.WaitForLine("Command grab"));

    // The graph of the loaded day on a page and in a picture, as a caller of the
    // graph's print would have them; both stay with the other pictures for a person
    // to look at.
    const std::string pdfFile = std::string(ZEKO_ARTEFACT_DIR) + "/archiv-graf.pdf";
    zeko.Command("printer pdf " + pdfFile);
    zeko.Command("graph print 1");
    ASSERT_TRUE(zeko.WaitForLine("GraphPrint 1 printed"));
    const std::string page = test::PdfText(pdfFile);
    // (pdftotext reads the gaps after the labels as one blank.)
    for (const std::string& text :
         {std::string("Denní průběh - Činný"), FormatDateTime("dddd", today - 1) + " " + DateToStr(today - 1),
          std::string("Velkoodběr: Slévárna Brno"), std::string("Odb. místo: Hala 2"),
          std::string("Tech. max. [kWh]: 1500"), std::string("Verze SW PC: 0.90beta14"), std::string("HL"),
          std::string("1P"), std::string("2P"), std::string("[kWh]"), std::string("12"), std::string("24")})
        EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
    // No regulator answered and nothing holds regulated maxima: those lines are left out.
    for (const char* text : {"Regulátor", "Reg. max."})
        EXPECT_EQ(page.find(text), std::string::npos) << text << "\n" << page;
    const std::string jpegFile = std::string(ZEKO_ARTEFACT_DIR) + "/archiv-graf.jpg";
    zeko.Command("graph picture 1 " + jpegFile);
    ASSERT_TRUE(zeko.WaitForLine("GraphPicture 1 -> " + jpegFile));
    TRgbImage jpeg;
    ASSERT_TRUE(DecodeJpegFile(jpegFile, jpeg));
    EXPECT_EQ(jpeg.Width, 2200);
    EXPECT_EQ(jpeg.Height, 1650);
    EXPECT_TRUE(test::PdfPagePicture(pdfFile, std::string(ZEKO_ARTEFACT_DIR) + "/archiv-graf-pdf.png"));

    // A page and a picture whose file cannot be written (a folder stands in its
    // place) are told, and the log says that they failed.
    std::filesystem::create_directories(dir / "slozka.pdf");
    zeko.Command("printer pdf " + dir / "slozka.pdf");
    zeko.Command("graph print 1");
    ASSERT_TRUE(zeko.WaitForLine("GraphPrint 1 failed"));
    EXPECT_FALSE(test::LinesWith(zeko.Log(), "MessageDlg Error [OK] Zvolená tiskárna není platná").empty());
    std::filesystem::create_directories(dir / "slozka.jpg");
    zeko.Command("graph picture 1 " + dir / "slozka.jpg");
    ASSERT_TRUE(zeko.WaitForLine("GraphPicture 1 -> " + dir / "slozka.jpg failed"));
    EXPECT_FALSE(test::LinesWith(zeko.Log(), "MessageDlg Error [OK] Chyba při ukládání souboru").empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "slozka.pdf"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "slozka.jpg"));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "CommandFailed").empty());
    EXPECT_TRUE(std::filesystem::exists(picture));
}
