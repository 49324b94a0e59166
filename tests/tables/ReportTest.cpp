// The printed reports of the day, month and year tables: the page model (bands in
// print order, texts, bold flags and positions) for each table and channel kind,
// the print command with its progress box, printer set-up and preview, and a PDF
// printed end to end whose text holds the titles and values.
#include "ExportFixture.h"

#include "dialogs/info.h"
#include "platform/report/ReportPreview.h"
#include "platform/report/ReportPrinting.h"
#include "support/PdfText.h"
#include "support/SmallDisk.h"
#include "tables/report.h"
#include "tables/report2.h"
#include "tables/report3.h"

#include <QLabel>
#include <QAction>
#include <QApplication>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QPrinter>

#include <algorithm>
#include <cstring>

namespace zeko::test {
namespace {

using Names = std::vector<std::string>;

// Margin of the reports: their band positions count from it.
constexpr int Left = 38;

class Report : public ExportTest {
protected:
    Report() { SetReportPrinting(&printing_); }
    ~Report() override { SetReportPrinting(nullptr); }

    // The one text item of that name on the first page.
    static const TPageItem& Item(const TReportDocument& doc, const std::string& name) {
        const std::vector<const TPageItem*> items = doc.Pages.at(0).Named(name);
        EXPECT_EQ(items.size(), 1u) << name;
        static const TPageItem none;
        return items.empty() ? none : *items[0];
    }
    // Each named item's text on the first page.
    static void ExpectTexts(const TReportDocument& doc, const std::vector<std::pair<std::string, std::string>>& texts) {
        for (const auto& [name, text] : texts)
            EXPECT_EQ(Item(doc, name).Text, text) << name;
    }
    // The texts a name printed, in order.
    static Names Texts(const TReportDocument& doc, const std::string& name) {
        Names texts;
        for (const TPageItem* item : doc.Named(name))
            texts.push_back(item->Text);
        return texts;
    }
    // The texts of the detail band printed `n`-th (from 0), left to right.
    static Names DetailTexts(const TReportDocument& doc, int n) {
        const TReportPage& page = doc.Pages.at(0);
        int seen = -1;
        for (size_t b = 0; b < page.Bands.size(); ++b) {
            if (page.Bands[b].Name != "DetailBand1" || ++seen != n)
                continue;
            Names texts;
            for (const TPageItem* item : page.ItemsOfBand(static_cast<int>(b)))
                if (item->Kind == TPageItemKind::Text)
                    texts.push_back(item->Text);
            return texts;
        }
        return {};
    }
    static Names Repeated(Names names, const std::string& name, int count) {
        names.insert(names.end(), static_cast<size_t>(count), name);
        return names;
    }
    static void KeepPage(const TReportDocument& doc, const std::string& name) {
        std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
        EXPECT_TRUE(ReportPageImage(doc, 0).save(QString::fromStdString(std::string(ZEKO_ARTEFACT_DIR) + "/" + name)));
    }

    ScriptedReportPrinting printing_;
};

TEST_F(Report, TheDayOfTheOwnMeasurementPrintsItsHoursCosPhiAndSchedules) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    TReportForm report(form);
    const TReportDocument& doc = report.QRCompositeReport1.Prepare();

    ASSERT_EQ(doc.Pages.size(), 1u);
    Names bands = Repeated({"TitleBand1", "QRBand1"}, "DetailBand1", 24);
    bands.insert(bands.end(), {"QRBand3", "ChildBand1", "ChildBand2", "ChildBand3", "ChildBand4", "ChildBand6",
                               "ChildBand8", "ChildBand9", "ChildBand10", "ChildBand7", "ChildBand11"});
    EXPECT_EQ(doc.BandNames(), bands);  // no transformer sums, no footer

    EXPECT_EQ(Item(doc, "Nadpis").Text, "Denní výpis - úterý  05.03.2024");
    EXPECT_TRUE(Item(doc, "Nadpis").Font.Bold);
    ExpectTexts(doc, {{"TypMereni", "Činný - Činný"},
                      {"QRSysData1", "10.03.2024"},
                      {"LVerze", "0.90beta14"}});
    EXPECT_EQ(Texts(doc, "CosfiNLabel"), Names{"Cos fí"});
    EXPECT_TRUE(Texts(doc, "SjednanoNLabel").empty());
    EXPECT_TRUE(doc.Named("C5NShape").empty());

    EXPECT_EQ(DetailTexts(doc, 10), (Names{"10 - 11", "100,0", "120,0", "80,0", "100,0", "100,0", "0,80"}));
    EXPECT_EQ(DetailTexts(doc, 0), (Names{"00 - 01", "5,0", "x", "x", "x", "1,3", "1,00"}));
    // An hour of repeated records prints its total in bold.
    const std::vector<const TPageItem*> totals = doc.Named("QRL_Detail5");
    ASSERT_EQ(totals.size(), 24u);
    EXPECT_TRUE(totals[13]->Font.Bold);
    EXPECT_FALSE(totals[10]->Font.Bold);
    EXPECT_TRUE(doc.Named("QRL_Detail0")[0]->Font.Bold);

    // The columns where the print command puts them for this channel.
    EXPECT_EQ(doc.Named("C1NShape")[0]->Bounds.Left, Left + 176);
    EXPECT_EQ(doc.Named("C4Shape")[5]->Bounds.Left, Left + 434);
    EXPECT_EQ(Item(doc, "C2NLabel").Bounds.Left, Left + 198);
    EXPECT_EQ(doc.Named("QRL_Detail3")[0]->Bounds.Left, Left + 289);
    EXPECT_EQ(Item(doc, "Suma").Text, "157,3");
    EXPECT_EQ(Item(doc, "Suma").Bounds.Left, Left + 450);
    ExpectTexts(doc, {{"PrumCosFiLabel", "0,95"},
                      {"CtvrtMax", "200,0"},
                      {"CasMaxima", "23:55"}});
    EXPECT_EQ(Item(doc, "CasMaxima").Bounds.Left, Left + 361);
    // Detail rows one under another, from the column header's bottom.
    EXPECT_EQ(doc.Named("QRL_Detail0")[1]->Bounds.Top - doc.Named("QRL_Detail0")[0]->Bounds.Top, 18);

    ExpectTexts(doc, {{"Sm1Sum", "106,0"},
                      {"T2Max", "120,0"},
                      {"T1Cas", "13:21"},
                      {"Qrl_T1CosFi", "1,00"},
                      {"Qrl_T2CosFi", "0,79"},
                      {"Qrl_T3CosFi", "x"},
                      {"Smena1Label", "Směna 1"},
                      {"Tarif2Label", "Tarif 2"},
                      {"CasS3", "22:00-06:00"},
                      {"CasT11", "06:00-10:00"},
                      {"CasT12", "12:00-14:00"},
                      {"CasT21", "10:00-12:00"},
                      {"CasT13", "-"},
                      {"Jednotka1", "[kWh]"},
                      {"Jednotka2", "[kW]"}});
    KeepPage(doc, "denni-sestava.png");

    // The preview the user prints from prints on the printer chosen before it, at
    // once: no second printer dialog.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir_ / "z-nahledu.pdf"));
    bool previewShown = false, otherDialog = false;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<TReportPreview*>(QApplication::activeModalWidget());
        previewShown = preview != nullptr;
        if (!preview)
            return;
        preview->Pages()->updatePreview();
        QApplication::processEvents();
        EXPECT_TRUE(preview->grab().save(QString::fromStdString(std::string(ZEKO_ARTEFACT_DIR) + "/nahled-tisku.png")));
        QTimer::singleShot(0, [&] { otherDialog = QApplication::activeModalWidget() != nullptr; });
        preview->findChild<QAction*>("NahledTiskuTisk")->trigger();
    });
    QtReportPrinting().Preview(doc, printer);
    QApplication::processEvents();
    EXPECT_TRUE(previewShown);
    EXPECT_FALSE(otherDialog) << "the print asked for a printer again";
    EXPECT_NE(PdfText(dir_ / "z-nahledu.pdf").find("Denní výpis - úterý 05.03.2024"), std::string::npos);
    EXPECT_EQ(notifier_.Count(), 0u);
}

TEST_F(Report, AnotherChannelsDayHasNoCosPhiAndAFrameUnderTheTimes) {
    Add(2024, 3, 5, 6, 15, 0, {0, 50, 0, 0});
    Save();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 1);
    TReportForm report(form);
    const TReportDocument& doc = report.QRCompositeReport1.Prepare();
    for (const char* absent : {"CosfiNLabel", "PrumCosFiLabel", "QRL_Detail8", "C7Shape", "Qrl_T1CosFi"})
        EXPECT_TRUE(doc.Named(absent).empty()) << absent;
    const Names bands = doc.BandNames();
    EXPECT_EQ(std::count(bands.begin(), bands.end(), "ChildBand9"), 0);
    EXPECT_EQ(Item(doc, "SjednanoNLabel").Text, "Sjednáno");
    EXPECT_EQ(Item(doc, "C1NLabel").Bounds.Left, Left + 117);
    EXPECT_EQ(Item(doc, "CelkemNLabel").Bounds.Left, Left + 501);
    EXPECT_EQ(doc.Named("QRL_Detail5")[0]->Bounds.Left, Left + 495);
    EXPECT_EQ(DetailTexts(doc, 6), (Names{"06 - 07", "50,0", "x", "x", "x", "12,5", "", ""}));
    EXPECT_EQ(Item(doc, "Jednotka1").Text, "[kVArh]");
    // The frame line along the bottom of the times' band.
    const std::vector<const TPageItem*> frame = doc.Named("ChildBand8");
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0]->Kind, TPageItemKind::Line);
    KeepPage(doc, "denni-sestava-jiny-vstup.png");
}

TEST_F(Report, TheMonthPrintsADetailPerDayTheSummaryAndBothKindsOfTariffBands) {
    WriteApril();
    AddTariffZones(Date(2024, 1, 1), {{0, 1, 1, 360, 600}, {1, 2, 3, 0, 480}});
    TMesicniTabulkaForm& form = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    TReportForm2 report(form, form.PeriodDays, form.FirstDay);
    const TReportDocument& doc = report.QRCompositeReport1.Prepare();

    ASSERT_EQ(doc.Pages.size(), 1u);
    Names bands = Repeated({"TitleBand1", "ChildBand9"}, "DetailBand1", 30);
    bands.insert(bands.end(), {"QRBand3", "ChildBand2", "ChildBand3", "ChildBand5", "ChildBand6", "ChildBand7",
                               "ChildBand10", "ChildBand11", "ChildBand12", "ChildBand4", "QRBand4"});
    EXPECT_EQ(doc.BandNames(), bands);
    EXPECT_EQ(doc.Pages[0].Bands.back().Top, 1123 - 38 - 20);  // the footer at the foot of the page

    ExpectTexts(doc, {{"Nadpis", "Měsíční výpis - 01.04.2024"},
                      {"QRLabel14", "Den:"},
                      {"Smena1Label", "S1"},
                      {"Tarif3Label", "T3"}});
    EXPECT_EQ(DetailTexts(doc, 1), (Names{"02.04. út", "25,0", "0,0", "0,0", "0,0", "0,0", "0,0", "25,0", "60,0",
                                          "10:30"}));
    EXPECT_EQ(DetailTexts(doc, 2), (Names{"03.04. st", "x", "x", "x", "x", "x", "x", "x", "x", "x"}));
    EXPECT_TRUE(doc.Named("QRL_Detail0")[0]->Font.Bold);
    EXPECT_TRUE(doc.Named("QRL_Detail7")[0]->Font.Bold);
    EXPECT_FALSE(doc.Named("QRL_Detail8")[0]->Font.Bold);
    ExpectTexts(doc, {{"Suma", "70,0"},
                      {"S1Suma", "70,0"},
                      {"PracSuma", "25,0"},
                      {"VikSuma", "45,0"},
                      {"S1Vikend", "45,0"},
                      {"DatCelkMax", "01.04.2024"},
                      {"CasCtvrtMax", "10:15"},
                      {"CtvrtMax", "100,0"},
                      {"Jednotka10", "[kWh]"},
                      {"Jednotka11", "[kW]"},
                      {"CasT11", "06:00-10:00"},
                      {"CasVT11", "-"},
                      {"CasVT23", "00:00-08:00"},
                      {"LZacDne", "00:00"}});
    EXPECT_TRUE(doc.Named("QRL_Detail10").empty());
    KeepPage(doc, "mesicni-sestava.png");
}

TEST_F(Report, TheYearPrintsMonthsWithTheDateOfTheirMaximumAndNoLossesLine) {
    WriteYear();
    TRocniTabulkaForm& form = YearWindow();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    ASSERT_TRUE(form.TrfShown);
    TReportForm3 report(form);
    const TReportDocument& doc = report.QRCompositeReport1.Prepare();
    const Names bands = doc.BandNames();
    EXPECT_EQ(std::count(bands.begin(), bands.end(), "DetailBand1"), 12);
    EXPECT_EQ(std::count(bands.begin(), bands.end(), "ChildBand1"), 0);
    ExpectTexts(doc, {{"Nadpis", "Roční výpis - 01.11.2023"},
                      {"QRLabel14", "Měsíc:"},
                      {"QRLabel6", "Celý měsíc"}});
    EXPECT_EQ(DetailTexts(doc, 0), (Names{"11. 2023", "1000,0", "0,0", "0,0", "0,0", "0,0", "0,0", "1000,0",
                                          "4000,0", "10:15", "15.11."}));
    // The summary rows counted past the losses' row.
    ExpectTexts(doc, {{"Suma", "1200,0"},
                      {"PracSuma", "1000,0"},
                      {"VikSuma", "200,0"},
                      {"CtvrtMax", "4000,0"},
                      {"DatCelkMax", "15.11.2023"}});
    KeepPage(doc, "rocni-sestava.png");
}

TEST_F(Report, CancellingThePrinterSetUpShowsNoPreviewAndTheProgressBoxIsGone) {
    WriteDay();
    TDenniTabulkaForm& form = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    InfoForm = new TInfoForm(&mainForm_);
    printing_.Cancel();
    form.Btn_Tisk->click();
    EXPECT_EQ(printing_.Log(), (Names{"PrinterSetup -> cancel"}));
    EXPECT_EQ(InfoForm->Label1->text().toStdString(), "Připravuje se tisková sestava...");
    EXPECT_FALSE(InfoForm->isVisible());
    delete InfoForm;
    InfoForm = nullptr;
}

TEST_F(Report, ThePrintedPdfHoldsTheTitlesAndValues) {
    WriteDay();
    TDenniTabulkaForm& day = DayWindow();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    printing_.PrintToPdf(dir_ / "den.pdf");
    day.Btn_Tisk->click();
    EXPECT_EQ(printing_.Log(), (Names{"PrinterSetup -> " + dir_ / "den.pdf", "Preview 1 pages -> " + dir_ / "den.pdf"}));
    std::filesystem::create_directories(ZEKO_ARTEFACT_DIR);
    EXPECT_TRUE(PdfPagePicture(dir_ / "den.pdf", std::string(ZEKO_ARTEFACT_DIR) + "/denni-sestava-pdf.png"));
    const std::string dayText = PdfText(dir_ / "den.pdf");
    for (const char* text : {"Denní výpis - úterý 05.03.2024", "Činný - Činný", "Čtvrthodina:", "10 - 11", "157,3",
                             "Čtvrthodinové maximum:", "23:55", "06:00-10:00", "Verze softwaru PC:", "0.90beta14"})
        EXPECT_NE(dayText.find(text), std::string::npos) << text << "\n" << dayText;

    WriteApril();
    TMesicniTabulkaForm& month = MonthWindow();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    printing_.PrintToPdf(dir_ / "mesic.pdf");
    month.Btn_Tisk->click();
    const std::string monthText = PdfText(dir_ / "mesic.pdf");
    for (const char* text : {"Měsíční výpis - 01.04.2024", "02.04. út", "Po÷Pá", "So+Ne", "45,0", "Den začíná:"})
        EXPECT_NE(monthText.find(text), std::string::npos) << text << "\n" << monthText;
    EXPECT_EQ(notifier_.Count(), 0u);
}

TEST_F(Report, APdfFileThatCannotBeWrittenIsToldOnceWithItsCause) {
    TDenniTabulkaForm& day = TuesdayShown();
    SmallDisk disk(32);
    struct Case {
        std::string pdf;
        std::string cause;
    };
    std::vector<Case> cases = {{dir_ / "chybi/den.pdf", "Soubor nebo složka neexistuje"}};
    const std::string earlier = "%PDF-1.4 a report printed before";
    if (disk.Mounted()) {
        disk.Dir().Write("den.pdf", earlier);
        disk.Fill();
        cases.push_back({disk / "den.pdf", "Na disku není volné místo"});
    }
    for (const Case& c : cases) {
        notifier_.Clear();
        printing_.PrintToPdf(c.pdf);
        day.Btn_Tisk->click();
        EXPECT_EQ(printing_.Log().back(), "Preview 1 pages -> " + c.pdf + " failed");
        ASSERT_EQ(notifier_.Count(), 1u) << c.pdf;
        EXPECT_EQ(notifier_.Messages()[0].Text,
                  "Zvolená tiskárna není platná\n" + c.pdf + ": " + c.cause);
        EXPECT_EQ(notifier_.Messages()[0].Type, TMsgDlgType::mtError);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "chybi/den.pdf"));
    if (disk.Mounted()) {
        EXPECT_EQ(FileBytes(disk / "den.pdf"), earlier);  // the earlier file as it was, nothing half written
        EXPECT_EQ(disk.Dir().Names(), (std::vector<std::string>{"den.pdf", "filler"}));
    }
}

} // namespace
} // namespace zeko::test
