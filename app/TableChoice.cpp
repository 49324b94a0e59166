#include "app/TableChoice.h"

#include "controls/DataComboBox.h"
#include "core/PripojenaZarizeniUnit.h"
#include "dialogs/TypUnit.h"
#include "graph/MujKalendar.h"
#include "graph/kalendar.h"
#include "platform/qt/QtText.h"

#include <QWidget>

namespace zeko {

void FillMeasurementCombo(TDataComboBox& combo) {
    combo.ClearAll();
    if (Devices != nullptr)
        for (int i = 0; i < Devices->Count(); ++i) {
            TVstupyInfo channel;
            Devices->GetItem(i, channel);
            combo.addItem(U(channel.DeviceName + " - " + channel.ValueName));
            combo.AddValue(i, channel.Id);
        }
    combo.setCurrentIndex(combo.count() > 0 ? 0 : -1);
}

namespace {

// The date dialog prepared for the table, shown, and set back for the next caller.
bool ChooseDate(TTableKind kind, TKalendarForm& dialog) {
    TMujKalendar& calendar = *dialog.Kalendar;
    if (kind == TTableKind::Month) {
        dialog.ShowSpinEdit(true);
        dialog.SpinLimit = MonthTableSpinLimit;
    } else if (kind == TTableKind::Year) {
        dialog.MonthsMode = 1;
        dialog.ShowSpinEdit(true);
        dialog.SpinLimit = YearTableSpinLimit;
        // A year table starts with a whole month.
        calendar.SetDay(1);
        calendar.setEnabled(false);
    }
    const bool chosen = dialog.ShowModal() == ModalResults::Ok;
    calendar.setEnabled(true);
    return chosen;
}

} // namespace

std::optional<TTableChoice> AskTableChoice(TTableKind kind, uint16_t& measurementIndex, QWidget* mainForm) {
    if (TypForm == nullptr || KalendarForm == nullptr)
        return std::nullopt;
    TDataComboBox& combo = *TypForm->MereniCombo;
    FillMeasurementCombo(combo);
    if (measurementIndex < combo.count())
        combo.setCurrentIndex(measurementIndex);
    if (TypForm->ShowModal() != ModalResults::Ok || combo.currentIndex() < 0)
        return std::nullopt;
    measurementIndex = static_cast<uint16_t>(combo.currentIndex());
    TTableChoice choice;
    choice.Id = static_cast<uint16_t>(combo.GetValueInt(combo.currentIndex()));
    KalendarForm->InputList = {combo.GetValue(combo.currentIndex())};
    const bool chosen = ChooseDate(kind, *KalendarForm);
    if (mainForm != nullptr)
        mainForm->repaint();
    if (!chosen)
        return std::nullopt;
    const TMujKalendar& calendar = *KalendarForm->Kalendar;
    choice.Year = calendar.Year();
    choice.Month = calendar.Month();
    choice.Day = calendar.Day();
    if (kind != TTableKind::Day)
        choice.Count = KalendarForm->SpinCount();
    return choice;
}

} // namespace zeko
