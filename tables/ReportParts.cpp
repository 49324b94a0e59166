#include "tables/ReportParts.h"

#include <stdexcept>

#include "app/DayResult.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/Schedules.h"

namespace zeko {

TReportFont ReportFont(int size, bool bold) {
    TReportFont font;
    font.Size = size;
    font.Bold = bold;
    return font;
}

void AddPrintStamp(TQuickRep& report, const std::string& printedLabel, const std::string& versionLabel) {
    constexpr int top = 18;
    const int left = report.LeftMargin;
    TQRBand& page = report.OnPage;
    page.AddLabel(printedLabel, left, top, 60, "Vytištěno:", ReportFont(8));
    page.AddSysData("QRSysData1", qrsDate, left + 60, top, 70, ReportFont(8));
    page.AddSysData("QRSysData2", qrsTime, left + 130, top, 60, ReportFont(8));
    const int right = report.PageWidth - report.RightMargin;
    page.AddLabel(versionLabel, right - 200, top, 110, "Verze softwaru PC:", ReportFont(8));
    page.AddLabel("LVerze", right - 90, top, 90, "", ReportFont(8));
}

TQRBand& AddTitleBand(TQuickRep& report) {
    TQRBand& title = report.AddBand("TitleBand1", rbTitle, 44);
    const int width = report.BandWidth();
    title.AddLabel("Nadpis", 0, 0, width, "", ReportFont(12, true), taCenter);
    title.AddLabel("TypMereni", 0, 22, width, "", ReportFont(10, true), taCenter);
    title.AddLabel("QRLabel3", 0, 24, 75, "Velkoodběr č:", ReportFont(8));
    title.AddLabel("Qrl_COM", 75, 24, 100, "", ReportFont(8));
    title.AddLabel("QRLabel4", width - 200, 24, 40, "Místo:", ReportFont(8));
    title.AddLabel("Qrl_Nazev", width - 160, 24, 160, "", ReportFont(8));
    return title;
}

void AddLabelRow(TQRBand& band, const std::vector<std::string>& names, const std::vector<int>& lefts, int top,
                 int width, const TReportFont& font, const std::vector<std::string>& captions) {
    for (size_t i = 0; i < names.size(); ++i)
        band.AddLabel(names[i], lefts.at(i), top, width, i < captions.size() ? captions[i] : "", font, taCenter);
}

std::vector<std::string> Numbered(const std::string& prefix, int count, const std::string& suffix) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(prefix + std::to_string(i) + suffix);
    return names;
}

TQRLabel& LabelOf(TQuickRep& report, const std::string& name) {
    TQRLabel* label = report.FindLabel(name);
    if (!label)
        throw std::logic_error("report " + report.Name + " has no label " + name);
    return *label;
}

void SetCaption(TQuickRep& report, const std::string& name, const std::string& caption) {
    LabelOf(report, name).Caption = caption;
}

void SetCaptions(TQuickRep& report, const std::vector<std::pair<std::string, std::string>>& captions) {
    for (const auto& [name, caption] : captions)
        SetCaption(report, name, caption);
}

void SetScheduleNames(TQuickRep& report, const std::array<std::string, 4>& shifts,
                      const std::array<std::string, 4>& tariffs) {
    for (int k = 1; k <= ScheduleCount; ++k) {
        SetCaption(report, "Smena" + std::to_string(k) + "Label", shifts[static_cast<size_t>(k)]);
        SetCaption(report, "Tarif" + std::to_string(k) + "Label", tariffs[static_cast<size_t>(k)]);
    }
}

void SwitchOff(TQuickRep& report, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (TQRBand* band = report.FindBand(name))
            band->Enabled = false;
        else if (TQRPrintable* item = report.Find(name))
            item->Enabled = false;
        else
            throw std::logic_error("report " + report.Name + " has nothing named " + name);
    }
}

void MoveTo(TQuickRep& report, const std::string& name, int left) {
    TQRPrintable* item = report.Find(name);
    if (!item)
        throw std::logic_error("report " + report.Name + " has nothing named " + name);
    item->Left = left;
}

void SetTitleTexts(TQuickRep& report, const std::string& title, int channelId) {
    SetCaption(report, "Nadpis", title);
    SetCaption(report, "TypMereni", DeviceValueCaption(channelId));
    SetCaption(report, "Qrl_Nazev", "");
    SetCaption(report, "Qrl_COM", "");
    SetCaption(report, "LVerze", ProgramVersion);
}

void SetShiftTimes(TQuickRep& report, const TShiftTable& shifts) {
    for (int k = 1; k <= ScheduleCount; ++k)
        SetCaption(report, "CasS" + std::to_string(k), ShiftIntervalText(k, shifts));
}

void SetTariffTimes(TQuickRep& report, const std::string& prefix, int dayType, const TTariffTable& tariffs) {
    for (int t = 1; t <= ScheduleCount; ++t)
        for (int b = 1; b <= 3; ++b)
            SetCaption(report, prefix + std::to_string(t) + std::to_string(b),
                       TariffIntervalText(t, b, dayType, tariffs));
}

void PrintPreparedReport(TQRCompositeReport& report, const std::function<void()>& prepared) {
    report.Tag = 1;
    report.Prepare();
    if (prepared)
        prepared();
    report.Tag = report.PrinterSetup() ? 0 : 1;
    if (report.Tag == 0)
        report.Preview();
}

} // namespace zeko
