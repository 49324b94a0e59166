#pragma once
// What the main window asks the user when a table window posts its request with
// date 0 ("Výběr data"): the measurement in the measurement choice (TypForm), then
// the date in the date dialog (KalendarForm), which marks the days with records of
// that measurement; for the month table also the count of days (2..35) and for
// the year table the count of months (2..15) from the chosen month on.
#include "platform/DateTime.h"

#include <cstdint>
#include <optional>

class QWidget;

namespace zeko {

class TDataComboBox;

// The counts the date dialog offers for the month and the year table.
constexpr int MonthTableSpinLimit = 35;
constexpr int YearTableSpinLimit = 15;

enum class TTableKind { Day, Month, Year };

struct TTableChoice {
    int Year = 0, Month = 0, Day = 0;
    uint16_t Id = 0;  // the chosen channel
    // Days (month table) or months (year table) from the chosen date; 0 for a day.
    int Count = 0;

    TDateTime Date() const { return EncodeDate(Year, Month, Day); }
};

// One item per channel of Devices in list order, "<device name> - <value name>",
// with the channel id as its value; the first item selected.
void FillMeasurementCombo(TDataComboBox& combo);

// The measurement choice with the item `measurementIndex` selected, then the date
// dialog; `measurementIndex` takes the chosen item even when the date dialog is
// cancelled. Nothing when either is cancelled or the dialogs do not exist.
// `mainForm` is repainted once the date dialog has closed.
std::optional<TTableChoice> AskTableChoice(TTableKind kind, uint16_t& measurementIndex, QWidget* mainForm);

} // namespace zeko
