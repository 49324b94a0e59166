// The text exports ("T&XT") of the day, month and year tables: whole files byte
// for byte against files kept with the tests (Windows-1250, CR LF, tabs), the save
// dialog, the start of the period in the closing line, and a file that cannot be
// written.
#include "ExportFixture.h"

#include "platform/Cp1250.h"
#include "support/SmallDisk.h"

#include <sys/stat.h>

#include <algorithm>

namespace zeko::test {
namespace {

class TextExport : public ExportTest {
protected:
    // Chooses `name` in the test's folder and presses the window's button.
    std::string Export(TTableForm& form, const std::string& name = "export.txt") {
        dialogs_.AnswerFile(dir_ / name);
        form.Btn_ExportTXT->click();
        return FileBytes(dir_ / name);
    }
    static std::vector<std::string> CrLfLines(const std::string& bytes) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(Cp1250ToUtf8(bytes.substr(start, end - start)));
        return lines;
    }
    // The tab-separated fields of a line.
    static std::vector<std::string> Fields(const std::string& line) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        return fields;
    }
};

TEST_F(TextExport, TheDayTableOfTheOwnMeasurementIsWrittenAsKept) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    ExpectSameAsKept(Export(form), "denni.txt");

    // The save dialog as the program has always offered it, asking before it
    // rewrites a file; no default extension for the day.
    EXPECT_EQ(form.SaveDialog1.Filter, "Textové soubory (*.txt)|*.TXT|Všechny soubory (*.*)|*.*");
    EXPECT_EQ(form.SaveDialog1.FileName, "Export.txt");
    EXPECT_EQ(form.SaveDialog1.InitialDir, ProgramDir());
    EXPECT_EQ(form.SaveDialog1.DefaultExt, "");
    EXPECT_TRUE(form.SaveDialog1.OverwritePrompt);
    EXPECT_EQ(notifier_.Count(), 0u);
}

TEST_F(TextExport, EveryDayHeadingStandsOverItsOwnColumnAndTheShiftCaptionsOverTheirData) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    const std::vector<std::string> lines = CrLfLines(Export(form));
    ASSERT_GE(lines.size(), 36u);
    const std::vector<std::string> heading = Fields(lines[1]);
    const std::vector<std::string> hour = Fields(lines[2]);
    ASSERT_EQ(heading.size(), 10u);
    EXPECT_EQ(heading[6], "cos. fí");  // over the hour's cos phi, not a hidden column's caption
    EXPECT_EQ(hour[6], "1,00");
    EXPECT_EQ(heading[5], "Celkem [kWh]:");
    EXPECT_EQ(heading[7], "");
    const std::vector<std::string> captions = Fields(lines[30]);
    const std::vector<std::string> sums = Fields(lines[31]);
    EXPECT_EQ(captions[1], "Směna 1");
    EXPECT_EQ(sums[0], "Součty [kWh]:");
    EXPECT_EQ(captions[4], "Tarif 1");
    EXPECT_EQ(sums[4], "6,0");
    EXPECT_EQ(captions[5], "Tarif 2");
    EXPECT_EQ(sums[5], "100,0");
    EXPECT_EQ(Fields(lines[34])[4], "06:00-10:00");  // the first band of tariff 1 under its caption
    EXPECT_EQ(Fields(lines[35])[4], "12:00-14:00");
}

TEST_F(TextExport, AnotherChannelsDayHasSixFilledFieldsAndFourEmptyOnes) {
    SetChannelKey(2, "PocatekDne_v", "6");
    Add(2024, 3, 5, 6, 15, 0, {0, 50, 0, 0});
    Save();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 1);
    const std::vector<std::string> lines = CrLfLines(Export(form));
    EXPECT_EQ(lines[1], "Čtvrthodina/Hodina\t1.\t2.\t3.\t4.\tCelkem [kVArh]:\t\t\t\t");
    EXPECT_EQ(lines[2], "06 - 07\t50,0\tx\tx\tx\t12,5\t\t\t\t\t");
    // A day that starts at six starts at six o'clock.
    EXPECT_EQ(lines.back(), "Den začíná:\t05.03.2024 06:00:00\t\t\t\tVerze softwaru PC: 0.90beta14");
}

TEST_F(TextExport, TheMonthTableIsWrittenAsKept) {
    WriteApril();
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    ExpectSameAsKept(Export(form), "mesicni.txt");
    EXPECT_EQ(form.SaveDialog1.DefaultExt, "txt");
    EXPECT_TRUE(form.SaveDialog1.OverwritePrompt);
}

TEST_F(TextExport, TheYearTableWithLossesIsWrittenAsKept) {
    WriteYear();
    TRocniTabulkaForm& form = YearWindow();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    const std::string bytes = Export(form);
    ExpectSameAsKept(bytes, "rocni.txt");
    // The losses' heading over the losses, and no heading broken over two lines.
    const std::vector<std::string> lines = CrLfLines(bytes);
    EXPECT_EQ(Fields(lines[1])[8], "TRF [kWh]");
    EXPECT_EQ(Fields(lines[2])[8], "1025,0");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
}

TEST_F(TextExport, TheClosingLineStartsThePeriodAtItsDayStartHour) {
    struct Case {
        int dayStart;
        const char* expected;
    };
    // An hour outside 0..23 is taken into the day, as the evaluation takes it,
    // instead of failing the export in the time arithmetic.
    TMesicniTabulkaForm& form = MonthWindow();
    form.FirstDay = Date(2024, 4, 1);
    for (const Case& c : {Case{0, "Den začíná:\t01.04.2024\t"}, Case{6, "Den začíná:\t01.04.2024 06:00:00\t"},
                          Case{30, "Den začíná:\t01.04.2024 06:00:00\t"},
                          Case{-2, "Den začíná:\t01.04.2024 22:00:00\t"}}) {
        form.DayStartHour = c.dayStart;
        const std::vector<std::string> lines =
            CrLfLines(Export(form, "start" + std::to_string(c.dayStart) + ".txt"));
        ASSERT_FALSE(lines.empty()) << c.dayStart;
        EXPECT_EQ(lines.back().rfind(c.expected, 0), 0u) << c.dayStart << ": " << lines.back();
    }
    EXPECT_EQ(notifier_.Count(), 0u);
}

// The day's dialog asks before it rewrites a file, as the month's and year's do.
TEST_F(TextExport, ACancelledDialogWritesNothingAndAnExistingFileIsRewrittenOnlyOnYes) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    dialogs_.CancelFile();
    form.Btn_ExportTXT->click();
    EXPECT_FALSE(FileExists(dir_ / "Export.txt"));

    dir_.Write("stary.txt", "old");
    notifier_.QueueAnswer(TModalResult::mrNo);
    dialogs_.AnswerFile(dir_ / "stary.txt");
    dialogs_.CancelFile();  // the dialog stays open after No, and is then cancelled
    form.Btn_ExportTXT->click();
    EXPECT_EQ(FileBytes(dir_ / "stary.txt"), "old");
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "stary.txt již existuje.\nChcete jej nahradit?");
    EXPECT_EQ(notifier_.Messages()[0].Buttons, TMsgDlgButtons::mbYesNo);

    notifier_.QueueAnswer(TModalResult::mrYes);
    EXPECT_NE(Export(form, "stary.txt"), "old");
}

TEST_F(TextExport, AFileThatCannotBeWrittenIsReportedOnce) {
    WriteApril();
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    std::filesystem::create_directories(dir_ / "zamceno");
    ::chmod((dir_ / "zamceno").c_str(), 0555);
    const bool root = ::geteuid() == 0;  // root writes anywhere; a folder in place of the file fails for all
    const std::string target = root ? dir_ / "slozka" : dir_ / "zamceno/export.txt";
    if (root)
        std::filesystem::create_directories(target);
    dialogs_.AnswerFile(target);
    form.Btn_ExportTXT->click();
    ASSERT_EQ(notifier_.Count(), 1u);
    const LoggingNotifier::Entry message = notifier_.Messages()[0];
    EXPECT_EQ(message.Type, TMsgDlgType::mtError);
    EXPECT_EQ(message.Text.rfind("Chyba zápisu do souboru:" + target + ": ", 0), 0u) << message.Text;
    EXPECT_NE(message.Text.find("\nExport nebyl proveden."), std::string::npos);
}

TEST_F(TextExport, AnExportOntoAFullDiskLeavesTheEarlierFileAsItWas) {
    SmallDisk disk(16);
    if (!disk.Mounted())
        GTEST_SKIP() << "no tmpfs without the rights of root";
    WriteApril();
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    const std::string earlier = "\t\t\tMěsíční výpis - březen\r\n";
    disk.Dir().Write("mesic.txt", earlier);
    disk.Fill();
    notifier_.QueueAnswer(TModalResult::mrYes);  // rewrite it
    dialogs_.AnswerFile(disk / "mesic.txt");
    form.Btn_ExportTXT->click();
    ASSERT_EQ(notifier_.Count(), 2u);
    const LoggingNotifier::Entry message = notifier_.Messages()[1];
    EXPECT_EQ(message.Type, TMsgDlgType::mtError);
    EXPECT_EQ(message.Text.rfind("Chyba zápisu do souboru:" + disk / "mesic.txt" + ": ", 0), 0u) << message.Text;
    EXPECT_EQ(FileBytes(disk / "mesic.txt"), earlier);
    EXPECT_EQ(disk.Dir().Names(), (std::vector<std::string>{"filler", "mesic.txt"}));  // nothing half written beside it
}

} // namespace
} // namespace zeko::test
