#pragma once
// What the printed reports of the day, month and year tables share: their fonts,
// the print date and program version on the page, the title band, rows of labels
// named by column, the shift and tariff time bands, finding and changing labels by
// name, and the print command itself (prepare, printer set-up, preview).
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/HistoryFormat.h"
#include "platform/report/QuickRep.h"

namespace zeko {

TReportFont ReportFont(int size, bool bold = false);

// "Vytištěno:" with the print date and time, and `versionLabel` ("Verze softwaru
// PC:") with LVerze, in the page's top margin.
void AddPrintStamp(TQuickRep& report, const std::string& printedLabel, const std::string& versionLabel);
// TitleBand1: Nadpis, TypMereni, "Velkoodběr č:" with Qrl_COM and "Místo:" with
// Qrl_Nazev.
TQRBand& AddTitleBand(TQuickRep& report);
// One label per column: named `names[i]`, at `lefts[i]`, `width` wide, centred.
void AddLabelRow(TQRBand& band, const std::vector<std::string>& names, const std::vector<int>& lefts, int top,
                 int width, const TReportFont& font, const std::vector<std::string>& captions = {});
// Names made of a prefix, the numbers 1..count and a suffix: "Sm1Sum", "Sm2Sum"...
std::vector<std::string> Numbered(const std::string& prefix, int count, const std::string& suffix = "");

// A component by name; std::logic_error when the report has none, which is a
// fault of the form's design.
TQRLabel& LabelOf(TQuickRep& report, const std::string& name);
void SetCaption(TQuickRep& report, const std::string& name, const std::string& caption);
// Captions by name, in order.
void SetCaptions(TQuickRep& report, const std::vector<std::pair<std::string, std::string>>& captions);
// Smena1Label..Smena3Label and Tarif1Label..Tarif3Label (texts from index 1).
void SetScheduleNames(TQuickRep& report, const std::array<std::string, 4>& shifts,
                      const std::array<std::string, 4>& tariffs);
void SwitchOff(TQuickRep& report, const std::vector<std::string>& names);
void MoveTo(TQuickRep& report, const std::string& name, int left);

// Nadpis, TypMereni of the channel, the emptied customer fields and LVerze.
void SetTitleTexts(TQuickRep& report, const std::string& title, int channelId);
// CasS1..CasS3 from the shift table; `prefix` + t + b from the tariff zones of
// `dayType` (tariffs t and bands b 1..3); "-" for what is not in use.
void SetShiftTimes(TQuickRep& report, const TShiftTable& shifts);
void SetTariffTimes(TQuickRep& report, const std::string& prefix, int dayType, const TTariffTable& tariffs);

// The print command: the report prepared (then `prepared` runs), the printer
// set-up asked for (confirming it sets the tag to 0, cancelling to 1) and, when
// confirmed, the preview, from which the user prints.
void PrintPreparedReport(TQRCompositeReport& report, const std::function<void()>& prepared = {});

} // namespace zeko
