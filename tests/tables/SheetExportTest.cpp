// The spreadsheet exports ("XL&S") of the day, month and year tables: the macro
// stream against streams kept with the tests, the workbook file read back by a
// reader that is not our writer (values, number formats, sheet order), and the
// one message of a failed link.
#include "ExportFixture.h"

#include "platform/FormatSettings.h"
#include "platform/SheetColumnWidths.h"
#include "support/SmallDisk.h"
#include "support/XlsxReader.h"
#include "tables/SheetExport.h"

#include <QFont>
#include <QFontMetricsF>

#include <cstring>
#include <functional>

namespace zeko::test {
namespace {

class SheetExport : public ExportTest {
protected:
    XlsxBook LastBook() {
        EXPECT_FALSE(server_.opened.empty());
        return server_.opened.empty() ? XlsxBook{} : ReadXlsx(server_.opened.back());
    }
    // The last workbook stays with the pictures, for a person to open.
    void KeepWorkbook(const std::string& name) {
        ASSERT_FALSE(server_.opened.empty());
        std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
        std::filesystem::copy_file(server_.opened.back(), std::string(ZEKO_ARTEFACT_DIR) + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    RecordingSheetServer server_{dir_.Path()};
};

TEST_F(SheetExport, TheDayTableGoesOverAsKeptAndReadsBackWithItsFormats) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    form.Btn_ExportXLS->click();
    EXPECT_EQ(notifier_.Count(), 0u);
    ExpectSameAsKept(Lines(server_.stream), "denni.macros");
    KeepWorkbook("denni.xlsx");

    const XlsxBook book = LastBook();
    ASSERT_EQ(book.Sheets, (std::vector<std::string>{"List1"}));
    const std::string s = "List1";
    EXPECT_EQ(book.At(s, "B3").Value, "Denní výpis : Činný - Činný - úterý  05.03.2024");
    EXPECT_EQ(book.Row(s, 4, 'B', 7), (std::vector<std::string>{"Čtvrthodina/Hodina", "1.", "2.", "3.", "4.",
                                                                 "Celkem [kWh]:", "cos. fí"}));
    // The hour label stays a text; quarter values are numbers of one decimal, the
    // cos phi of two; "x" stays as shown.
    EXPECT_EQ(book.At(s, "B5").Value, " 00 - 01 ");
    EXPECT_FALSE(book.At(s, "B5").Number);
    const XlsxCell quarter = book.At(s, "C15");
    EXPECT_TRUE(quarter.Number);
    EXPECT_EQ(quarter.Value, "100.0");
    EXPECT_EQ(quarter.Format, "##,##0.0");
    EXPECT_EQ(book.At(s, "H15").Value, "0.8");
    EXPECT_EQ(book.At(s, "H15").Format, "##,##0.00");
    EXPECT_EQ(book.At(s, "D5").Value, "x");
    EXPECT_EQ(book.At(s, "G29").Value, "157.3");
    // The day's total and maximum have one decimal as the hours, its cos phi two.
    EXPECT_EQ(book.At(s, "G29").Format, "##,##0.0");
    EXPECT_EQ(book.At(s, "G30").Format, "##,##0.0");
    EXPECT_EQ(book.At(s, "H29").Format, "##,##0.00");
    EXPECT_EQ(book.At(s, "B30").Value, "MIN/MAX");
    EXPECT_EQ(book.At(s, "F30").Value, "23:55");  // a time stays as the grid shows it
    EXPECT_EQ(book.Row(s, 33, 'C', 6), (std::vector<std::string>{"Směna 1", "Směna 2", "Směna 3", "Tarif 1",
                                                                  "Tarif 2", "Tarif 3"}));
    EXPECT_EQ(book.At(s, "B34").Value, "Součty [kWh]:");
    EXPECT_TRUE(book.At(s, "B34").Bold);
    EXPECT_EQ(book.At(s, "C34").Value, "106.0");
    EXPECT_EQ(book.Row(s, 41, 'B', 3), (std::vector<std::string>{"Exportováno:", "10.03.2024", "14:05:09"}));
    EXPECT_EQ(book.At(s, "C42").Value, "05.03.2024");
    EXPECT_EQ(book.At(s, "H42").Value, "0.90beta14");
    // The table's frame: thick round the hours, thin inside.
    EXPECT_EQ(book.At(s, "B5").Borders, "thick,thin,thick,thin");
    EXPECT_EQ(book.At(s, "D10").Borders, "thin,thin,thin,thin");
    ASSERT_EQ(server_.told.size(), 1u);
    EXPECT_EQ(server_.told[0], "Tabulka uložena do sešitu " + server_.opened[0]);
    EXPECT_EQ(server_.titles, (std::vector<std::string>{"Denní tabulka Činný - Činný 2024-03-05"}));
}

TEST_F(SheetExport, AnotherChannelsDaySendsNoTwoDecimalFormatAndFillsColumnsTwoToSeven) {
    Add(2024, 3, 5, 6, 15, 0, {0, 50, 0, 0});
    Save();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 1);
    form.Btn_ExportXLS->click();
    for (const std::string& line : server_.stream)
        EXPECT_EQ(line.find("0,00\""), std::string::npos) << line;
    const XlsxBook book = LastBook();
    EXPECT_EQ(book.Row("List1", 11, 'B', 7),
              (std::vector<std::string>{" 06 - 07 ", "50.0", "x", "x", "x", "12.5", ""}));
}

TEST_F(SheetExport, TheMonthTableGoesOverAsKeptWithItsCosPhiOfTwoDecimals) {
    WriteApril();
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    form.Btn_ExportXLS->click();
    EXPECT_EQ(notifier_.Count(), 0u);
    ExpectSameAsKept(Lines(server_.stream), "mesicni.macros");
    KeepWorkbook("mesicni.xlsx");

    const XlsxBook book = LastBook();
    const std::string s = "List1";
    EXPECT_EQ(book.Row(s, 5, 'B', 11), (std::vector<std::string>{"01.04. po", "25.0", "0.0", "0.0", "0.0", "0.0",
                                                                  "0.0", "25.0", "0.8", "100.0", "10:15"}));
    EXPECT_EQ(book.At(s, "J5").Format, "##,##0.00");  // cos phi as the screen shows it
    EXPECT_EQ(book.At(s, "J35").Format, "##,##0.00");
    EXPECT_EQ(book.At(s, "L5").Format, "@");
    // 30 days: rows 5-34, the summary 35-38, the closing rows 40 and 41.
    EXPECT_EQ(book.At(s, "B35").Value, "Celkem:");
    EXPECT_EQ(book.At(s, "B38").Value, "1/4h.max:");
    EXPECT_EQ(book.At(s, "G38").Value, "01.04.2024");
    EXPECT_EQ(book.At(s, "I38").Format, "##,##0.0");  // the month's maximum as the days above it
    EXPECT_FALSE(book.Has(s, "B39"));  // the cos phi row stays out
    EXPECT_EQ(book.At(s, "B40").Value, "Exportováno:");
    EXPECT_EQ(book.At(s, "B41").Value, "Den začíná:");
    EXPECT_EQ(server_.titles, (std::vector<std::string>{"Měsíční tabulka Činný - Činný 2024-04"}));
}

TEST_F(SheetExport, TheYearTableWithLossesKeepsItsMaximumRow) {
    WriteYear();
    TRocniTabulkaForm& form = YearWindow();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    form.Btn_ExportXLS->click();
    EXPECT_EQ(notifier_.Count(), 0u);
    ExpectSameAsKept(Lines(server_.stream), "rocni.macros");
    KeepWorkbook("rocni.xlsx");

    const XlsxBook book = LastBook();
    const std::string s = "List1";
    EXPECT_EQ(book.At(s, "B3").Value, "Roční výpis - Činný - Činný  01.11.2023");
    EXPECT_EQ(book.At(s, "L3").Value, "1/4hod. maximum");
    EXPECT_EQ(book.Row(s, 5, 'I', 6), (std::vector<std::string>{"1000.0", "1025.0", "0.8", "4000.0", "10:15", "15.11."}));
    EXPECT_EQ(book.At(s, "K5").Format, "##,##0.00");
    EXPECT_EQ(book.At(s, "N5").Format, "@");
    EXPECT_EQ(book.At(s, "B18").Value, "Celk. TRF:");
    EXPECT_EQ(book.At(s, "B21").Value, "1/4h.max:");
    EXPECT_EQ(book.At(s, "I21").Value, "4000.0");
    EXPECT_EQ(book.At(s, "I21").Format, "##,##0.0");
    EXPECT_EQ(server_.titles, (std::vector<std::string>{"Roční tabulka Činný - Činný 2023-11"}));
    EXPECT_EQ(book.At(s, "B23").Value, "Exportováno:");
}

TEST_F(SheetExport, CaptionsStayTextsWhenThePointSeparatesDecimals) {
    FormatSettings().DecimalSeparator = '.';
    TDenniTabulkaForm& form = TuesdayShown();
    form.Btn_ExportXLS->click();
    FormatSettings().DecimalSeparator = ',';
    const XlsxBook book = LastBook();
    for (const char* ref : {"C4", "D4", "E4", "F4"}) {
        EXPECT_FALSE(book.At("List1", ref).Number) << ref;
        EXPECT_EQ(book.At("List1", ref).Format, "@") << ref;
    }
    EXPECT_EQ(book.Row("List1", 4, 'C', 4), (std::vector<std::string>{"1.", "2.", "3.", "4."}));
    EXPECT_TRUE(book.At("List1", "C15").Number);  // the values are numbers still
    EXPECT_EQ(book.At("List1", "C15").Value, "100.0");
}

// How many digits wide a text is in a sans-serif face of that size, measured by the
// system's fonts (the widths of a sheet's columns count in digits of its font).
double MeasuredDigits(const std::string& text, int points, bool bold) {
    QFont font("Liberation Sans");
    font.setPointSize(points > 0 ? points : 11);
    font.setBold(bold);
    QFont digitFont("Liberation Sans");
    digitFont.setPointSize(11);
    return QFontMetricsF(font).horizontalAdvance(QString::fromStdString(text)) /
           QFontMetricsF(digitFont).horizontalAdvance('0');
}

TEST_F(SheetExport, EveryColumnIsWideEnoughForItsCaptionsAndValues) {
    WriteDay();
    WriteApril();
    WriteYear();
    const std::function<void()> exports[] = {
        [this] {
            Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
            DayWindow().Btn_ExportXLS->click();
        },
        [this] {
            Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
            MonthWindow().Btn_ExportXLS->click();
        },
        [this] {
            Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
            YearWindow().Btn_ExportXLS->click();
        },
    };
    for (const auto& run : exports) {
        run();
        ASSERT_FALSE(server_.opened.empty());
        const XlsxBook book = ReadXlsx(server_.opened.back());
        const TWorksheet& sheet = server_.Workbook().Sheets.at(static_cast<size_t>(server_.Workbook().Active));
        const std::map<std::string, double>& widths = book.Widths.at(book.Active);
        int lastColumn = 0;
        for (const auto& [at, cell] : sheet.Cells)
            if (cell.Kind != TSheetCell::ckEmpty)
                lastColumn = std::max(lastColumn, at.second);
        for (const auto& [at, cell] : sheet.Cells) {
            if (at.first < 4 || cell.Kind == TSheetCell::ckEmpty)
                continue;  // the title and the headings run on over the empty cells beside them
            const TSheetCell* next = sheet.Find(at.first, at.second + 1);
            if (cell.Kind == TSheetCell::ckText && at.second < lastColumn &&
                (next == nullptr || next->Kind == TSheetCell::ckEmpty))
                continue;  // so does a note at the end of a row, but in the last column
            const std::string column(1, static_cast<char>('A' + at.second - 1));
            const double needed = MeasuredDigits(ShownText(cell), cell.Style.FontSize, cell.Style.Bold);
            ASSERT_TRUE(widths.count(column)) << book.Active << " " << column;
            EXPECT_GE(widths.at(column), needed) << book.Active << " " << column << at.first << " \"" << cell.Text
                                                 << "\"";
        }
    }
}

// A printed sheet takes the width of an A4 page; the quarter hours of the day, and
// the shifts and tariffs of the month and the year, stand in columns of one width.
TEST_F(SheetExport, APrintedSheetFitsAnA4PageWithColumnsOfAKindAlike) {
    WriteDay();
    WriteApril();
    WriteYear();
    struct Case {
        std::function<void()> run;
        std::vector<std::string> alike;
        // The day and the month fit a portrait page at 70 % or more, the year lies across.
        const char* orientation;
    };
    const Case cases[] = {
        {[this] {
             Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
             DayWindow().Btn_ExportXLS->click();
         },
         {"C", "D", "E", "F"},
         "portrait"},
        {[this] {
             Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
             MonthWindow().Btn_ExportXLS->click();
         },
         {"C", "D", "E", "F", "G", "H"},
         "portrait"},
        {[this] {
             Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
             YearWindow().Btn_ExportXLS->click();
         },
         {"C", "D", "E", "F", "G", "H"},
         "landscape"},
    };
    for (const Case& c : cases) {
        c.run();
        ASSERT_FALSE(server_.opened.empty());
        const XlsxBook book = ReadXlsx(server_.opened.back());
        const XlsxPage& page = book.Pages.at(book.Active);
        EXPECT_EQ(page.Paper, "9") << book.Active;
        EXPECT_TRUE(page.FitToPage) << book.Active;
        EXPECT_EQ(page.PagesWide, "1") << book.Active;
        EXPECT_EQ(page.PagesTall, "0") << book.Active;
        EXPECT_EQ(page.Orientation, c.orientation) << book.Active;
        const std::map<std::string, double>& widths = book.Widths.at(book.Active);
        for (const std::string& column : c.alike) {
            ASSERT_TRUE(widths.count(column)) << book.Active << " " << column;
            EXPECT_EQ(widths.at(column), widths.at(c.alike.front())) << book.Active << " " << column;
        }
        // The label column and the totals keep widths of their own.
        EXPECT_NE(widths.at("B"), widths.at("C")) << book.Active;
    }
}

TEST_F(SheetExport, AWorkbookThatCannotBeSavedIsToldWithItsCause) {
    TDenniTabulkaForm& form = TuesdayShown();
    SmallDisk disk(16);
    struct Case {
        std::string file;
        std::string cause;
    };
    std::vector<Case> cases = {{dir_ / "Export/sesit.xlsx", "Export nelze vytvořit: Na místě složky je soubor"}};
    dir_.Write("Export", "a file where the folder should be");
    if (disk.Mounted()) {
        disk.Fill();
        cases.push_back({disk / "sesit.xlsx", "Na disku není volné místo"});
    }
    for (const Case& c : cases) {
        notifier_.Clear();
        server_.NewFileName = [&c](const std::string&) { return c.file; };
        form.Btn_ExportXLS->click();
        ASSERT_EQ(notifier_.Count(), 1u) << c.file;
        const LoggingNotifier::Entry message = notifier_.Messages()[0];
        EXPECT_EQ(message.Type, TMsgDlgType::mtError);
        EXPECT_EQ(message.Text.rfind("Chyba zápisu do souboru:" + c.file + ": ", 0), 0u) << message.Text;
        EXPECT_NE(message.Text.find(c.cause + "\nExport nebyl proveden."), std::string::npos) << message.Text;
        EXPECT_FALSE(std::filesystem::exists(c.file));
    }
    if (disk.Mounted()) {
        EXPECT_EQ(disk.Dir().Names(), (std::vector<std::string>{"filler"}));  // nothing half written
    }
    EXPECT_TRUE(server_.opened.empty());
}

TEST_F(SheetExport, AWorkbookNoProgramOpensIsToldWithItsFileName) {
    TDenniTabulkaForm& form = TuesdayShown();
    server_.opens = false;
    form.Btn_ExportXLS->click();
    ASSERT_EQ(server_.opened.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(server_.opened[0]));
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_NE(notifier_.Messages()[0].Text.find("\n" + server_.opened[0] + "\n"), std::string::npos)
        << notifier_.Messages()[0].Text;
}

TEST_F(SheetExport, EachExportAddsASheetInFrontOfTheOthers) {
    WriteApril();
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    form.Btn_ExportXLS->click();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 5, 1), 0);
    form.Btn_ExportXLS->click();
    ASSERT_EQ(server_.opened.size(), 2u);
    EXPECT_NE(server_.opened[0], server_.opened[1]);
    const XlsxBook book = ReadXlsx(server_.opened[1]);
    EXPECT_EQ(book.Sheets, (std::vector<std::string>{"List2", "List1"}));
    EXPECT_EQ(book.Active, "List2");
    EXPECT_EQ(book.At("List2", "B5").Value, "01.05. st");
    EXPECT_EQ(book.At("List1", "B5").Value, "01.04. po");
}

TEST_F(SheetExport, ATariffNameWithAQuoteGoesOverWhole) {
    WriteDay();
    TariffNames[1] = "Tarif \"VT\"";
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    form.Btn_ExportXLS->click();
    TariffNames[1] = "Tarif 1";
    EXPECT_EQ(notifier_.Count(), 0u);
    EXPECT_EQ(std::count(server_.stream.begin(), server_.stream.end(),
                         "Exec [FORMULA(\"Tarif \"\"VT\"\"\",\"R33C6\")]"),
              1);
    EXPECT_EQ(LastBook().At("List1", "F33").Value, "Tarif \"VT\"");
}

TEST_F(SheetExport, WithoutASpreadsheetProgramTheMessageComesOnceAndNoSheetIsMade) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    RegisterDdeServer("Excel", nullptr);
    form.Btn_ExportXLS->click();
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "Nepodařilo se provést propojení s programem Excel..");
    EXPECT_EQ(notifier_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(server_.stream.empty());
    EXPECT_TRUE(server_.opened.empty());
}

// Refuses one command for good, as a program that is busy with something else.
class RefusingServer : public RecordingSheetServer {
public:
    using RecordingSheetServer::RecordingSheetServer;
    bool Execute(const std::string& topic, const std::string& command) override {
        if (command.find(refused) != std::string::npos) {
            stream.push_back("Refused " + command);
            return false;
        }
        return RecordingSheetServer::Execute(topic, command);
    }
    std::string refused = "\"R10C2\"";
};

TEST_F(SheetExport, ACommandRefusedTwiceEndsTheExportWithTheMessageOnceAndKeepsTheSheet) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    TempDir folder;
    RefusingServer refusing(folder.Path());
    form.Btn_ExportXLS->click();
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "Nepodařilo se provést propojení s programem Excel..");
    // Refused, the link waits for "Ready" and tries once more, then gives up.
    const std::vector<std::string>& s = refusing.stream;
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[s.size() - 3].rfind("Refused [FORMULA(\" 05 - 06 \",\"R10C2\")]", 0), 0u);
    EXPECT_EQ(s[s.size() - 2], "Request Status");
    EXPECT_EQ(s[s.size() - 1].rfind("Refused ", 0), 0u);
    EXPECT_TRUE(refusing.opened.empty());
    ASSERT_EQ(refusing.Workbook().Sheets.size(), 1u);
    EXPECT_EQ(refusing.Workbook().Sheets[0].Find(9, 3)->Text, "x");  // written before the refusal
}

// Runs `action` once, when the n-th command arrives: what the window system
// delivers while the link lets its events through.
class InterruptingServer : public RecordingSheetServer {
public:
    using RecordingSheetServer::RecordingSheetServer;
    bool Execute(const std::string& topic, const std::string& command) override {
        if (++commands_ == 20 && action)
            action();
        return RecordingSheetServer::Execute(topic, command);
    }
    std::function<void()> action;

private:
    int commands_ = 0;
};

TEST_F(SheetExport, AClickWhileAnExportRunsStartsNoSecondOneInTheMiddleOfIt) {
    WriteDay();
    WriteApril();
    TDenniTabulkaForm& day = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    TMesicniTabulkaForm& month = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    for (QPushButton* second : {day.Btn_ExportXLS, month.Btn_ExportXLS}) {
        TempDir folder;
        InterruptingServer server(folder.Path());
        bool dayButtonsTakeInput = true;
        server.action = [&] {
            dayButtonsTakeInput = day.Btn_Predchozi->isEnabled();  // through the window
            second->click();
            second->window()->setEnabled(true);
            second->click();  // a click that the window let through
        };
        day.Btn_ExportXLS->click();
        EXPECT_FALSE(dayButtonsTakeInput) << "no other day is chosen half way through";
        EXPECT_TRUE(day.Btn_Predchozi->isEnabled());
        EXPECT_EQ(std::count(server.stream.begin(), server.stream.end(), "Exec [WorkBook.Insert(1)]"), 1);
        ASSERT_EQ(server.Workbook().Sheets.size(), 1u);
        EXPECT_EQ(server.Workbook().Sheets[0].Find(15, 2)->Text, " 10 - 11 ") << "the day's table whole";
        EXPECT_EQ(server.opened.size(), 1u);
        EXPECT_EQ(notifier_.Count(), 0u);
    }
    // Once it has ended, the button works again.
    TempDir folder;
    RecordingSheetServer after(folder.Path());
    month.Btn_ExportXLS->click();
    EXPECT_EQ(after.opened.size(), 1u);
}

} // namespace
} // namespace zeko::test
