#include "dialogs/zaznamyservis.h"

#include "core/ProgramGlobals.h"
#include "core/RecordSamples.h"
#include "dialogs/info.h"
#include "grids/HgGrid.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/UserDialogs.h"
#include "platform/qt/RadioGroup.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QCloseEvent>
#include <QLabel>
#include <QRadioButton>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zeko;

namespace {

// The session's formats for the length of a test: times as H:mm:ss, "." between
// the decimals.
struct ScopedFormats {
    ScopedFormats() {
        FormatSettings().LongTimeFormat = "h:nn:ss";
        FormatSettings().TimeSeparator = ':';
        FormatSettings().DecimalSeparator = '.';
    }
    ~ScopedFormats() { FormatSettings() = saved; }
    TFormatSettings saved = FormatSettings();
};

TRegulatorRecord ExampleRecord() {
    TRegulatorRecord r = test::MakeRecord(21, 3, 5, 7, 15, 0, 123, 528);
    r.Status = 900;
    r.Constants = {1.0f, 0.5f, 0.0f, 4.0f};
    r.Counts = {123, 7, 9, 99};
    return r;
}

// The first characters of a text, as many as the prefix has bytes.
std::string Start(const std::string& text, const std::string& prefix) { return text.substr(0, prefix.size()); }
#define EXPECT_STARTS(text, prefix) EXPECT_EQ(Start(text, prefix), prefix)

std::string LineOf(const TRegulatorRecord& r) {
    TDateTime date;
    return RecordToText(r, date);
}

} // namespace

TEST(RecordToText, TheLineOfARecordPieceByPiece) {
    ScopedFormats formats;
    TDateTime date = -1;
    EXPECT_EQ(RecordToText(ExampleRecord(), date),
              "00528  05.03.2021  07:15:00  15:00  "
              "Cinny :Imp-00123  KonstCinna :001.00000  00492.00kWh  "
              "Jalovy:Imp-00007  KonstJalova:000.50000  00056.00kWh  "
              "JalDod:Imp-00009  KonstJalDod:000.00000  00000.00kWh");
    EXPECT_EQ(ToSeconds(date), ToSeconds(EncodeDate(2021, 3, 5) + EncodeTime(7, 15, 0)));
    // The decimal separator and a long time format that is long enough already.
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().LongTimeFormat = "hh:nn:ss";
    TRegulatorRecord r = ExampleRecord();
    r.Index = 75324;
    r.Hour = 17;
    EXPECT_STARTS(LineOf(r), "75324  05.03.2021  17:15:00  15:00  Cinny :Imp-00123  KonstCinna :001,00000  ");
}

// Damaged stamps show what is wrong instead of failing; the line's date keeps what
// is valid of the stamp.
TEST(RecordToText, InvalidStampsAreNamedAndDateOnlyWhatIsValid) {
    ScopedFormats formats;
    const struct {
        const char* what;
        int second, minute, hour, day, month, year;
        const char* dateText;
        const char* timeText;
        TDateTime date;
    } cases[] = {
        {"hour 24", 0, 15, 24, 5, 3, 21, "05.03.2021", "Neplatný čas", EncodeDate(2021, 3, 5)},
        {"minute 60", 0, 60, 7, 5, 3, 21, "05.03.2021", "Neplatný čas", EncodeDate(2021, 3, 5)},
        {"second 60", 60, 15, 7, 5, 3, 21, "05.03.2021", "Neplatný čas", EncodeDate(2021, 3, 5)},
        {"day 0", 0, 15, 7, 0, 3, 21, "Neplatné datum", "07:15:00", EncodeTime(7, 15, 0)},
        {"day 32", 0, 15, 7, 32, 3, 21, "Neplatné datum", "07:15:00", EncodeTime(7, 15, 0)},
        {"month 13", 0, 15, 7, 5, 13, 21, "Neplatné datum", "07:15:00", EncodeTime(7, 15, 0)},
        {"year 100", 0, 15, 7, 5, 3, 100, "Neplatné datum", "07:15:00", EncodeTime(7, 15, 0)},
        {"31 February", 0, 15, 7, 31, 2, 21, "31.02.2021", "07:15:00", EncodeTime(7, 15, 0)},
        {"erased", 255, 255, 255, 255, 255, 255, "Neplatné datum", "Neplatný čas", 0},
        {"year 99 is 1999", 0, 0, 0, 1, 1, 99, "01.01.1999", "00:00:00", EncodeDate(1999, 1, 1)},
    };
    for (const auto& c : cases) {
        TRegulatorRecord r = ExampleRecord();
        r.Second = static_cast<uint8_t>(c.second);
        r.Minute = static_cast<uint8_t>(c.minute);
        r.Hour = static_cast<uint8_t>(c.hour);
        r.Day = static_cast<uint8_t>(c.day);
        r.Month = static_cast<uint8_t>(c.month);
        r.Year = static_cast<uint8_t>(c.year);
        TDateTime date = -1;
        const std::string line = RecordToText(r, date);
        EXPECT_STARTS(line, std::string("00528  ") + c.dateText + "  " + c.timeText + "  ") << c.what;
        EXPECT_EQ(ToSeconds(date), ToSeconds(c.date)) << c.what;
    }
}

TEST(RecordToText, ConstantsThatAreNoNumberAreShownAsTheyAre) {
    ScopedFormats formats;
    TRegulatorRecord r = ExampleRecord();
    r.Constants = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f, 0};
    r.Status = 0xFFFF;
    std::string line;
    ASSERT_NO_THROW(line = LineOf(r));
    EXPECT_NE(line.find("  12:15  "), std::string::npos) << line;  // 65535 s is 18:12:15
    EXPECT_NE(line.find("Cinny :Imp-00123  KonstCinna :"), std::string::npos) << line;
    EXPECT_NE(line.find("JalDod:Imp-00009"), std::string::npos) << line;
}

// ---------------------------------------------------------------- the window

namespace {

// Scripted answers, and the requests of the open dialogs.
struct RecordingDialogs : ScriptedDialogs {
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override {
        requests.push_back(request);
        return ScriptedDialogs::OpenFileDialog(request, fileName);
    }
    std::vector<TFileDialogRequest> requests;
};

struct Viewer : ::testing::Test {
    Viewer() {
        test::QtApp();
        SetDialogs(&dialogs);
        InfoForm = new TInfoForm;
        form = std::make_unique<TZaznamyServisForm>();
        form->resize(900, 500);
    }
    ~Viewer() override {
        form.reset();
        delete InfoForm;
        InfoForm = nullptr;
        SetDialogs(nullptr);
    }
    // Writes a month file of the records; answers its path.
    std::string MonthFile(const std::string& name, const TRecordList& records) {
        dir.Write(name, test::BytesOf(records));
        return dir / name;
    }
    void Open(const std::string& path) {
        dialogs.AnswerFile(path);
        form->Otevri->click();
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (int r = 0; r < form->HyperGrid1->RowCount(); ++r)
            texts.push_back(form->HyperGrid1->Cells(0, r));
        return texts;
    }
    std::vector<int> Order() const {
        std::vector<int> order;
        for (const TRadek& line : form->Lines())
            order.push_back(line.Index);
        return order;
    }

    ScopedFormats formats;
    test::TempDir dir{true};
    RecordingDialogs dialogs;
    ScopedLoggingNotifier notifier;
    std::unique_ptr<TZaznamyServisForm> form;
};

} // namespace

TEST_F(Viewer, ExistsOnceWithItsFlagAndStartsInTheProgramFolder) {
    EXPECT_TRUE(ServiceViewerOpen);
    EXPECT_EQ(form->windowTitle().toStdString(), "Záznamy ze souboru");
    EXPECT_EQ(form->LastFolder(), ProgramDir());
    EXPECT_EQ(form->HyperGrid1->RowCount(), 1);
    EXPECT_EQ(form->HyperGrid1->FixedRows(), 0);
    EXPECT_EQ(form->HyperGrid1->GridLineWidth(), 0);
    EXPECT_EQ(form->Rgp_Razeni->ItemIndex(), 0);
    form.reset();
    EXPECT_FALSE(ServiceViewerOpen);
}

TEST_F(Viewer, CancellingTheOpenDialogChangesNothing) {
    form->Otevri->click();  // no answer: cancelled
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0], "OpenDialog  -> cancel");
    EXPECT_TRUE(form->FileName().empty());
    EXPECT_FALSE(InfoForm->isVisible());
}

TEST_F(Viewer, ListsAFileInFileOrderAndByDateWithInvalidStampsFirst) {
    TRecordList records = {test::MakeRecord(24, 3, 5, 12, 0, 0, 10, 100), test::MakeRecord(24, 3, 1, 8, 0, 0, 10, 101),
                           test::MakeRecord(24, 3, 5, 24, 0, 0, 10, 102),  // hour 24: date alone
                           test::MakeRecord(24, 3, 3, 8, 0, 0, 10, 103)};
    records[1].Day = 0;  // no date: its time alone
    const std::string path = MonthFile("ROK2024/Mesic03.zek", records);
    Open(path);
    EXPECT_EQ(form->FileName(), path);
    EXPECT_EQ(form->LastFolder(), dir / "ROK2024");
    ASSERT_EQ(form->Lines().size(), 4u);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3}));
    const std::vector<std::string> shown = Shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_STARTS(shown[0], std::string("00100  05.03.2024  12:00:00  04:18  "));
    EXPECT_STARTS(shown[2], std::string("00102  05.03.2024  Neplatný čas  04:18  "));
    EXPECT_STARTS(shown[1], std::string("00101  Neplatné datum  08:00:00  04:18  "));
    // The open dialog: the month files' pattern, first in the program folder, then
    // in the folder of the file opened last.
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].Filter, "Datové soubory ZEKO (*.zek)|m*zek|");
    EXPECT_EQ(dialogs.requests[0].InitialDir, ProgramDir());
    EXPECT_EQ(dialogs.requests[0].FileName, "");
    form->Otevri->click();
    EXPECT_EQ(dialogs.requests[1].InitialDir, dir / "ROK2024");
    EXPECT_EQ(form->Lines().size(), 4u);  // cancelled: the lines stay

    form->Rgp_Razeni->Button(1)->click();
    EXPECT_EQ(form->Rgp_Razeni->ItemIndex(), 1);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_STARTS(Shown()[0], std::string("00101  "));
    form->Rgp_Razeni->Button(0)->click();
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Shown(), shown);

    // The column is as wide as the widest line and a margin.
    TCanvas measure;
    measure.SetFont(form->HyperGrid1->Font());
    int widest = 0;
    for (const std::string& text : shown)
        widest = std::max(widest, measure.TextWidth(text));
    EXPECT_EQ(form->HyperGrid1->ColWidths(0), widest + 15);
    EXPECT_FALSE(InfoForm->isVisible());
    EXPECT_FALSE(InfoForm->Btn_Prerusit->isVisible());
    EXPECT_EQ(InfoForm->height(), TInfoForm::ClientHeight);
}

TEST_F(Viewer, ASecondFileReplacesTheLinesAndTheOrderReturnsToTheFiles) {
    Open(MonthFile("ROK2024/Mesic03.zek", {test::MakeRecord(24, 3, 5, 12, 0, 0), test::MakeRecord(24, 3, 1, 8, 0, 0)}));
    form->Rgp_Razeni->Button(1)->click();
    Open(MonthFile("ROK2024/MESIC04.ZEK", {test::MakeRecord(24, 4, 9, 9, 0, 0, 10, 7)}));
    EXPECT_EQ(form->Rgp_Razeni->ItemIndex(), 0);
    ASSERT_EQ(form->Lines().size(), 1u);
    EXPECT_EQ(Shown().size(), 1u);
    EXPECT_STARTS(Shown()[0], std::string("00007  09.04.2024  "));
    // A file that does not exist lists nothing and says nothing; the grid keeps no
    // line of the file before.
    Open(dir / "ROK2024/Mesic05.zek");
    EXPECT_TRUE(form->Lines().empty());
    EXPECT_EQ(Shown(), std::vector<std::string>{""});
    EXPECT_EQ(form->HyperGrid1->ColWidths(0), 0);
    EXPECT_EQ(notifier.Count(), 0u);
    // Sorting no lines does nothing.
    form->Rgp_Razeni->Button(1)->click();
    EXPECT_EQ(Shown(), std::vector<std::string>{""});
}

TEST_F(Viewer, AFileThatCannotBeReadIsReported) {
    Open(MonthFile("ROK2024/Mesic03.zek", {test::MakeRecord(24, 3, 5, 12, 0, 0)}));
    dir.WriteUnreadable("ROK2024/Mesic04.zek");
    Open(dir / "ROK2024/Mesic04.zek");
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(form->Lines().empty());
    EXPECT_EQ(Shown(), std::vector<std::string>{""});
    EXPECT_FALSE(InfoForm->isVisible());
    EXPECT_TRUE(form->Otevri->isEnabled());
}

// "Přerušit" after 10 of 1000 records keeps the 10 lines read, in file order; the
// window cannot be closed while it loads.
TEST_F(Viewer, AbortingKeepsTheLinesReadSoFar) {
    TRecordList records;
    for (int i = 0; i < 1000; ++i)
        records.push_back(test::MakeRecord(24, 3, 1 + i / 96, i % 96 / 4, i % 4 * 15, 0, 10, static_cast<uint32_t>(999 - i)));
    const std::string path = MonthFile("ROK2024/Mesic03.zek", records);
    int maximum = 0;
    bool closed = true;
    QObject::connect(InfoForm->ProgressBar, &QProgressBar::valueChanged, InfoForm, [&](int value) {
        if (value != 10)
            return;
        maximum = InfoForm->ProgressBar->maximum();
        EXPECT_TRUE(InfoForm->isVisible());
        EXPECT_TRUE(InfoForm->Btn_Prerusit->isVisible());
        EXPECT_EQ(InfoForm->Label1->text().toStdString(), "Načítají se záznamy...");
        closed = form->close();
        EXPECT_FALSE(form->Otevri->isEnabled());
        InfoForm->Btn_Prerusit->click();
    });
    Open(path);
    EXPECT_EQ(maximum, 2000);
    EXPECT_FALSE(closed);
    ASSERT_EQ(form->Lines().size(), 10u);
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Shown().size(), 10u);
    EXPECT_STARTS(Shown()[9], std::string("00990  "));
    EXPECT_FALSE(InfoForm->isVisible());
    EXPECT_EQ(InfoForm->height(), TInfoForm::ClientHeight);
    EXPECT_TRUE(form->close());
}
