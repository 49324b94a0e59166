#include "tables/report.h"

#include "core/ProgramGlobals.h"
#include "dialogs/info.h"
#include "platform/FormatPatterns.h"
#include "tables/ReportParts.h"
#include "tables/TableTexts.h"
#include "tables/dennitabulka.h"

namespace zeko {

namespace {

constexpr int HourRows = 24;
// Left edges of the columns as the form lays them out for any channel other than
// the regulator's own measurement; the print command moves them for that one.
constexpr int QuarterLabelLefts[] = {117, 215, 312, 410};
constexpr int QuarterDetailLefts[] = {121, 218, 316, 414};
constexpr int QuarterLineLefts[] = {187, 284, 381, 478};
constexpr int TotalLabelLeft = 501, TotalDetailLeft = 495;
constexpr int AgreedLeft = 585, DifferenceLeft = 665, CosPhiLeft = 525;
constexpr int AgreedLine = 575, DifferenceLine = 655, CosPhiLine = 590;
constexpr int ValueWidth = 60;
// The shift and tariff columns of the lower part.
const std::vector<int> ShiftLefts = {100, 185, 270};
const std::vector<int> TariffLefts = {370, 455, 540};
constexpr int ScheduleWidth = 80;

const std::vector<std::string> TariffTimeNames(int band) {
    std::vector<std::string> names;
    for (int t = 1; t <= 3; ++t)
        names.push_back("CasT" + std::to_string(t) + std::to_string(band));
    return names;
}

// The quarter columns' lines: C1..C7 + `suffix` ("NShape" in the header, "Shape"
// in the detail), `height` high.
void AddColumnLines(TQRBand& band, const std::string& suffix, int height) {
    const int lefts[] = {QuarterLineLefts[0], QuarterLineLefts[1], QuarterLineLefts[2], QuarterLineLefts[3],
                         AgreedLine, DifferenceLine, CosPhiLine};
    for (int i = 0; i < 7; ++i)
        band.AddShape("C" + std::to_string(i + 1) + suffix, qrsVertLine, lefts[i], 0, 1, height);
}

// A band of the lower part: its row label and the shift and tariff cells.
TQRBand& AddScheduleRow(TQuickRep& report, TQRBand& parent, const std::string& name, const std::string& labelName,
                        const std::string& shiftSuffix, const std::string& tariffSuffix) {
    TQRBand& band = report.AddChildBand(name, parent, 23);
    band.AddLabel(labelName, 0, 4, 95, "", ReportFont(9, true));
    AddLabelRow(band, Numbered("Sm", 3, shiftSuffix), ShiftLefts, 4, ScheduleWidth, ReportFont(9));
    AddLabelRow(band, Numbered("T", 3, tariffSuffix), TariffLefts, 4, ScheduleWidth, ReportFont(9));
    return band;
}

} // namespace

TReportForm::TReportForm(TDenniTabulkaForm& window) : window_(window) {
    CreateBands();
    SetStaticCaptions();
    QuickRep1.BeforePrint = [this](bool& print) { QuickRep1BeforePrint(print); };
    QuickRep1.OnNeedData = [this](bool& more) { QuickRep1NeedData(more); };
    QRCompositeReport1.OnAddReports = [this](TQRCompositeReport& report) { QRCompositeReport1AddReports(report); };
}

void TReportForm::CreateBands() {
    TQuickRep& r = QuickRep1;
    AddPrintStamp(r, "QRLabel16", "QRLabel28");
    TQRBand& title = AddTitleBand(r);
    (void)title;

    TQRBand& header = r.AddBand("QRBand1", rbColumnHeader, 32);
    header.AddLabel("QRLabel15", 0, 1, 100, "", ReportFont(8, true), taCenter);
    header.AddLabel("QRLabel14", 0, 16, 100, "", ReportFont(8, true), taCenter);
    for (int q = 0; q < 4; ++q)
        header.AddLabel("C" + std::to_string(q + 1) + "NLabel", QuarterLabelLefts[q], 9, ValueWidth,
                        std::to_string(q + 1) + ".", ReportFont(9, true), taCenter);
    header.AddLabel("CelkemNLabel", TotalLabelLeft, 9, 50, "", ReportFont(9, true), taCenter);
    header.AddLabel("SjednanoNLabel", AgreedLeft, 9, ValueWidth, "Sjednáno", ReportFont(9, true), taCenter);
    header.AddLabel("RozdilNLabel", DifferenceLeft, 9, 50, "Rozdíl", ReportFont(9, true), taCenter);
    header.AddLabel("CosfiNLabel", CosPhiLeft, 9, 55, "Cos fí", ReportFont(9, true), taCenter);
    AddColumnLines(header, "NShape", 32);

    TQRBand& detail = r.AddBand("DetailBand1", rbDetail, 18);
    detail.AddLabel("QRL_Detail0", 0, 2, 100, "", ReportFont(9, true), taCenter);
    for (int q = 0; q < 4; ++q)
        detail.AddLabel("QRL_Detail" + std::to_string(q + 1), QuarterDetailLefts[q], 2, ValueWidth, "", ReportFont(9),
                        taCenter);
    detail.AddLabel("QRL_Detail5", TotalDetailLeft, 2, ValueWidth, "", ReportFont(9), taCenter);
    detail.AddLabel("QRL_Detail6", AgreedLeft, 2, ValueWidth, "", ReportFont(9), taCenter);
    detail.AddLabel("QRL_Detail7", DifferenceLeft, 2, 50, "", ReportFont(9), taCenter);
    detail.AddLabel("QRL_Detail8", CosPhiLeft, 2, 55, "", ReportFont(9), taCenter);
    AddColumnLines(detail, "Shape", 18);

    TQRBand& summary = r.AddBand("QRBand3", rbSummary, 25);
    summary.AddLabel("QRLabel2", 0, 5, 100, "", ReportFont(10, true), taCenter);
    summary.AddLabel("Jednotka1", 100, 7, 50, "", ReportFont(8));
    summary.AddLabel("Suma", TotalDetailLeft, 5, ValueWidth, "", ReportFont(10, true), taCenter);
    summary.AddLabel("PrumCosFiLabel", CosPhiLeft, 5, 55, "", ReportFont(10, true), taCenter);
    summary.AddShape("QRShape11", qrsVertLine, QuarterLineLefts[3], 0, 1, 25);

    TQRBand& maximum = r.AddChildBand("ChildBand1", summary, 27);
    maximum.AddLabel("QRLabel13", 0, 6, 170, "", ReportFont(9, true));
    maximum.AddLabel("Jednotka2", 170, 7, 40, "", ReportFont(8));
    maximum.AddLabel("CasMaxima", QuarterDetailLefts[3], 6, ValueWidth, "", ReportFont(9, true), taCenter);
    maximum.AddLabel("CtvrtMax", TotalDetailLeft, 6, ValueWidth, "", ReportFont(9, true), taCenter);
    maximum.AddShape("QRShape12", qrsVertLine, QuarterLineLefts[3], 0, 1, 27);

    // Counter readings and transformer figures, switched off in the form.
    TQRBand& counters = r.AddChildBand("ChildBand2", maximum, 20);
    const char* counterLabels[] = {"PocitadloLabel", "ZacatekLabel", "ZnakLabel", "KonecLabel", "JednotkaPocLabel"};
    const int counterLefts[] = {0, 130, 215, 240, 325};
    for (int i = 0; i < 5; ++i)
        counters.AddLabel(counterLabels[i], counterLefts[i], 3, 80, "", ReportFont(8)).Enabled = false;

    TQRBand& names = r.AddChildBand("ChildBand3", counters, 22);
    AddLabelRow(names, Numbered("Smena", 3, "Label"), ShiftLefts, 4, ScheduleWidth, ReportFont(9, true));
    AddLabelRow(names, Numbered("Tarif", 3, "Label"), TariffLefts, 4, ScheduleWidth, ReportFont(9, true));
    TQRBand& sums = AddScheduleRow(r, names, "ChildBand4", "QRLabel20", "Sum", "Sum");
    TQRBand& trf = r.AddChildBand("ChildBand5", sums, 23);
    trf.AddLabel("QRLabel25", 0, 4, 95, "Součty TRF:", ReportFont(9, true));
    TQRBand& maxima = AddScheduleRow(r, trf, "ChildBand6", "QRLabel21", "Max", "Max");
    TQRBand& times = AddScheduleRow(r, maxima, "ChildBand8", "QRLabel22", "Cas", "Cas");
    TQRBand& cosPhi = r.AddChildBand("ChildBand9", times, 23);
    cosPhi.AddLabel("QRLabel23", 0, 4, 95, "Cos fí:", ReportFont(9, true));
    AddLabelRow(cosPhi, Numbered("Qrl_T", 3, "CosFi"), TariffLefts, 4, ScheduleWidth, ReportFont(9));

    TQRBand& band1 = r.AddChildBand("ChildBand10", cosPhi, 14);
    AddLabelRow(band1, Numbered("CasS", 3), ShiftLefts, 1, ScheduleWidth, ReportFont(8));
    AddLabelRow(band1, TariffTimeNames(1), TariffLefts, 1, ScheduleWidth, ReportFont(8));
    TQRBand& band2 = r.AddChildBand("ChildBand7", band1, 14);
    AddLabelRow(band2, TariffTimeNames(2), TariffLefts, 1, ScheduleWidth, ReportFont(8));
    TQRBand& band3 = r.AddChildBand("ChildBand11", band2, 14);
    AddLabelRow(band3, TariffTimeNames(3), TariffLefts, 1, ScheduleWidth, ReportFont(8));

    TQRBand& footer = r.AddBand("PageFooterBand1", rbPageFooter, 22);
    footer.AddLabel("QRLabel26", 0, 4, 80, "", ReportFont(8));
    footer.AddLabel("LZacDne", 80, 4, 60, "", ReportFont(8));
    footer.Enabled = false;
    TQRBand& external = r.AddChildBand("ExternalBand1", footer, 18);
    external.AddLabel("QRLabel27", 0, 2, 150, "Cesta k ext. záznamům:", ReportFont(8));
    external.AddLabel("ExtCesta", 150, 2, 400, "", ReportFont(8));
    external.Enabled = false;

    TQRBand& readings = QuickRep2.AddBand("TitleBand2", rbTitle, 30);
    readings.AddLabel("QRLabel30", 0, 4, QuickRep2.BandWidth(), "Stavy počitadel", ReportFont(12, true), taCenter);
}

void TReportForm::SetStaticCaptions() {
    SetCaptions(QuickRep1, {{"QRLabel15", "Čtvrthodina:"},
                            {"QRLabel14", "Hodina"},
                            {"CelkemNLabel", "Celkem"},
                            {"QRLabel2", "Celkem:"},
                            {"QRLabel13", "Čtvrthodinové maximum:"},
                            {"QRLabel20", "Součty:"},
                            {"QRLabel21", "Maxima:"},
                            {"QRLabel22", "Časy:"},
                            {"QRLabel16", "Vytištěno:"},
                            {"QRLabel26", "Den začíná:"},
                            {"QRLabel28", "Verze softwaru PC:"}});
    SetScheduleNames(QuickRep1, ShiftNames, TariffNames);
}

void TReportForm::QuickRep1BeforePrint(bool&) {
    TQuickRep& r = QuickRep1;
    TDenniTabulkaForm& w = window_;
    RowCounter = 1;
    SetTitleTexts(r, "Denní výpis - " + LongDayName(w.Day) + "  " + DateToStr(w.Day), w.Channel.Id);
    SwitchOff(r, {"ExternalBand1"});
    SetCaption(r, "Jednotka1", w.EnergyUnitText);
    SetCaption(r, "Jednotka2", w.PowerUnitText);
    SetCaption(r, "JednotkaPocLabel", w.EnergyUnitText);

    const bool own = w.Channel.Id == RegulatorMeasurementId;
    const THyperGrid& s = *w.Tabulka1;
    for (int k = 1; k <= 3; ++k) {
        const std::string n = std::to_string(k);
        SetCaption(r, "Sm" + n + "Sum", s.Cells(k, w.SumRow));
        SetCaption(r, "T" + n + "Sum", s.Cells(k + 3, w.SumRow));
        SetCaption(r, "Sm" + n + "Max", s.Cells(k, w.MaxRow));
        SetCaption(r, "T" + n + "Max", s.Cells(k + 3, w.MaxRow));
        SetCaption(r, "Sm" + n + "Cas", s.Cells(k, w.TimeRow));
        SetCaption(r, "T" + n + "Cas", s.Cells(k + 3, w.TimeRow));
        if (own)
            SetCaption(r, "Qrl_T" + n + "CosFi", s.Cells(k + 3, 0));
    }
    SetCaption(r, "Suma", w.GetCellByColumn(TDenniTabulkaForm::HourTotalColumn, TDenniTabulkaForm::TotalRow));
    SetCaption(r, "CtvrtMax", w.GetCellByColumn(TDenniTabulkaForm::HourTotalColumn, TDenniTabulkaForm::MinMaxRow));
    SetCaption(r, "CasMaxima", w.GetCellByColumn(4, TDenniTabulkaForm::MinMaxRow));
    SetCaption(r, "PrumCosFiLabel", w.GetCellByColumn(TDenniTabulkaForm::CosPhiColumn, TDenniTabulkaForm::TotalRow));
    SetShiftTimes(r, w.Shifts);
    SetTariffTimes(r, "CasT", w.DayType, w.Tariffs);
    SwitchOff(r, {"PocitadloLabel", "ZacatekLabel", "ZnakLabel", "KonecLabel", "JednotkaPocLabel", "ChildBand5"});
    PlaceColumns(own);
}

void TReportForm::PlaceColumns(bool own) {
    TQuickRep& r = QuickRep1;
    if (own) {
        SwitchOff(r, {"C5NShape", "C5Shape", "C6NShape", "C6Shape", "SjednanoNLabel", "RozdilNLabel", "QRL_Detail6",
                      "QRL_Detail7"});
        const int lines[] = {176, 262, 348, 434};
        const int labels[] = {112, 198, 284, 370};
        const int details[] = {117, 203, 289, 375};
        for (int q = 0; q < 4; ++q) {
            const std::string c = "C" + std::to_string(q + 1);
            MoveTo(r, c + "NShape", lines[q]);
            MoveTo(r, c + "Shape", lines[q]);
            MoveTo(r, c + "NLabel", labels[q]);
            MoveTo(r, "QRL_Detail" + std::to_string(q + 1), details[q]);
        }
        MoveTo(r, "CelkemNLabel", 456);
        MoveTo(r, "QRL_Detail5", 450);
        MoveTo(r, "QRShape11", 434);
        MoveTo(r, "QRShape12", 434);
        MoveTo(r, "Suma", 450);
        MoveTo(r, "CtvrtMax", 450);
        MoveTo(r, "CasMaxima", 361);
        return;
    }
    SwitchOff(r, {"QRL_Detail8", "CosfiNLabel", "PrumCosFiLabel", "ChildBand9", "C7NShape", "C7Shape"});
    r.FindBand("ChildBand8")->FrameBottom = true;
    for (int q = 0; q < 4; ++q) {
        const std::string c = "C" + std::to_string(q + 1);
        MoveTo(r, c + "NLabel", QuarterLabelLefts[q]);
        MoveTo(r, "QRL_Detail" + std::to_string(q + 1), QuarterDetailLefts[q]);
        MoveTo(r, c + "NShape", QuarterLineLefts[q]);
        MoveTo(r, c + "Shape", QuarterLineLefts[q]);
    }
    MoveTo(r, "CelkemNLabel", TotalLabelLeft);
    MoveTo(r, "QRL_Detail5", TotalDetailLeft);
}

void TReportForm::QuickRep1NeedData(bool& moreData) {
    moreData = RowCounter <= HourRows;
    if (!moreData)
        return;
    TQuickRep& r = QuickRep1;
    TDenniTabulkaForm& w = window_;
    for (int g = 0; g <= 5; ++g)
        SetCaption(r, "QRL_Detail" + std::to_string(g), w.Tabulka->Cells(g, RowCounter));
    SetCaption(r, "QRL_Detail6", w.GetCellByColumn(7, RowCounter));
    SetCaption(r, "QRL_Detail7", w.GetCellByColumn(9, RowCounter));
    SetCaption(r, "QRL_Detail8", w.GetCellByColumn(TDenniTabulkaForm::CosPhiColumn, RowCounter));
    LabelOf(r, "QRL_Detail5").Font.Bold = w.MultiRecordQuarters[static_cast<size_t>(RowCounter - 1)] > 0;
    ++RowCounter;
}

void TReportForm::QRCompositeReport1AddReports(TQRCompositeReport& report) {
    report.Add(QuickRep1);
    if (IncludeSecondReport)
        report.Add(QuickRep2);
}

void PrintDayReport(TDenniTabulkaForm& window) {
    if (InfoForm) {
        InfoForm->Start("Připravuje se tisková sestava...");
    }
    TReportForm report(window);
    report.IncludeSecondReport = false;
    PrintPreparedReport(report.QRCompositeReport1, [] {
        if (InfoForm)
            InfoForm->Finish();
    });
    if (InfoForm && InfoForm->isVisible())
        InfoForm->Finish();
}

} // namespace zeko
