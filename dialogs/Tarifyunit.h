#pragma once
// TTarifyForm: the modal dialog "Tarify" in which the user edits the tariff
// schedule history (history records of "Tarify.his", each a tariff table valid
// from a date and time). A table gives each of three tariffs up to four time bands,
// separately for working days and for the weekend (and holidays, when the holiday
// switch is on); the grid shows the day type chosen in DnyRadio. The dialog also
// edits the tariff names and abbreviations (through input boxes), the holiday
// switch, and opens the holiday dialog.
//
// The main window gives it its caption, fills TariffNames, TariffAbbrevs and
// Chk_Svatky, calls RefreshGrid, shows the dialog and, on OK only, stores the
// shown bands (StoreShownRecord), saves History and writes the names and the
// switch to "Zeko.ini". The dialog itself writes no file.
#include "dialogs/ScheduleEditor.h"

#include <array>
#include <string>

class QCheckBox;

namespace zeko {

class TRadioGroup;
class TStringGrid;

class TTarifyForm : public TScheduleEditorForm {
    Q_OBJECT
public:
    explicit TTarifyForm(QWidget* parent = nullptr);

    TRadioGroup* DnyRadio = nullptr;  // "Pondělí-Pátek", "Sobota+Neděle"
    TStringGrid* TabTarify = nullptr;
    QCheckBox* Chk_Svatky = nullptr;
    QPushButton* Btn_Svatky = nullptr;
    QPushButton* Button1 = nullptr;  // "Nastavit poč.": hidden, does nothing

    // Names (at most 20 characters) and abbreviations (at most 2) of tariffs 1..3.
    std::array<std::string, 4> TariffNames;
    std::array<std::string, 4> TariffAbbrevs;
    // The table being edited; both day types are stored together.
    TTariffTable Bands;

    // Record N := valid from the two edits, with the bands shown.
    void StoreRecord(int N) override;
    void LoadRecord() override;
    void RefreshGrid() override;
    // The current cell's band is not in use.
    void MarkBandUnused() override;

    // Double click or Enter in the grid: the names of column 0 through two input
    // boxes; a band cell opens the band editor.
    void EditBandCell() override;
    void Btn_SvatkyClick();

    static constexpr int ClientWidth = 358;
    static constexpr int ClientHeight = 298;

protected:
    THistoryRecord NewRecord() const override;
    bool OnBandCell() const override;
    std::string CasEditExit() override;

private:
    int DayType() const;
    void MarkBandUnused(int col, int row, int dayType);
    void CloseBandEditor();

    // The band cell and day type the band editor was opened for.
    int editedCol_ = 1, editedRow_ = 1, editedDayType_ = 0;
};

} // namespace zeko
