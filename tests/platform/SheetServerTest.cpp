// The spreadsheet server of the exports: macro commands read as the macro language
// writes them, typed texts becoming numbers or staying texts, formats and borders
// of a selection, the workbook written as a file and read back by a reader that is
// not our writer, and what the user is told.
#include "platform/SheetServer.h"

#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/SheetColumnWidths.h"
#include "platform/XlsxFile.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"

#include <gtest/gtest.h>

namespace zeko::test {
namespace {

class SheetServer : public ::testing::Test {
protected:
    ~SheetServer() override { FormatSettings().DecimalSeparator = ','; }
    bool Run(const std::string& command) { return server_.Execute("System", command); }
    const TSheetCell* Cell(int row, int col) const {
        return server_.Workbook().Sheets.at(static_cast<size_t>(server_.Workbook().Active)).Find(row, col);
    }
    TSheetServer server_;
};

TEST(SheetReferences, R1C1CellsAndRangesReadAndAnythingElseDoesNot) {
    struct Case {
        const char* text;
        bool reads;
        TCellRange range;
    };
    for (const Case& c : {Case{"R5C2", true, {5, 2, 5, 2}}, Case{"R5C2:R28C8", true, {5, 2, 28, 8}},
                          Case{"r28c8:R5C2", true, {5, 2, 28, 8}}, Case{"R0C1", false, {}}, Case{"R5", false, {}},
                          Case{"R5C2:", false, {}}, Case{"A1", false, {}}, Case{"R5C2x", false, {}}}) {
        TCellRange range;
        EXPECT_EQ(ParseR1C1(c.text, range), c.reads) << c.text;
        if (c.reads) {
            EXPECT_EQ(range.Top, c.range.Top) << c.text;
            EXPECT_EQ(range.Left, c.range.Left) << c.text;
            EXPECT_EQ(range.Bottom, c.range.Bottom) << c.text;
            EXPECT_EQ(range.Right, c.range.Right) << c.text;
        }
    }
}

TEST(SheetTypedInput, NumbersInTheLocalesNotationBecomeNumbersAndTheRestStaysText) {
    struct Case {
        const char* text;
        bool number;
        double value;
    };
    for (const Case& c : {Case{"1,5", true, 1.5}, Case{"-0,30", true, -0.3}, Case{" 12 ", true, 12},
                          Case{"157,3", true, 157.3}, Case{"1,2E+12", true, 1.2e12}, Case{",5", true, 0.5},
                          Case{"x", false, 0}, Case{"10:30", false, 0}, Case{"05.03.2024", false, 0},
                          Case{"1.5", false, 0}, Case{" 00 - 01 ", false, 0}, Case{"=1+2", false, 0},
                          Case{"", false, 0}, Case{"-", false, 0}, Case{"1,5 kWh", false, 0}}) {
        double value = 0;
        EXPECT_EQ(ReadsAsNumber(c.text, value), c.number) << c.text;
        if (c.number) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    FormatSettings().DecimalSeparator = '.';
    double value = 0;
    EXPECT_TRUE(ReadsAsNumber("1.5", value));
    EXPECT_FALSE(ReadsAsNumber("1,5", value));
    FormatSettings().DecimalSeparator = ',';
}

TEST(SheetNumberFormats, TheLocalesFormatsBecomeTheFilesFormats) {
    EXPECT_EQ(FileNumberFormat("## ##0,0"), "##,##0.0");
    EXPECT_EQ(FileNumberFormat("## ##0,00"), "##,##0.00");
    EXPECT_EQ(FileNumberFormat("@"), "@");
    FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(FileNumberFormat("## ##0.0"), "##,##0.0");
    FormatSettings().DecimalSeparator = ',';
}

TEST_F(SheetServer, CellCommandsNeedASheetAndEachInsertedSheetComesInFront) {
    EXPECT_FALSE(Run("[SELECT(\"R1C1\")]"));
    EXPECT_FALSE(Run("[FORMULA(\"1\",\"R1C1\")]"));
    ASSERT_TRUE(Run("[WorkBook.Insert(1)]"));
    ASSERT_TRUE(Run("[FORMULA(\"first\",\"R1C1\")]"));
    ASSERT_TRUE(Run("[workbook.insert(1)]"));
    ASSERT_TRUE(Run("[FORMULA(\"second\",\"R1C1\")]"));
    const TWorkbook& book = server_.Workbook();
    ASSERT_EQ(book.Sheets.size(), 2u);
    EXPECT_EQ(book.Active, 0);
    EXPECT_EQ(book.Sheets[0].Name, "List2");
    EXPECT_EQ(book.Sheets[0].Find(1, 1)->Text, "second");
    EXPECT_EQ(book.Sheets[1].Find(1, 1)->Text, "first");
    EXPECT_FALSE(Run("[WorkBook.Insert(2)]"));  // worksheets only
    EXPECT_EQ(server_.Request("System", "Status"), "Ready");
    EXPECT_EQ(server_.Request("System", "Selection"), std::nullopt);
    EXPECT_FALSE(server_.AcceptsTopic("List1"));
}

TEST_F(SheetServer, CommandsThatDoNotReadAreRefused) {
    ASSERT_TRUE(Run("[WorkBook.Insert(1)]"));
    for (const char* command :
         {"[FORMULA(\"Tarif \"VT\"\",\"R1C1\")]",  // a quote inside not doubled
          "[FORMULA(\"open,\"R1C1\")]", "FORMULA(\"a\",\"R1C1\")", "[FORMULA(\"a\",\"A1\")]", "[FORMULA(a,\"R1C1\")]",
          "[SELECT(R1C1)]", "[ALIGNMENT(9,FALSE,3,0)]", "[BORDER(8, 0, 0, 0, 0)]", "[FORMAT.FONT(,x,TRUE)]",
          "[SAVE()]", "[]"})
        EXPECT_FALSE(Run(command)) << command;
    EXPECT_TRUE(Run("[FORMULA(\"Tarif \"\"VT\"\"\",\"R1C1\")]"));
    EXPECT_EQ(Cell(1, 1)->Text, "Tarif \"VT\"");
}

TEST_F(SheetServer, TypedTextsFollowTheCellsFormatAndFormatsApplyToTheSelection) {
    ASSERT_TRUE(Run("[WorkBook.Insert(1)]"));
    ASSERT_TRUE(Run("[Select(\"R2C2:R3C3\")]"));
    ASSERT_TRUE(Run("[FORMAT.NUMBER(\"## ##0,0\")]"));
    ASSERT_TRUE(Run("[FORMAT.FONT(,10,TRUE,FALSE,FALSE,FALSE,0)]"));
    ASSERT_TRUE(Run("[ALIGNMENT(3,FALSE,2,0)]"));
    ASSERT_TRUE(Run("[BORDER(5, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0)]"));
    ASSERT_TRUE(Run("[SELECT(\"R3C3\")]"));
    ASSERT_TRUE(Run("[FORMAT.NUMBER(\"@\")]"));
    ASSERT_TRUE(Run("[FORMULA(\"1,5\",\"R2C2\")]"));
    ASSERT_TRUE(Run("[FORMULA(\"2,5\")]"));  // the active cell
    const TSheetCell* number = Cell(2, 2);
    EXPECT_EQ(number->Kind, TSheetCell::ckNumber);
    EXPECT_DOUBLE_EQ(number->Value, 1.5);
    EXPECT_EQ(number->Style.NumberFormat, "##,##0.0");
    EXPECT_EQ(number->Style.FontSize, 10);
    EXPECT_TRUE(number->Style.Bold);
    EXPECT_EQ(number->Style.HAlign, 3);
    EXPECT_EQ(number->Style.VAlign, 2);
    const TSheetCell* text = Cell(3, 3);
    EXPECT_EQ(text->Kind, TSheetCell::ckText);
    EXPECT_EQ(text->Text, "2,5");
    // Thin sides on every cell, the thick outline round the selection.
    struct Sides {
        int row, col, left, right, top, bottom;
    };
    for (const Sides& s : {Sides{2, 2, 5, 1, 5, 0}, Sides{2, 3, 1, 5, 5, 0}, Sides{3, 2, 5, 1, 0, 5},
                           Sides{3, 3, 1, 5, 0, 5}}) {
        const TSheetStyle& st = Cell(s.row, s.col)->Style;
        EXPECT_EQ((std::vector<int>{st.Left, st.Right, st.Top, st.Bottom}),
                  (std::vector<int>{s.left, s.right, s.top, s.bottom}))
            << s.row << "," << s.col;
    }
    ASSERT_TRUE(Run("[FORMULA(\"\",\"R2C2\")]"));
    EXPECT_EQ(Cell(2, 2)->Kind, TSheetCell::ckEmpty);
    EXPECT_EQ(Cell(2, 2)->Style.NumberFormat, "##,##0.0");  // emptied, still formatted
}

TEST_F(SheetServer, TheWorkbookReadsBackWithItsSheetsValuesAndStyles) {
    TempDir dir;
    for (const char* command :
         {"[WorkBook.Insert(1)]", "[FORMULA(\"starý\",\"R1C1\")]", "[WorkBook.Insert(1)]", "[Select(\"R2C2:R3C3\")]",
          "[FORMAT.NUMBER(\"## ##0,00\")]", "[BORDER(5, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0)]", "[ALIGNMENT(3,FALSE,3,0)]",
          "[FORMAT.FONT(,11,TRUE,FALSE,FALSE,FALSE,0)]", "[FORMULA(\"0,95\",\"R2C2\")]", "[FORMULA(\"x\",\"R2C3\")]",
          "[FORMULA(\"Čas\",\"R5C1\")]"})
        ASSERT_TRUE(Run(command)) << command;
    const std::string file = dir / "a/b.xlsx";
    ASSERT_EQ(WriteXlsxFile(server_.Workbook(), file), std::nullopt);
    const XlsxBook book = ReadXlsx(file);
    EXPECT_EQ(book.Sheets, (std::vector<std::string>{"List2", "List1"}));
    EXPECT_EQ(book.Active, "List2");
    EXPECT_EQ(book.At("List1", "A1").Value, "starý");
    const XlsxCell cos = book.At("List2", "B2");
    EXPECT_TRUE(cos.Number);
    EXPECT_EQ(cos.Value, "0.95");
    EXPECT_EQ(cos.Format, "##,##0.00");
    EXPECT_TRUE(cos.Bold);
    EXPECT_EQ(cos.Size, 11);
    EXPECT_EQ(cos.Horizontal, "center");
    EXPECT_EQ(cos.Borders, "thick,thin,thick,thin");
    EXPECT_FALSE(book.At("List2", "C2").Number);
    EXPECT_EQ(book.At("List2", "C3").Value, "");  // a styled empty cell keeps its frame
    EXPECT_EQ(book.At("List2", "C3").Borders, "thin,thick,thin,thick");
    EXPECT_EQ(book.At("List2", "A5").Value, "Čas");
    EXPECT_EQ(book.At("List2", "A5").Horizontal, "general");
}

TEST_F(SheetServer, ActivatingWritesANewFileOpensItAndSaysWhere) {
    ScopedLoggingNotifier notifier;
    std::vector<std::string> told, opened, written, titles;
    std::optional<std::string> openFails;
    TSheetServer::TOpenFailed later;
    std::optional<std::string> writeFails;
    server_.NewFileName = [&](const std::string& title) {
        titles.push_back(title);
        return std::string("/tmp/sesit.xlsx");
    };
    server_.WriteFile = [&](const TWorkbook&, const std::string& file) {
        written.push_back(file);
        return writeFails;
    };
    server_.OpenDocument = [&](const std::string& file, TSheetServer::TOpenFailed failed) {
        opened.push_back(file);
        if (openFails)
            failed(*openFails);
        else
            later = std::move(failed);
    };
    server_.Tell = [&](const std::string& text) { told.push_back(text); };
    EXPECT_EQ(server_.Activate("Denní tabulka"), std::nullopt);
    EXPECT_EQ(notifier.Count(), 0u);
    // Saved, but no program opens it: the user is told where the workbook is, with
    // the reason, at once when nothing could be started ...
    openFails = "xdg-open nelze spustit";
    EXPECT_EQ(server_.Activate("Měsíční tabulka"), std::nullopt);
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(notifier.Messages()[0].Text, "Tabulka byla uložena do sešitu:\n/tmp/sesit.xlsx\nProgram pro tabulky "
                                           "se ale nepodařilo spustit (xdg-open nelze spustit).");
    // ... and when the opener started ends with a failure after the export, also
    // once the server is gone.
    openFails.reset();
    {
        TSheetServer gone;
        gone.NewFileName = [](const std::string&) { return std::string("/tmp/druhy.xlsx"); };
        gone.WriteFile = server_.WriteFile;
        gone.OpenDocument = server_.OpenDocument;
        gone.Tell = server_.Tell;
        EXPECT_EQ(gone.Activate("Denní tabulka"), std::nullopt);
    }
    EXPECT_EQ(notifier.Count(), 1u);
    ASSERT_TRUE(later);
    later("xdg-open skončil s kódem 3");
    ASSERT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(notifier.Messages()[1].Text, "Tabulka byla uložena do sešitu:\n/tmp/druhy.xlsx\nProgram pro tabulky "
                                           "se ale nepodařilo spustit (xdg-open skončil s kódem 3).");
    // Not saved: the message for the user names the file and the cause.
    writeFails = "No space left on device";
    EXPECT_EQ(server_.Activate("Roční tabulka"),
              "Chyba zápisu do souboru:/tmp/sesit.xlsx: No space left on device\nExport nebyl proveden.");
    EXPECT_EQ(notifier.Count(), 2u);
    EXPECT_EQ(written.size(), 4u);
    EXPECT_EQ(opened, (std::vector<std::string>{"/tmp/sesit.xlsx", "/tmp/sesit.xlsx", "/tmp/druhy.xlsx"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"Denní tabulka", "Měsíční tabulka", "Roční tabulka"}));
    EXPECT_EQ(told, (std::vector<std::string>{
                        "Tabulka uložena do sešitu /tmp/sesit.xlsx",
                        "Tabulka uložena do sešitu /tmp/sesit.xlsx",
                        "Tabulka uložena do sešitu /tmp/sesit.xlsx; program pro tabulky se nepodařilo otevřít.",
                        "Tabulka uložena do sešitu /tmp/druhy.xlsx",
                        "Tabulka uložena do sešitu /tmp/druhy.xlsx; program pro tabulky se nepodařilo otevřít.",
                        "Sešit se nepodařilo uložit do souboru /tmp/sesit.xlsx: No space left on device"}));
}

// Neighbouring columns of values in one format under captions of at most three
// characters are of one kind and take one width; a long caption, another format or
// a column between them keeps a width of its own.
TEST(SheetColumnKinds, NeighboursOfOneFormatUnderShortCaptionsTakeOneWidth) {
    TWorksheet sheet;
    struct Column {
        const char* caption;
        const char* format;
        double value;
    } const columns[] = {{"S1", "#,##0.0", 12345.6}, {"S2", "#,##0.0", 1},      {"Celkem [kWh]", "#,##0.0", 5},
                         {"T1", "#,##0.00", 1},     {"T2", "#,##0.00", 123.25}, {"Čas", "@", 0}};
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        const Column& c = columns[i];
        TSheetCell& caption = sheet.At(1, i + 2);
        caption.Kind = TSheetCell::ckText;
        caption.Text = c.caption;
        TSheetCell& value = sheet.At(2, i + 2);
        value.Kind = TSheetCell::ckNumber;
        value.Value = c.value;
        value.Style.NumberFormat = c.format;
    }
    const std::map<int, double> widths = FittingColumnWidths(sheet);
    EXPECT_EQ(widths.at(2), widths.at(3));      // S1 and S2, as wide as 12 345,6
    EXPECT_NE(widths.at(4), widths.at(3));  // the total: its caption is long
    EXPECT_EQ(widths.at(5), widths.at(6));  // T1 and T2
    EXPECT_LT(widths.at(5), widths.at(2));
    EXPECT_NE(widths.at(7), widths.at(6));  // "Čas" over text: another sort
}

TEST(SheetFile, AFileThatCannotBeWrittenGivesTheReason) {
    TSheetServer server;
    ASSERT_TRUE(server.Execute("System", "[WorkBook.Insert(1)]"));
    EXPECT_NE(WriteXlsxFile(server.Workbook(), "/proc/no/such.xlsx"), std::nullopt);
}

} // namespace
} // namespace zeko::test
