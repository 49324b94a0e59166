#include "tables/report2.h"

#include "core/ProgramGlobals.h"
#include "core/TextHelpers.h"
#include "platform/FormatPatterns.h"
#include "tables/MesicniTabulka.h"
#include "tables/ReportParts.h"

namespace zeko {

namespace {

// Left edges of the columns: label, three shifts, three tariffs, total, maximum,
// its time and (in the year report) its date.
constexpr int LabelWidth = 70;
const std::vector<int> ShiftLefts = {72, 132, 192};
const std::vector<int> TariffLefts = {252, 312, 372};
constexpr int ScheduleWidth = 58;
constexpr int TotalLeft = 432, TotalWidth = 70;
constexpr int MaximumLeft = 506, TimeLeft = 570, DateLeft = 619;
constexpr int UnitLeft = 506;
// The time bands ("06:00-14:00") fit their columns only in a smaller font.
constexpr int TimeFontSize = 7;

// A summary line: its label, the shift and tariff cells named prefix + k + suffix,
// the total and its unit.
TQRBand& AddSummaryLine(TQuickRep& report, TQRBand* parent, const std::string& band, const std::string& label,
                        const std::string& suffix, const std::string& total, const std::string& unit) {
    TQRBand& b = parent ? report.AddChildBand(band, *parent, 22) : report.AddBand(band, rbSummary, 22);
    b.AddLabel(label, 0, 4, LabelWidth, "", ReportFont(9, true), taCenter);
    AddLabelRow(b, Numbered("S", 3, suffix), ShiftLefts, 4, ScheduleWidth, ReportFont(9));
    AddLabelRow(b, Numbered("T", 3, suffix), TariffLefts, 4, ScheduleWidth, ReportFont(9));
    b.AddLabel(total, TotalLeft, 4, TotalWidth, "", ReportFont(9, true), taCenter);
    b.AddLabel(unit, UnitLeft, 5, 50, "", ReportFont(8));
    return b;
}

// A line of time bands: `prefix` + t + `band` for the tariffs t = 1..3.
TQRBand& AddTimeLine(TQuickRep& report, TQRBand& parent, const std::string& name, const std::string& prefix,
                     int band) {
    TQRBand& b = report.AddChildBand(name, parent, 14);
    std::vector<std::string> names;
    for (int t = 1; t <= 3; ++t)
        names.push_back(prefix + std::to_string(t) + std::to_string(band));
    AddLabelRow(b, names, TariffLefts, 1, ScheduleWidth, ReportFont(TimeFontSize));
    return b;
}

} // namespace

TReportForm2::TReportForm2(TPeriodTableForm& window, int rows, TDateTime firstDay)
    : window_(window), rows_(rows), firstDay_(firstDay) {
    CreateBands();
    SetStaticCaptions();
    QuickRep1.BeforePrint = [this](bool& print) { QuickRep1BeforePrint(print); };
    QuickRep1.OnNeedData = [this](bool& more) { QuickRep1NeedData(more); };
    QRCompositeReport1.OnAddReports = [this](TQRCompositeReport& report) { QRCompositeReport1AddReports(report); };
}

void TReportForm2::CreateBands() {
    TQuickRep& r = QuickRep1;
    AddPrintStamp(r, "QRLabel16", "QRLabel24");
    TQRBand& title = AddTitleBand(r);

    TQRBand& header = r.AddChildBand("ChildBand9", title, 28);
    header.AddLabel("QRLabel15", 0, 0, LabelWidth, "", ReportFont(8, true), taCenter);
    header.AddLabel("QRLabel14", 0, 13, LabelWidth, "", ReportFont(8, true), taCenter);
    AddLabelRow(header, Numbered("Smena", 3, "Label"), ShiftLefts, 0, ScheduleWidth, ReportFont(8, true));
    AddLabelRow(header, Numbered("Jednotka", 3), ShiftLefts, 13, ScheduleWidth, ReportFont(8));
    AddLabelRow(header, Numbered("Tarif", 3, "Label"), TariffLefts, 0, ScheduleWidth, ReportFont(8, true));
    AddLabelRow(header, {"Jednotka7", "Jednotka8", "Jednotka9"}, TariffLefts, 13, ScheduleWidth, ReportFont(8));
    header.AddLabel("QRLabel6", TotalLeft, 0, TotalWidth, "", ReportFont(8, true), taCenter);
    header.AddLabel("Jednotka4", TotalLeft, 13, TotalWidth, "", ReportFont(8), taCenter);
    header.AddLabel("QRLabel7", MaximumLeft, 0, 110, "", ReportFont(8, true), taCenter);

    TQRBand& detail = r.AddBand("DetailBand1", rbDetail, 16);
    detail.AddLabel("QRL_Detail0", 0, 1, LabelWidth, "", ReportFont(8, true), taCenter);
    AddLabelRow(detail, Numbered("QRL_Detail", 3), ShiftLefts, 1, ScheduleWidth, ReportFont(8));
    AddLabelRow(detail, {"QRL_Detail4", "QRL_Detail5", "QRL_Detail6"}, TariffLefts, 1, ScheduleWidth, ReportFont(8));
    detail.AddLabel("QRL_Detail7", TotalLeft, 1, TotalWidth, "", ReportFont(8, true), taCenter);
    detail.AddLabel("QRL_Detail8", MaximumLeft, 1, 60, "", ReportFont(8), taCenter);
    detail.AddLabel("QRL_Detail9", TimeLeft, 1, 45, "", ReportFont(8), taCenter);
    detail.AddLabel("QRL_Detail10", DateLeft, 1, 50, "", ReportFont(8), taCenter).Enabled = false;

    TQRBand& total = AddSummaryLine(r, nullptr, "QRBand3", "QRLabel2", "Suma", "Suma", "Jednotka10");
    TQRBand& trf = AddSummaryLine(r, &total, "ChildBand1", "QRLabel3TRF", "TRF", "SumaTRF", "Jednotka17");
    TQRBand& workdays = AddSummaryLine(r, &trf, "ChildBand2", "QRLabel17", "Tyden", "PracSuma", "Jednotka5");
    TQRBand& weekend = AddSummaryLine(r, &workdays, "ChildBand3", "QRLabel18", "Vikend", "VikSuma", "Jednotka6");

    TQRBand& maximum = r.AddChildBand("ChildBand5", weekend, 26);
    maximum.AddLabel("QRLabel13", 0, 6, 170, "", ReportFont(9, true));
    maximum.AddLabel("DatCelkMax", TariffLefts[0], 6, 80, "", ReportFont(9), taCenter);
    maximum.AddLabel("CasCtvrtMax", TariffLefts[2], 6, ScheduleWidth, "", ReportFont(9), taCenter);
    maximum.AddLabel("CtvrtMax", TotalLeft, 6, TotalWidth, "", ReportFont(9, true), taCenter);
    maximum.AddLabel("Jednotka11", UnitLeft, 7, 50, "", ReportFont(8));

    TQRBand& band1 = AddTimeLine(r, maximum, "ChildBand6", "CasT", 1);
    AddLabelRow(band1, Numbered("CasS", 3), ShiftLefts, 1, ScheduleWidth, ReportFont(TimeFontSize));
    TQRBand& band2 = AddTimeLine(r, band1, "ChildBand7", "CasT", 2);
    TQRBand& band3 = AddTimeLine(r, band2, "ChildBand10", "CasT", 3);
    TQRBand& weekend1 = AddTimeLine(r, band3, "ChildBand11", "CasVT", 1);
    weekend1.AddLabel("QRLabel1", 0, 1, 180, "", ReportFont(8, true));
    TQRBand& weekend2 = AddTimeLine(r, weekend1, "ChildBand12", "CasVT", 2);
    AddTimeLine(r, weekend2, "ChildBand4", "CasVT", 3);

    TQRBand& footer = r.AddBand("QRBand4", rbPageFooter, 20);
    footer.AddLabel("QRLabel19", 0, 4, 80, "", ReportFont(8));
    footer.AddLabel("LZacDne", 80, 4, 60, "00:00", ReportFont(8));
    TQRBand& external = r.AddChildBand("ExternalBand", footer, 20);
    external.AddLabel("QRLabel27", 0, 2, 150, "Cesta k ext. záznamům:", ReportFont(8));
    external.Enabled = false;

    TQRBand& readings = QuickRep2.AddBand("TitleBand2", rbTitle, 30);
    readings.AddLabel("QRLabel30", 0, 4, QuickRep2.BandWidth(), "Stavy počitadel", ReportFont(12, true), taCenter);
}

void TReportForm2::SetStaticCaptions() {
    SetCaptions(QuickRep1, {{"QRLabel15", "Odběr:"},
                            {"QRLabel14", "Den:"},
                            {"QRLabel7", "1/4h max."},
                            {"QRLabel6", "Celý den"},
                            {"QRLabel2", "Celkem"},
                            {"QRLabel3TRF", "Celk.TRF"},
                            {"QRLabel17", "Po÷Pá"},
                            {"QRLabel18", "So+Ne"},
                            {"QRLabel13", "Čtvrthodinové maximum:"},
                            {"QRLabel1", "Víkendové tarify:"},
                            {"QRLabel16", "Vytištěno:"},
                            {"QRLabel19", "Den začíná:"},
                            {"QRLabel24", "Verze softwaru PC:"}});
    SetScheduleNames(QuickRep1, ShiftAbbrevs, TariffAbbrevs);
}

std::string TReportForm2::Title() const { return "Měsíční výpis - " + DateToStr(firstDay_); }

void TReportForm2::QuickRep1BeforePrint(bool&) {
    TQuickRep& r = QuickRep1;
    TPeriodTableForm& w = window_;
    const THyperGrid& grid = *w.Tabulka;
    RowCounter = 1;
    SetTitleTexts(r, Title(), w.Channel.Id);
    SwitchOff(r, {"ExternalBand", "ChildBand1"});
    const int total = rows_ + w.TotalRowOffset, workdays = rows_ + w.WorkdayRowOffset;
    const int weekend = rows_ + w.WeekendRowOffset, maximum = rows_ + w.MaxRowOffset;
    SetCaption(r, "CtvrtMax", grid.Cells(7, maximum));
    SetCaption(r, "CasCtvrtMax", grid.Cells(6, maximum));
    SetCaption(r, "DatCelkMax", grid.Cells(5, maximum));
    SetCaption(r, "Suma", grid.Cells(7, total));
    SetCaption(r, "PracSuma", grid.Cells(7, workdays));
    SetCaption(r, "VikSuma", grid.Cells(7, weekend));
    const struct {
        const char* suffix;
        int row;
    } lines[] = {{"Suma", total}, {"Tyden", workdays}, {"Vikend", weekend}};
    for (int k = 1; k <= 3; ++k)
        for (const auto& line : lines) {
            SetCaption(r, "S" + std::to_string(k) + line.suffix, grid.Cells(k, line.row));
            SetCaption(r, "T" + std::to_string(k) + line.suffix, grid.Cells(k + 3, line.row));
        }
    for (int i = 1; i <= 10; ++i)
        SetCaption(r, "Jednotka" + std::to_string(i), w.EnergyUnitText);
    SetCaption(r, "Jednotka11", w.PowerUnitText);
    SetCaption(r, "Jednotka17", w.EnergyUnitText);
    SetCaption(r, "LZacDne", TwoDigits(w.DayStartHour) + ":00");
    SetShiftTimes(r, w.Shifts);
    SetTariffTimes(r, "CasT", 0, w.Tariffs);
    SetTariffTimes(r, "CasVT", 1, w.Tariffs);
}

void TReportForm2::QuickRep1NeedData(bool& moreData) {
    moreData = RowCounter <= rows_;
    if (!moreData)
        return;
    TQuickRep& r = QuickRep1;
    for (int g = 0; g <= 7; ++g)
        SetCaption(r, "QRL_Detail" + std::to_string(g), window_.Tabulka->Cells(g, RowCounter));
    SetCaption(r, "QRL_Detail8", window_.GetCellByColumn(TPeriodTableForm::MaximumColumn, RowCounter));
    SetCaption(r, "QRL_Detail9", window_.GetCellByColumn(TPeriodTableForm::MaximumTimeColumn, RowCounter));
    FillDetailExtras();
    ++RowCounter;
}

void TReportForm2::QRCompositeReport1AddReports(TQRCompositeReport& report) {
    report.Add(QuickRep1);
    if (IncludeSecondReport)
        report.Add(QuickRep2);
}

void PrintMonthReport(TMesicniTabulkaForm& window) {
    TReportForm2 report(window, window.PeriodDays, window.FirstDay);
    report.IncludeSecondReport = false;
    PrintPreparedReport(report.QRCompositeReport1);
}

} // namespace zeko
